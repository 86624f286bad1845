// Closes the window while a run waits for events. The program must end at
// once with exit code 0; exit code 3 means the run went on after the close,
// 4 that the run never reached its pause.
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>

#include "MainWindow.h"
#include "PausingCounter.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  abrivo::MainWindow window;
  abrivo::testing::PausingCounter counter(window.engine(), [&window](abrivo::Engine& engine) {
    QTimer::singleShot(0, &window, &QWidget::close);
    abrivo::testing::spinUntil(
        engine, [] { return false; }, 20000);
  });
  window.engine().setChineseTermCounter(&counter);
  window.show();
  QTimer::singleShot(0, &window, [&] {
    window.findChild<QPushButton*>(QStringLiteral("摘要"))->click();
    std::exit(counter.calls() == 0 ? 4 : 3);
  });
  return QApplication::exec();
}
