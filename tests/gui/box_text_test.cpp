// The boundary between the boxes' Unicode and the engine's GB18030 bytes.
#include <QPlainTextEdit>
#include <QtTest>

#include "BoxText.h"

using abrivo::boxText;
using abrivo::fromEngineText;
using abrivo::toEngineText;
using namespace Qt::StringLiterals;

class BoxTextTest : public QObject {
  Q_OBJECT

 private slots:
  void roundTripThroughABox_data();
  void roundTripThroughABox();
  void engineBytes_data();
  void engineBytes();
  void undecodableBytesShowAsReplacement_data();
  void undecodableBytesShowAsReplacement();
};

void BoxTextTest::roundTripThroughABox_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");

  QTest::newRow("Chinese and ASCII")
      << u"桐湾镇的长者食堂 opens, 100%."_s << u"桐湾镇的长者食堂 opens, 100%."_s;
  QTest::newRow("emoji") << u"老人家门口吃上热乎饭😀🍚"_s << u"老人家门口吃上热乎饭😀🍚"_s;
  QTest::newRow("rare ideographs outside GBK")
      << u"𠀀𪚥𬌗是罕用字"_s << u"𠀀𪚥𬌗是罕用字"_s;
  QTest::newRow("characters outside GBK in the BMP") << u"€ café ñ ₩ ไทย"_s << u"€ café ñ ₩ ไทย"_s;
  QTest::newRow("no-break space") << u"a\u00A0b"_s << u"a\u00A0b"_s;
  QTest::newRow("paragraphs and blank lines") << u"一\n\n二\n三"_s << u"一\n\n二\n三"_s;
  QTest::newRow("every kind of line break") << u"a\r\nb\rc\nd"_s << u"a\nb\nc\nd"_s;
  QTest::newRow("line separator of Shift+Enter") << u"a\u2028b"_s << u"a\nb"_s;
  QTest::newRow("NUL characters dropped") << u"a\0b\0"_s << u"ab"_s;
  QTest::newRow("empty") << QString() << QString();
}

void BoxTextTest::roundTripThroughABox() {
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  QPlainTextEdit box;
  box.setPlainText(typed);
  const std::string bytes = toEngineText(boxText(box));
  QCOMPARE(bytes.find('\0'), std::string::npos);
  box.setPlainText(fromEngineText(bytes));
  QCOMPARE(boxText(box), shown);
}

void BoxTextTest::engineBytes_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QByteArray>("bytes");

  QTest::newRow("GBK characters keep their two bytes") << u"的x"_s << QByteArray("\xB5\xC4x");
  QTest::newRow("line breaks become CR LF") << u"a\nb\r\nc"_s << QByteArray("a\r\nb\r\nc");
  QTest::newRow("NUL dropped") << u"a\0b"_s << QByteArray("ab");
  QTest::newRow("emoji as four GB18030 bytes") << u"😀"_s << QByteArray("\x94\x39\xFC\x36");
}

void BoxTextTest::engineBytes() {
  QFETCH(QString, text);
  QFETCH(QByteArray, bytes);
  const std::string engine = toEngineText(text);
  QCOMPARE(QByteArray(engine.data(), static_cast<qsizetype>(engine.size())), bytes);
}

void BoxTextTest::undecodableBytesShowAsReplacement_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("before");
  QTest::addColumn<QString>("after");

  QTest::newRow("lead byte at the end") << QByteArray("ab\x81") << u"ab"_s << QString();
  QTest::newRow("lead byte before a space") << QByteArray("ab\x81 cd") << u"ab"_s << u"cd"_s;
  QTest::newRow("0xFF") << QByteArray("\xFF\xFF\xB5\xC4") << QString() << u"的"_s;
  QTest::newRow("cut four-byte sequence") << QByteArray("x\x94\x39\xFC") << u"x"_s << QString();
}

void BoxTextTest::undecodableBytesShowAsReplacement() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, before);
  QFETCH(QString, after);
  const QString shown = fromEngineText(std::string_view(bytes.data(), bytes.size()));
  QVERIFY2(shown.contains(QChar::ReplacementCharacter), qPrintable(shown));
  QVERIFY2(shown.startsWith(before) && shown.endsWith(after), qPrintable(shown));
}

QTEST_MAIN(BoxTextTest)
#include "box_text_test.moc"
