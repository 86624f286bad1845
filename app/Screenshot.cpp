// Tested by tests/gui/program_test.cpp.
#include "Screenshot.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "MainWindow.h"

namespace abrivo {

bool scheduleScreenshot(MainWindow& window, const QStringList& arguments) {
  const QString option = QStringLiteral("--run-and-screenshot");
  const qsizetype at = arguments.indexOf(option);
  if (at < 0) return true;
  if (at + 1 >= arguments.size()) {
    std::fprintf(stderr, "usage: abrivo [--run-and-screenshot FILE]\n");
    return false;
  }
  const QString file = arguments.at(at + 1);
  QTimer::singleShot(0, &window, [&window, file] {
    window.findChild<QPushButton*>(QStringLiteral("摘要"))->click();
    const bool saved = window.grab().toImage().save(file, "PNG");
    if (!saved) std::fprintf(stderr, "abrivo: cannot write %s\n", qPrintable(file));
    QCoreApplication::exit(saved ? 0 : 1);
  });
  return true;
}

}  // namespace abrivo
