// Qt's own translations: in a Chinese locale the standard context menu of a
// box and the buttons of a message box are Chinese; in another locale they
// are not.
#include <QMenu>
#include <QPlainTextEdit>
#include <QTranslator>
#include <QtTest>
#include <memory>

#include "MainWindow.h"
#include "QtTranslations.h"

using namespace Qt::StringLiterals;

namespace {

QStringList contextMenuEntries(const abrivo::MainWindow& window) {
  auto* box = window.findChild<QPlainTextEdit*>(u"内容框"_s);
  std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
  QStringList entries;
  for (const QAction* action : menu->actions())
    if (!action->isSeparator()) entries << action->text();
  return entries;
}

}  // namespace

class LocaleTest : public QObject {
  Q_OBJECT

 private slots:
  void chineseLocale_data();
  void chineseLocale();
  void otherLocale();
};

void LocaleTest::chineseLocale_data() {
  QTest::addColumn<QLocale>("locale");
  QTest::newRow("zh_CN") << QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China);
  QTest::newRow("zh_TW") << QLocale(QLocale::Chinese, QLocale::TraditionalHanScript,
                                    QLocale::Taiwan);
}

void LocaleTest::chineseLocale() {
  QFETCH(QLocale, locale);
  QTranslator* translator = abrivo::installQtTranslations(*qApp, locale);
  QVERIFY2(translator, "qt6-translations-l10n provides qtbase's Chinese catalogues");
  abrivo::MainWindow window;
  const QStringList entries = contextMenuEntries(window);
  QCoreApplication::removeTranslator(translator);
  delete translator;

  // "复制" in both scripts.
  QVERIFY2(entries.filter(u"复制"_s).size() + entries.filter(u"複製"_s).size() == 1,
           qPrintable(entries.join(u" | "_s)));
  QVERIFY2(entries.filter(u"Copy"_s).isEmpty(), qPrintable(entries.join(u" | "_s)));
}

void LocaleTest::otherLocale() {
  QTranslator* translator = abrivo::installQtTranslations(*qApp, QLocale(QLocale::German));
  QVERIFY(translator);
  abrivo::MainWindow window;
  const QStringList entries = contextMenuEntries(window);
  QCoreApplication::removeTranslator(translator);
  delete translator;
  QVERIFY2(entries.filter(u"Kopieren"_s).size() == 1, qPrintable(entries.join(u" | "_s)));

  // Without a catalogue, nothing is installed and Qt's own English stays.
  QCOMPARE(abrivo::installQtTranslations(*qApp, QLocale(QLocale::Swahili, QLocale::Kenya)),
           nullptr);
  QVERIFY(contextMenuEntries(abrivo::MainWindow()).filter(u"Copy"_s).size() == 1);
}

QTEST_MAIN(LocaleTest)
#include "locale_test.moc"
