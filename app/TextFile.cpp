// Tested by tests/gui/text_file_test.cpp.
#include "TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <string>
#include <string_view>

#include "abrivo/internal/text/Encoding.h"

namespace abrivo {

namespace {

// Valid UTF-8 as text. Unlike QString::fromUtf8, keeps a leading U+FEFF: a
// byte order mark has been dropped already, a second one is text.
QString fromValidUtf8(std::string_view utf8) {
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
  return decoder.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

QString withNewlines(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

QString nameOf(Charset charset) {
  return QString::fromLatin1(charsetName(charset));
}

TextFile refused(const QString& reason) {
  TextFile file;
  file.error = reason;
  return file;
}

const QString kNulReason = QStringLiteral("文件含有 NUL 字节，不是文本文件。");

// Why bytes without a byte order mark are neither UTF-8 nor GB18030. Names
// the encoding that read further: the one the file most likely meant to be
// in.
QString neitherReason(std::string_view bytes, std::size_t badUtf8) {
  ConversionError gbError{};
  gb18030ToUtf8(bytes, &gbError);
  const bool gbFurther = gbError.offset > badUtf8;
  return QStringLiteral("文件既不是 UTF-8 也不是 GB18030 文本：按 %1 读到第 %2 字节时出错。")
      .arg(nameOf(gbFurther ? Charset::Gb18030 : Charset::Utf8))
      .arg((gbFurther ? gbError.offset : badUtf8) + 1);
}

}  // namespace

TextFile decodeTextFile(QByteArrayView bytes) {
  std::string raw(bytes.data(), static_cast<std::size_t>(bytes.size()));
  const std::optional<ByteOrderMark> mark = detectByteOrderMark(raw);
  // NUL bytes are refused as such; in UTF-16 they are part of the encoding,
  // so there the decoded text is checked.
  if (!mark && raw.find('\0') != std::string::npos) return refused(kNulReason);

  ConversionError error{};
  std::optional<DecodedText> decoded = decodeAutomatically(std::move(raw), &error);
  if (!decoded) {
    if (mark) {
      return refused(
          QStringLiteral("文件以 %1 的字节顺序标记开头，但第 %2 字节起不是有效的 %1 文本。")
              .arg(nameOf(mark->charset))
              .arg(error.offset + 1));
    }
    return refused(neitherReason(std::string_view(bytes.data(), bytes.size()), error.offset));
  }
  if (decoded->utf8.find('\0') != std::string::npos) return refused(kNulReason);

  TextFile file;
  file.charset = decoded->charset;
  file.byteOrderMark = decoded->byteOrderMark;
  file.text = withNewlines(fromValidUtf8(decoded->utf8));
  return file;
}

TextFile readTextFile(const QString& path, qint64 maxBytes) {
  const QFileInfo info(path);
  if (info.isDir()) return refused(QStringLiteral("这是一个文件夹，不是文件。"));
  const auto tooLarge = [&](qint64 size) {
    return refused(QStringLiteral("文件有 %1 字节，超过了 %2 MB 的上限。")
                       .arg(size)
                       .arg(maxBytes / (1024 * 1024)));
  };
  if (info.exists() && info.size() > maxBytes) return tooLarge(info.size());

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return refused(QStringLiteral("无法读取文件：%1").arg(file.errorString()));
  // Read one byte past the limit: a file that grew since it was measured, or
  // one that has no size (a pipe), is refused just the same.
  const QByteArray bytes = file.read(maxBytes + 1);
  if (file.error() != QFileDevice::NoError)
    return refused(QStringLiteral("无法读取文件：%1").arg(file.errorString()));
  if (bytes.size() > maxBytes) return tooLarge(bytes.size());
  return decodeTextFile(bytes);
}

QString firstLine(const QString& text) {
  const qsizetype end = text.indexOf(u'\n');
  return end < 0 ? text : text.left(end);
}

QByteArray encodeText(const QString& text, SaveEncoding encoding) {
  QByteArray utf8 = text.toUtf8();
  if (encoding == SaveEncoding::Utf8) return utf8;
  const std::string gb = utf8ToGb18030Lenient(std::string_view(utf8.data(), utf8.size()));
  return QByteArray(gb.data(), static_cast<qsizetype>(gb.size()));
}

QString saveFileAtomically(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  if (file.write(bytes) != bytes.size()) {
    const QString reason = file.errorString();
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return file.errorString();
  return {};
}

}  // namespace abrivo
