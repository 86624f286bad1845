// Text files in and out of the window: which encoding a file is read in,
// which files are refused and why, and saving through a temporary file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"
#include "TextFile.h"

using abrivo::Charset;
using abrivo::decodeTextFile;
using abrivo::readTextFile;
using abrivo::SaveEncoding;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(abrivo::Charset)
Q_DECLARE_METATYPE(abrivo::SaveEncoding)

namespace {

QByteArray bytes(const char* text, qsizetype size) {
  return QByteArray(text, size);
}

using abrivo::testing::readFile;
using abrivo::testing::writeFile;

}  // namespace

class TextFileTest : public QObject {
  Q_OBJECT

 private slots:
  void decodes_data();
  void decodes();
  void refuses_data();
  void refuses();

  void sizeLimit();
  void unreadablePaths();
  void firstLine();

  void saveRoundTrip_data();
  void saveRoundTrip();
  void saveReplacesAndLeavesNoTemporaryFile();
  void failedSaveCreatesNothing_data();
  void failedSaveCreatesNothing();
};

void TextFileTest::decodes_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<Charset>("charset");
  QTest::addColumn<bool>("byteOrderMark");
  QTest::addColumn<QString>("text");

  QTest::newRow("empty") << QByteArray() << Charset::Utf8 << false << QString();
  QTest::newRow("ASCII") << QByteArray("Tide power.") << Charset::Utf8 << false << u"Tide power."_s;
  QTest::newRow("UTF-8") << QByteArray("\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x8C\x8A") << Charset::Utf8
                         << false << u"中文 🌊"_s;
  QTest::newRow("UTF-8, byte order mark")
      << QByteArray("\xEF\xBB\xBF\xE4\xB8\xAD") << Charset::Utf8 << true << u"中"_s;
  QTest::newRow("UTF-8, two marks: the second is text")
      << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << Charset::Utf8 << true << u"\uFEFFx"_s;
  QTest::newRow("UTF-16LE") << bytes("\xFF\xFE\x2D\x4E\x0A\x00\x3C\xD8\x0A\xDF", 10)
                            << Charset::Utf16Le << true << u"中\n🌊"_s;
  QTest::newRow("UTF-16BE") << bytes("\xFE\xFF\x4E\x2D\x00\x0A\xD8\x3C\xDF\x0A", 10)
                            << Charset::Utf16Be << true << u"中\n🌊"_s;
  QTest::newRow("GBK") << QByteArray("\xD6\xD0\xCE\xC4, GBK") << Charset::Gb18030 << false
                       << u"中文, GBK"_s;
  QTest::newRow("GB18030, four-byte character")
      << QByteArray("\x95\x32\x82\x36\xB5\xC4") << Charset::Gb18030 << false << u"𠀀的"_s;
  // Bytes valid in both are UTF-8: it is tried first.
  QTest::newRow("valid in both") << QByteArray("\xC3\xA9") << Charset::Utf8 << false << u"é"_s;

  // Every kind of line break becomes "\n".
  QTest::newRow("UTF-8 line breaks")
      << QByteArray("a\r\nb\rc\nd") << Charset::Utf8 << false << u"a\nb\nc\nd"_s;
  QTest::newRow("GBK line breaks")
      << QByteArray("\xD6\xD0\r\n\xCE\xC4\r") << Charset::Gb18030 << false << u"中\n文\n"_s;
  QTest::newRow("UTF-16LE line breaks") << bytes(
                                               "\xFF\xFE"
                                               "a\0\r\0\n\0b\0",
                                               10)
                                        << Charset::Utf16Le << true << u"a\nb"_s;
}

void TextFileTest::decodes() {
  QFETCH(QByteArray, file);
  QFETCH(Charset, charset);
  QFETCH(bool, byteOrderMark);
  QFETCH(QString, text);
  const abrivo::TextFile decoded = decodeTextFile(file);
  QVERIFY2(decoded.ok(), qPrintable(decoded.error));
  QCOMPARE(decoded.charset, charset);
  QCOMPARE(decoded.byteOrderMark, byteOrderMark);
  QCOMPARE(decoded.text, text);
}

void TextFileTest::refuses_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QString>("reason");  // a part of the message

  QTest::newRow("NUL byte") << bytes("ab\0cd", 5) << u"NUL"_s;
  QTest::newRow("NUL byte in GBK") << bytes("\xD6\xD0\0", 3) << u"NUL"_s;
  QTest::newRow("NUL character in UTF-16") << bytes(
                                                  "\xFF\xFE"
                                                  "a\0\0\0",
                                                  6)
                                           << u"NUL"_s;
  QTest::newRow("neither: bad byte, UTF-8 named")
      << QByteArray("abc\xFF") << u"按 UTF-8 读到第 4 字节时出错"_s;
  QTest::newRow("neither: GBK that breaks later, GB18030 named")
      << QByteArray("\xD6\xD0\xCE\xC4\x81\x20") << u"按 GB18030 读到第 5 字节时出错"_s;
  // After a byte order mark there is no second guess.
  QTest::newRow("UTF-8 mark, overlong form") << QByteArray(
                                                    "\xEF\xBB\xBF"
                                                    "a\xC0\xAF")
                                             << u"UTF-8 的字节顺序标记开头，但第 5 字节"_s;
  QTest::newRow("UTF-8 mark, surrogate")
      << QByteArray("\xEF\xBB\xBF\xED\xA0\x80") << u"第 4 字节"_s;
  QTest::newRow("UTF-8 mark, above U+10FFFF")
      << QByteArray("\xEF\xBB\xBF\xF4\x90\x80\x80") << u"第 4 字节"_s;
  QTest::newRow("UTF-8 mark, cut character")
      << QByteArray("\xEF\xBB\xBF\xE4\xB8") << u"第 4 字节"_s;
  QTest::newRow("UTF-16LE, odd size") << bytes(
                                             "\xFF\xFE"
                                             "a\0b",
                                             5)
                                      << u"UTF-16LE"_s;
  QTest::newRow("UTF-16LE, lone high surrogate") << bytes(
                                                        "\xFF\xFE"
                                                        "a\0\x3C\xD8",
                                                        6)
                                                 << u"第 5 字节"_s;
  QTest::newRow("UTF-16BE, lone low surrogate") << bytes(
                                                       "\xFE\xFF\xDF\x0A\x00"
                                                       "a",
                                                       6)
                                                << u"UTF-16BE 的字节顺序标记开头，但第 3 字节"_s;
}

void TextFileTest::refuses() {
  QFETCH(QByteArray, file);
  QFETCH(QString, reason);
  const abrivo::TextFile decoded = decodeTextFile(file);
  QVERIFY(!decoded.ok());
  QVERIFY2(decoded.error.contains(reason), qPrintable(decoded.error));
  QCOMPARE(decoded.text, QString());
}

void TextFileTest::sizeLimit() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const QString path = dir.filePath(u"article.txt"_s);
  QVERIFY(writeFile(path, QByteArray(16, 'e')));
  QVERIFY(readTextFile(path, 16).ok());
  const abrivo::TextFile tooLarge = readTextFile(path, 15);
  QVERIFY(!tooLarge.ok());
  QVERIFY2(tooLarge.error.contains(u"16 字节"_s), qPrintable(tooLarge.error));

  // The real limit: a file one byte past 512 MB, sparse on the disk, is
  // refused for its size before it is read (it holds nothing but NUL bytes).
  const QString big = dir.filePath(u"big.txt"_s);
  QFile file(big);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QVERIFY(file.resize(abrivo::kMaxTextFileBytes + 1));
  file.close();
  const abrivo::TextFile refused = readTextFile(big);
  QVERIFY(!refused.ok());
  QVERIFY2(refused.error.contains(u"512 MB"_s), qPrintable(refused.error));
}

void TextFileTest::unreadablePaths() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  for (const QString& path : {dir.path(), dir.filePath(u"missing.txt"_s)}) {
    const abrivo::TextFile file = readTextFile(path);
    QVERIFY2(!file.ok(), qPrintable(path));
    QVERIFY(!file.error.isEmpty());
  }
}

void TextFileTest::firstLine() {
  QCOMPARE(abrivo::firstLine(u"标题\n正文\n"_s), u"标题"_s);
  QCOMPARE(abrivo::firstLine(u"只有一行"_s), u"只有一行"_s);
  QCOMPARE(abrivo::firstLine(u"\n第二行"_s), QString());
  // Through a file: "\r\n" and a lone "\r" end the first line too.
  QCOMPARE(abrivo::firstLine(decodeTextFile("Head\r\nBody").text), u"Head"_s);
  QCOMPARE(abrivo::firstLine(decodeTextFile("Head\rBody").text), u"Head"_s);
}

void TextFileTest::saveRoundTrip_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<SaveEncoding>("encoding");
  QTest::addColumn<QByteArray>("expected");  // the file's bytes

  QTest::newRow("UTF-8") << u"中文\n🌊"_s << SaveEncoding::Utf8
                         << QByteArray("\xE4\xB8\xAD\xE6\x96\x87\n\xF0\x9F\x8C\x8A");
  QTest::newRow("GB18030, GBK characters")
      << u"中文\nGBK"_s << SaveEncoding::Gb18030 << QByteArray("\xD6\xD0\xCE\xC4\nGBK");
  QTest::newRow("GB18030, outside GBK")
      << u"𠀀🌊"_s << SaveEncoding::Gb18030 << QByteArray("\x95\x32\x82\x36\x94\x39\xB0\x38");
}

void TextFileTest::saveRoundTrip() {
  QFETCH(QString, text);
  QFETCH(SaveEncoding, encoding);
  QFETCH(QByteArray, expected);
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const QString path = dir.filePath(u"摘要.txt"_s);
  QCOMPARE(abrivo::saveFileAtomically(path, abrivo::encodeText(text, encoding)), QString());
  QCOMPARE(readFile(path), expected);
  const abrivo::TextFile back = readTextFile(path);
  QVERIFY2(back.ok(), qPrintable(back.error));
  QCOMPARE(back.text, text);
}

void TextFileTest::saveReplacesAndLeavesNoTemporaryFile() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const QString path = dir.filePath(u"summary.txt"_s);
  QVERIFY(writeFile(path, QByteArray(1000, 'x')));
  QCOMPARE(abrivo::saveFileAtomically(path, "short"), QString());
  QCOMPARE(readFile(path), QByteArray("short"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"summary.txt"_s});
}

void TextFileTest::failedSaveCreatesNothing_data() {
  QTest::addColumn<QString>("target");  // relative to a temporary directory
  QTest::newRow("missing directory") << u"missing/summary.txt"_s;
  QTest::newRow("target is a directory") << u"folder"_s;
  QTest::newRow("directory is a file") << u"plain.txt/summary.txt"_s;
}

void TextFileTest::failedSaveCreatesNothing() {
  QFETCH(QString, target);
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  QVERIFY(QDir(dir.path()).mkpath(u"folder/inside"_s));
  QVERIFY(writeFile(dir.filePath(u"plain.txt"_s), "kept"));
  const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

  const QString reason = abrivo::saveFileAtomically(dir.filePath(target), "summary");
  QVERIFY(!reason.isEmpty());
  QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
  QCOMPARE(readFile(dir.filePath(u"plain.txt"_s)), QByteArray("kept"));
  QVERIFY(QFileInfo(dir.filePath(u"folder/inside"_s)).isDir());
}

QTEST_GUILESS_MAIN(TextFileTest)
#include "text_file_test.moc"
