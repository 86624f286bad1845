// The conversions of text/Encoding.h for the browser build, where the C
// library has no GB18030 converter. The tables come from the page's own
// decoder, TextDecoder("gb18030"): on first use JavaScript decodes every
// two-byte code and every four-byte code of the Basic Multilingual Plane once,
// and the encoder is the inverse of that decoder, so every round trip in the
// page is lossless. Four-byte codes beyond the BMP are linear and need no
// table.
//
// isValidGbk is left out: only the command line reads GBK.
//
// Tested in node by tests/web/encoder_test.mjs against glibc's GB18030.
#include <emscripten.h>

#include <cstdint>

#include "text/Encoding.h"

namespace {

constexpr int kTrailCount = 190;                               // 0x40..0x7E, 0x80..0xFE
constexpr int kTwoByteCount = 126 * kTrailCount;               // leads 0x81..0xFE
constexpr std::uint32_t kFourByteBmpCount = 39420;             // four-byte codes of the BMP
constexpr std::uint32_t kSupplementaryFirst = 189000;          // the code of U+10000
constexpr std::uint32_t kSupplementaryLast = 1237575;          // the code of U+10FFFF
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

// Fills the two decoding tables with the code units TextDecoder("gb18030")
// gives: twoByte by lead and trail in byte order, fourByte by linear index;
// 0 where the decoder rejects the code. Each code is decoded followed by "\n",
// so that a rejected code cannot shift the codes after it.
// clang-format off
EM_JS(void, abrivo_fill_gb18030_tables, (std::uint16_t* twoByte, std::uint16_t* fourByte), {
  const decoder = new TextDecoder("gb18030");
  const fill = (count, width, encode, table, rejectReplacement) => {
    const bytes = new Uint8Array(count * (width + 1));
    for (let i = 0, at = 0; i < count; ++i, at += width + 1) {
      encode(i, bytes, at);
      bytes[at + width] = 10;
    }
    const parts = decoder.decode(bytes).split("\n");
    const start = table >> 1;
    for (let i = 0; i < count; ++i) {
      const part = parts[i];
      const ok = part.length === 1 && !(rejectReplacement && part === "\uFFFD");
      HEAPU16[start + i] = ok ? part.charCodeAt(0) : 0;
    }
  };
  fill(126 * 190, 2, (i, bytes, at) => {
    const trail = i % 190;
    bytes[at] = 0x81 + Math.floor(i / 190);
    bytes[at + 1] = trail < 63 ? 0x40 + trail : 0x41 + trail;
  }, twoByte, true);
  fill(39420, 4, (i, bytes, at) => {
    bytes[at] = 0x81 + Math.floor(i / 12600);
    bytes[at + 1] = 0x30 + Math.floor(i / 1260) % 10;
    bytes[at + 2] = 0x81 + Math.floor(i / 10) % 126;
    bytes[at + 3] = 0x30 + i % 10;
  }, fourByte, false);
});
// clang-format on

namespace abrivo {
namespace {

struct Tables {
  std::uint16_t twoByte[kTwoByteCount];
  std::uint16_t fourByte[kFourByteBmpCount];
  // The GB18030 bytes of each BMP code point, big-endian in one word: below
  // 0x100 one byte, below 0x10000 two, else four; 0 where none decodes to it
  // (U+0000 is the byte 0 itself).
  std::uint32_t encode[0x10000];
};

const Tables& tables() {
  static const Tables* const built = [] {
    auto* t = new Tables{};
    abrivo_fill_gb18030_tables(t->twoByte, t->fourByte);
    for (std::uint32_t c = 0; c < 0x80; ++c) t->encode[c] = c;
    // Where two codes decode to one character, the first one in code order
    // encodes it, as the decoder's own index does.
    for (int i = 0; i < kTwoByteCount; ++i) {
      const std::uint16_t c = t->twoByte[i];
      const int trail = i % kTrailCount;
      const std::uint32_t bytes =
          (0x81u + static_cast<std::uint32_t>(i / kTrailCount)) << 8 |
          static_cast<std::uint32_t>(trail < 63 ? 0x40 + trail : 0x41 + trail);
      if (c != 0 && t->encode[c] == 0) t->encode[c] = bytes;
    }
    for (std::uint32_t i = 0; i < kFourByteBmpCount; ++i) {
      const std::uint16_t c = t->fourByte[i];
      const std::uint32_t bytes = (0x81 + i / 12600) << 24 | (0x30 + i / 1260 % 10) << 16 |
                                  (0x81 + i / 10 % 126) << 8 | (0x30 + i % 10);
      if (c != 0 && t->encode[c] == 0) t->encode[c] = bytes;
    }
    return t;
  }();
  return *built;
}

void appendUtf8(std::uint32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code point of the UTF-8 sequence at in[at] and its length; length 0
// when the bytes there are not a whole valid sequence (overlong forms,
// surrogates and values above U+10FFFF are not).
std::uint32_t decodeUtf8(std::string_view in, std::size_t at, std::size_t& length) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(in[at + i]); };
  length = 0;
  const std::uint8_t b0 = byte(0);
  if (b0 < 0x80) {
    length = 1;
    return b0;
  }
  std::size_t n;
  std::uint32_t c, min;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2, c = b0 & 0x1F, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3, c = b0 & 0x0F, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4, c = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (in.size() - at < n) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    c = c << 6 | (byte(i) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  length = n;
  return c;
}

// Appends the GB18030 bytes of c; false when c has none.
bool appendGb18030(std::uint32_t c, std::string& out) {
  if (c >= 0x10000) {
    std::uint32_t i = c - 0x10000 + kSupplementaryFirst;
    const char bytes[4] = {
        static_cast<char>(0x81 + i / 12600), static_cast<char>(0x30 + i / 1260 % 10),
        static_cast<char>(0x81 + i / 10 % 126), static_cast<char>(0x30 + i % 10)};
    out.append(bytes, 4);
    return true;
  }
  const std::uint32_t bytes = tables().encode[c];
  if (bytes == 0 && c != 0) return false;
  if (bytes >= 0x1000000)
    out += static_cast<char>(bytes >> 24), out += static_cast<char>(bytes >> 16);
  if (bytes >= 0x100) out += static_cast<char>(bytes >> 8);
  out += static_cast<char>(bytes);
  return true;
}

// The code point of the GB18030 sequence at in[at] and its length; length 0
// when the bytes there are not a whole code the decoder accepts. The single
// bytes 0x80 and 0xFF are rejected.
std::uint32_t decodeGb18030(std::string_view in, std::size_t at, std::size_t& length) {
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(in[at + i]));
  };
  const std::size_t left = in.size() - at;
  length = 0;
  const std::uint32_t b0 = byte(0);
  if (b0 < 0x80) {
    length = 1;
    return b0;
  }
  if (b0 == 0x80 || b0 == 0xFF || left < 2) return 0;
  const std::uint32_t b1 = byte(1);
  if (b1 >= 0x30 && b1 <= 0x39) {
    if (left < 4) return 0;
    const std::uint32_t b2 = byte(2), b3 = byte(3);
    if (b2 < 0x81 || b2 > 0xFE || b3 < 0x30 || b3 > 0x39) return 0;
    const std::uint32_t i =
        (b0 - 0x81) * 12600 + (b1 - 0x30) * 1260 + (b2 - 0x81) * 10 + (b3 - 0x30);
    std::uint32_t c = 0;
    if (i < kFourByteBmpCount)
      c = tables().fourByte[i];
    else if (i >= kSupplementaryFirst && i <= kSupplementaryLast)
      c = i - kSupplementaryFirst + 0x10000;
    if (c != 0) length = 4;
    return c;
  }
  if (b1 < 0x40 || b1 == 0x7F || b1 == 0xFF) return 0;
  const std::uint32_t c =
      tables().twoByte[(b0 - 0x81) * kTrailCount + (b1 < 0x7F ? b1 - 0x40 : b1 - 0x41)];
  if (c != 0) length = 2;
  return c;
}

}  // namespace

std::optional<std::string> utf8ToGb18030(std::string_view utf8, ConversionError* error) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0, length = 0; at < utf8.size(); at += length) {
    const std::uint32_t c = decodeUtf8(utf8, at, length);
    if (length == 0 || !appendGb18030(c, out)) {
      if (error) error->offset = at;
      return std::nullopt;
    }
  }
  return out;
}

std::optional<std::string> gb18030ToUtf8(std::string_view gb, ConversionError* error) {
  std::string out;
  out.reserve(gb.size() + gb.size() / 2);
  for (std::size_t at = 0, length = 0; at < gb.size(); at += length) {
    const std::uint32_t c = decodeGb18030(gb, at, length);
    if (length == 0) {
      if (error) error->offset = at;
      return std::nullopt;
    }
    appendUtf8(c, out);
  }
  return out;
}

std::string gb18030ToUtf8Lenient(std::string_view gb) {
  std::string out;
  out.reserve(gb.size() + gb.size() / 2);
  for (std::size_t at = 0, length = 0; at < gb.size(); at += length) {
    const std::uint32_t c = decodeGb18030(gb, at, length);
    if (length == 0) {
      out += kReplacementUtf8;
      length = 1;
    } else {
      appendUtf8(c, out);
    }
  }
  return out;
}

std::string utf8ToGb18030Lenient(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0, length = 0; at < utf8.size(); at += length) {
    const std::uint32_t c = decodeUtf8(utf8, at, length);
    if (length == 0) {
      appendGb18030(0xFFFD, out);
      length = 1;
    } else if (!appendGb18030(c, out)) {
      appendGb18030(0xFFFD, out);
    }
  }
  return out;
}

}  // namespace abrivo
