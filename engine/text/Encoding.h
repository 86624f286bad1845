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
