// Text files in and out of the window: reading a file into a box, with its
// encoding found from the bytes, and saving the summary in UTF-8 or GB18030.
//
// A file is read as
//   1. the encoding its byte order mark names (UTF-8, UTF-16 LE or BE),
//   2. else UTF-8, when every byte sequence is valid UTF-8,
//   3. else GB18030 (and so GBK), when every byte sequence is valid there.
// Every check is strict: a file that is none of these, that holds a NUL
// character, or that is larger than kMaxTextFileBytes is refused with a
// reason for the user, and nothing is loaded. The bytes are read as
// abrivo-cli reads them by default (decodeAutomatically), so a file gives
// the same summary in both.
//
// Tested by tests/gui/text_file_test.cpp.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "abrivo/internal/text/Encoding.h"

namespace abrivo {

// The largest file the window loads.
inline constexpr qint64 kMaxTextFileBytes = 512LL * 1024 * 1024;

struct TextFile {
  QString text;                     // line breaks "\n"
  QString error;                    // why the file was refused, for a message; empty when read
  Charset charset = Charset::Utf8;  // the encoding the file was read in
  bool byteOrderMark = false;
  bool ok() const { return error.isEmpty(); }
};

// The text of bytes read from a file.
TextFile decodeTextFile(QByteArrayView bytes);

// Reads and decodes the file at path; refuses files larger than maxBytes.
TextFile readTextFile(const QString& path, qint64 maxBytes = kMaxTextFileBytes);

// The text up to its first line break.
QString firstLine(const QString& text);

enum class SaveEncoding { Utf8, Gb18030 };

// text encoded for saving, line breaks unchanged.
QByteArray encodeText(const QString& text, SaveEncoding encoding);

// Writes bytes to a temporary file beside path and renames it to path, so a
// failed write leaves an existing file as it was. Returns the reason of a
// failure, or an empty string.
QString saveFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace abrivo
