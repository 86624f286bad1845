#include <QApplication>

#include "MainWindow.h"
#include "Screenshot.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  abrivo::MainWindow window;
  window.show();
  if (!abrivo::scheduleScreenshot(window, QApplication::arguments())) return 2;
  return QApplication::exec();
}
