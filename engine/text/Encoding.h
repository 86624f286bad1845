// Conversion between Unicode (UTF-8) and the engine's GBK bytes, done by the
// front ends at their boundary. GB18030 is used on the engine side: it is a
// superset of GBK that can encode every Unicode character, so a character
// outside GBK (an emoji, a rare ideograph) survives a run unchanged.
//
// Tested by tests/encoding_test.cpp.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace abrivo {

struct ConversionError {
  std::size_t offset;  // byte offset of the first byte that does not decode
};

// Strict conversions: nullopt and the offset of the first bad byte when the
// input is not valid in its encoding.
std::optional<std::string> utf8ToGb18030(std::string_view utf8, ConversionError* error = nullptr);
std::optional<std::string> gb18030ToUtf8(std::string_view gb, ConversionError* error = nullptr);

// True when text is valid GBK (narrower than GB18030); otherwise false and
// the offset of the first bad byte.
bool isValidGbk(std::string_view text, ConversionError* error = nullptr);

// Lenient decoding for display: every byte sequence that does not decode
// becomes U+FFFD; never fails.
std::string gb18030ToUtf8Lenient(std::string_view gb);

// Encoded forms of UTF-8 for input that is already UTF-8 but may hold bytes
// that are not: each bad byte becomes U+FFFD. Never fails.
std::string utf8ToGb18030Lenient(std::string_view utf8);

// Tidies text for the engine: drops NUL bytes and turns every line break
// ("\r\n", a lone "\n" or a lone "\r") into "\r\n".
std::string toEngineLineBreaks(std::string_view text);

// Turns the engine's "\r\n" line breaks into "\n".
std::string fromEngineLineBreaks(std::string_view text);

}  // namespace abrivo

namespace abrivo {

// Character sets that front ends read and write. Each converts to and from
// UTF-8, the form the public API takes.
enum class Charset { Utf8, Utf16Le, Utf16Be, Gbk, Gb18030, Big5Hkscs };

// "UTF-8", "UTF-16LE", "UTF-16BE", "GBK", "GB18030" or "Big5-HKSCS".
std::string_view charsetName(Charset charset);

// The offset of the first byte of text that is not valid UTF-8 (overlong
// forms, surrogates and values above U+10FFFF included), or nullopt when all
// of it is valid.
std::optional<std::size_t> firstInvalidUtf8(std::string_view text);

// The byte order mark at the start of bytes (UTF-8, UTF-16LE or UTF-16BE).
struct ByteOrderMark {
  Charset charset;
  std::size_t size;
};
std::optional<ByteOrderMark> detectByteOrderMark(std::string_view bytes);

// Strict decoding of bytes in charset (without a byte order mark) to UTF-8:
// nullopt and the offset of the first byte that does not decode otherwise.
// GBK is checked as GBK and decoded as GB18030, whose two-byte forms are
// GBK's, so the engine later sees exactly the bytes that were read.
std::optional<std::string> decodeToUtf8(std::string bytes, Charset charset,
                                        ConversionError* error = nullptr);

// Automatic decoding: a byte order mark decides; without one the text is
// taken as UTF-8 when it is valid UTF-8, else as GB18030 when it is valid
// GB18030. On failure error->offset is where UTF-8 (or the byte order mark's
// encoding) failed.
struct DecodedText {
  std::string utf8;
  Charset charset;  // the encoding the bytes were read in
  bool byteOrderMark;
};
std::optional<DecodedText> decodeAutomatically(std::string bytes, ConversionError* error = nullptr);

// Strict encoding of valid UTF-8 in charset. A character that charset lacks
// is never replaced: the result is nullopt and error->offset is the byte
// offset of that character in utf8. GBK output is GB18030 limited to the
// characters GBK has, the inverse of decodeToUtf8.
std::optional<std::string> encodeFromUtf8(std::string_view utf8, Charset charset,
                                          ConversionError* error = nullptr);

// The code point of the UTF-8 character at offset, for messages; U+FFFD when
// no valid character starts there.
char32_t codePointAt(std::string_view utf8, std::size_t offset);

}  // namespace abrivo
