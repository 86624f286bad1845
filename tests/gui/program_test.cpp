// The built program as a child process: the screenshot option of
// tools/screenshot.sh, and closing the window in the middle of a run.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class ProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void screenshotShowsTheSummary();
  void closingDuringARunEndsTheProgram();

 private:
  static QProcessEnvironment offscreen() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
  }
};

void ProgramTest::screenshotShowsTheSummary() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const QString file = dir.filePath(QStringLiteral("shot.png"));
  QProcess program;
  program.setProcessEnvironment(offscreen());
  program.start(QStringLiteral(ABRIVO_APP), {QStringLiteral("--run-and-screenshot"), file});
  QVERIFY(program.waitForFinished(120000));
  QCOMPARE(program.exitStatus(), QProcess::NormalExit);
  QCOMPARE(program.exitCode(), 0);

  const QImage shot(file);
  QCOMPARE(shot.size(), QSize(717, 520));
  // The summary stands in the output box in dark red.
  int darkRed = 0;
  for (int y = 312; y < 312 + 152; ++y) {
    for (int x = 8; x < 8 + 704; ++x) {
      const QColor c = shot.pixelColor(x, y);
      if (c.red() > 90 && c.green() < 60 && c.blue() < 60) ++darkRed;
    }
  }
  QVERIFY2(darkRed > 200, qPrintable(QString::number(darkRed)));
}

void ProgramTest::closingDuringARunEndsTheProgram() {
  QProcess program;
  program.setProcessEnvironment(offscreen());
  program.start(QStringLiteral(ABRIVO_CLOSE_DURING_RUN), QStringList());
  QVERIFY(program.waitForFinished(60000));
  QCOMPARE(program.exitStatus(), QProcess::NormalExit);
  QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(ProgramTest)
#include "program_test.moc"
