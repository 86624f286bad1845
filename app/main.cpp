#include <QApplication>

#include "MainWindow.h"
#include "QtTranslations.h"
#include "Screenshot.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  abrivo::installQtTranslations(app);
  abrivo::MainWindow window;
  window.show();
  if (!abrivo::scheduleScreenshot(window, QApplication::arguments())) return 2;
  return QApplication::exec();
}
