// The window on a screen smaller than itself: the offscreen screen of 800 x
// 600 pixels at a scale factor of 2 leaves 400 x 300.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include "MainWindow.h"
#include "Samples.h"

using abrivo::MainWindow;
using namespace Qt::StringLiterals;

class SmallScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void windowOpensInsideTheScreen();
  void controlsScrollIntoView();
};

void SmallScreenTest::windowOpensInsideTheScreen() {
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  QVERIFY2(available.width() < 717 && available.height() < 520, "the screen must be small");
  MainWindow w;
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QVERIFY2(available.contains(w.frameGeometry()),
           qPrintable(u"%1,%2 %3x%4"_s.arg(w.frameGeometry().x())
                          .arg(w.frameGeometry().y())
                          .arg(w.frameGeometry().width())
                          .arg(w.frameGeometry().height())));
  // The controls keep their places on the client area, which scrolls.
  QCOMPARE(w.client()->size(), QSize(717, 520));
  auto* area = qobject_cast<QScrollArea*>(w.centralWidget());
  QVERIFY(area);
  QVERIFY(area->horizontalScrollBar()->isVisible());
  QVERIFY(area->verticalScrollBar()->isVisible());
}

void SmallScreenTest::controlsScrollIntoView() {
  MainWindow w;
  w.show();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  // Tab to a button at the bottom: the area scrolls to show it, and it works.
  auto* sample3 = w.findChild<QPushButton*>(u"按钮3"_s);
  w.findChild<QPushButton*>(u"按钮2"_s)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), sample3);
  auto* area = qobject_cast<QScrollArea*>(w.centralWidget());
  const QRect shown(w.client()->mapFrom(area->viewport(), QPoint()), area->viewport()->size());
  QVERIFY(shown.contains(sample3->geometry()));
  QTest::keyClick(sample3, Qt::Key_Space);
  const std::string_view title = abrivo::samples::sample(3).title;
  QCOMPARE(w.findChild<QLineEdit*>(u"标题框"_s)->text(),
           QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
}

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  SmallScreenTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "small_screen_test.moc"
