// Tested by tests/gui/text_file_test.cpp.
#include "TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <string_view>

#include "abrivo/internal/text/Encoding.h"

namespace abrivo {

namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");
constexpr QByteArrayView kUtf16LeBom("\xFF\xFE");
constexpr QByteArrayView kUtf16BeBom("\xFE\xFF");

QString encodingName(FileEncoding encoding) {
  switch (encoding) {
    case FileEncoding::Utf16LeBom:
      return QStringLiteral("UTF-16LE");
    case FileEncoding::Utf16BeBom:
      return QStringLiteral("UTF-16BE");
    case FileEncoding::Gb18030:
      return QStringLiteral("GB18030");
    case FileEncoding::Utf8Bom:
    case FileEncoding::Utf8:
      break;
  }
  return QStringLiteral("UTF-8");
}

bool isContinuation(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The offset of the first byte that does not start a valid UTF-8 sequence
// (no overlong forms, no surrogates, nothing above U+10FFFF), or -1.
qsizetype firstInvalidUtf8(QByteArrayView bytes) {
  const qsizetype size = bytes.size();
  qsizetype i = 0;
  while (i < size) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return i;
    }
    if (size - i < length) return i;
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    if (second < low || second > high) return i;
    for (int k = 2; k < length; ++k)
      if (!isContinuation(bytes[i + k])) return i;
    i += length;
  }
  return -1;
}

// Strict UTF-16: an even number of bytes and every surrogate in a pair.
// Returns the offset of the first bad byte, or -1 and the text.
qsizetype decodeUtf16(QByteArrayView bytes, bool bigEndian, QString& text) {
  const qsizetype units = bytes.size() / 2;
  text.resize(units);
  auto unitAt = [&](qsizetype n) {
    const auto a = static_cast<unsigned char>(bytes[2 * n]);
    const auto b = static_cast<unsigned char>(bytes[2 * n + 1]);
    return static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  };
  for (qsizetype n = 0; n < units; ++n) {
    const char16_t unit = unitAt(n);
    if (QChar::isLowSurrogate(unit)) return 2 * n;
    if (QChar::isHighSurrogate(unit)) {
      if (n + 1 >= units || !QChar::isLowSurrogate(unitAt(n + 1))) return 2 * n;
      text[n] = QChar(unit);
      ++n;
      text[n] = QChar(unitAt(n));
      continue;
    }
    text[n] = QChar(unit);
  }
  if (bytes.size() % 2 != 0) return bytes.size() - 1;
  return -1;
}

// Valid UTF-8 as text. Unlike QString::fromUtf8, keeps a leading U+FEFF: a
// byte order mark has been dropped already, a second one is text.
QString fromValidUtf8(QByteArrayView bytes) {
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
  return decoder.decode(bytes);
}

QString withNewlines(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

TextFile refused(const QString& reason) {
  TextFile file;
  file.error = reason;
  return file;
}

QString badByteReason(FileEncoding encoding, qsizetype offset) {
  return QStringLiteral("文件以 %1 的字节顺序标记开头，但第 %2 字节起不是有效的 %1 文本。")
      .arg(encodingName(encoding))
      .arg(offset + 1);
}

const QString kNulReason = QStringLiteral("文件含有 NUL 字节，不是文本文件。");

// A file with a byte order mark: the bytes after it must be valid in the
// encoding it names.
TextFile decodeWithBom(QByteArrayView bytes, FileEncoding encoding, qsizetype bomSize) {
  const QByteArrayView body = bytes.sliced(bomSize);
  TextFile file;
  file.encoding = encoding;
  if (encoding == FileEncoding::Utf8Bom) {
    if (const qsizetype bad = firstInvalidUtf8(body); bad >= 0)
      return refused(badByteReason(encoding, bomSize + bad));
    file.text = fromValidUtf8(body);
  } else {
    const qsizetype bad = decodeUtf16(body, encoding == FileEncoding::Utf16BeBom, file.text);
    if (bad >= 0) return refused(badByteReason(encoding, bomSize + bad));
  }
  if (file.text.contains(QChar(u'\0'))) return refused(kNulReason);
  file.text = withNewlines(std::move(file.text));
  return file;
}

}  // namespace

TextFile decodeTextFile(QByteArrayView bytes) {
  if (bytes.startsWith(kUtf8Bom)) return decodeWithBom(bytes, FileEncoding::Utf8Bom, 3);
  if (bytes.startsWith(kUtf16LeBom)) return decodeWithBom(bytes, FileEncoding::Utf16LeBom, 2);
  if (bytes.startsWith(kUtf16BeBom)) return decodeWithBom(bytes, FileEncoding::Utf16BeBom, 2);
  if (bytes.contains('\0')) return refused(kNulReason);

  TextFile file;
  const qsizetype badUtf8 = firstInvalidUtf8(bytes);
  if (badUtf8 < 0) {
    file.text = withNewlines(fromValidUtf8(bytes));
    return file;
  }
  ConversionError gbError{};
  const std::optional<std::string> utf8 =
      gb18030ToUtf8(std::string_view(bytes.data(), bytes.size()), &gbError);
  if (!utf8) {
    // Name the encoding that read further: the one the file most likely
    // meant to be in.
    const bool gbFurther = static_cast<qsizetype>(gbError.offset) > badUtf8;
    return refused(
        QStringLiteral("文件既不是 UTF-8 也不是 GB18030 文本：按 %1 读到第 %2 字节时出错。")
            .arg(gbFurther ? QStringLiteral("GB18030") : QStringLiteral("UTF-8"))
            .arg((gbFurther ? static_cast<qsizetype>(gbError.offset) : badUtf8) + 1));
  }
  file.encoding = FileEncoding::Gb18030;
  file.text = withNewlines(fromValidUtf8(QByteArrayView(utf8->data(), utf8->size())));
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
