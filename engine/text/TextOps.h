// The operations every stage uses on text. A text is a byte string in GBK
// (code page 936): a byte of 0x80 or more starts a two-byte character. A
// character outside GBK reaches the engine as a four-byte GB18030 sequence
// (lead byte, digit, lead byte, digit) and is one character of four bytes.
// Lengths and positions count bytes, positions start at 1, and a search that
// finds nothing yields -1. A lead byte standing last in a text has no second
// byte; it is treated as a one-byte character, so no operation reads past the
// end of its text.
//
//   findText("Tree", "e")               == 3      (ASCII case ignored)
//   findText("Tree", "E", {}, false)    == -1
//   replaceText("a  b", "  ", " ")      == "a b"  (one pass, never re-scanned)
//   splitText("a,b,", ",")              == {"a", "b"}
//   toText(6.0) == "6",  toNumber("12.5x") == 12.5,  toInt("2.9") == 2
//
// Tested by tests/text_ops_test.cpp.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace abrivo {

using Text = std::string;
using TextList = std::vector<std::string>;

// Size in bytes of the character that starts at byte index i (0-based): four
// for a four-byte GB18030 sequence, two for any other lead byte with a byte
// after it, otherwise one. A second byte that is a digit never occurs in GBK,
// so GBK text steps as it always has.
inline std::size_t charSize(std::string_view t, std::size_t i) {
  const auto at = [t](std::size_t k) { return static_cast<unsigned char>(t[k]); };
  const auto isLead = [](unsigned char b) { return b >= 0x81 && b <= 0xFE; };
  const auto isDigit = [](unsigned char b) { return b >= 0x30 && b <= 0x39; };
  if (at(i) < 0x80 || i + 1 >= t.size()) return 1;
  if (isDigit(at(i + 1)) && i + 3 < t.size() && isLead(at(i)) && isLead(at(i + 2)) &&
      isDigit(at(i + 3)))
    return 4;
  return 2;
}

int textLength(std::string_view t);

Text concatText(std::string_view a, std::string_view b);

// First / last n bytes; n of 0 or less gives the empty text. Character
// boundaries are not respected.
Text leftText(std::string_view t, int n);
Text rightText(std::string_view t, int n);

// Position of the first occurrence of sub, stepping over two-byte characters.
int findText(std::string_view t, std::string_view sub, std::optional<int> start = std::nullopt,
             bool ignoreCase = true);

// Position of the last occurrence of sub that ends within the first L bytes
// (L: the whole text without start). Overlapping occurrences are all seen.
int findTextReverse(std::string_view t, std::string_view sub,
                    std::optional<int> start = std::nullopt, bool ignoreCase = false);

// Replaces occurrences of find left to right without overlap, in one pass: an
// inserted replacement is never searched again.
Text replaceText(std::string_view t, std::string_view find, std::string_view replacement = {},
                 std::optional<int> start = std::nullopt, std::optional<int> count = std::nullopt,
                 bool caseSensitive = true);

// The same as t = replaceText(t, find, replacement) with no further
// arguments, without copying t when find does not occur in it.
void replaceAll(Text& t, std::string_view find, std::string_view replacement);

// Pieces between occurrences of the delimiter (exact bytes). A delimiter at
// the very end gives no empty last piece; the empty text gives no pieces.
TextList splitText(std::string_view t, std::string_view delimiter = ",",
                   std::optional<int> maxPieces = std::nullopt);

Text toText(int n);
Text toText(double x);  // as "%.13g" writes it

// The number / integer that t begins with, after folding full-width forms to
// ASCII; 0 when t begins with none.
double toNumber(std::string_view t);
int toInt(std::string_view t);
int toInt(double x);  // truncated toward zero, clamped to 32 bits

// The greatest integer not above x, after snapping a fraction within 1e-12
// of a whole number.
int floorToInt(double x);

// Maps ASCII capitals onto lower case; every other byte stays.
inline unsigned char foldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

}  // namespace abrivo
