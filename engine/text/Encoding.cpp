// Tested by tests/encoding_test.cpp.
#include "text/Encoding.h"

#include <iconv.h>

#include <cerrno>

namespace abrivo {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Converter() {
    if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

  // Converts in, appending to out. Returns the number of input bytes consumed
  // before a bad sequence (in.size() when all of it converted).
  std::size_t convert(std::string_view in, std::string& out) {
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // reset shift state
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
      char* dst = buf;
      std::size_t dstLeft = sizeof buf;
      const std::size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, static_cast<std::size_t>(dst - buf));
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) break;  // EILSEQ or EINVAL
    }
    char* dst = buf;
    std::size_t dstLeft = sizeof buf;
    iconv(m_cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    return in.size() - srcLeft;
  }

 private:
  iconv_t m_cd;
};

std::optional<std::string> convertStrict(const char* to, const char* from, std::string_view in,
                                         ConversionError* error) {
  Converter c(to, from);
  std::string out;
  out.reserve(in.size() + in.size() / 2);
  const std::size_t done = c.ok() ? c.convert(in, out) : 0;
  if (done == in.size() && c.ok()) return out;
  if (error) error->offset = done;
  return std::nullopt;
}

// Converts what decodes; every undecodable byte becomes the encoded
// replacement character.
std::string convertLenient(const char* to, const char* from, std::string_view in,
                           std::string_view replacement) {
  Converter c(to, from);
  std::string out;
  out.reserve(in.size() + in.size() / 2);
  if (!c.ok()) return out;
  while (!in.empty()) {
    const std::size_t done = c.convert(in, out);
    if (done >= in.size()) break;
    out.append(replacement);
    in.remove_prefix(done + 1);
  }
  return out;
}

}  // namespace

std::optional<std::string> utf8ToGb18030(std::string_view utf8, ConversionError* error) {
  return convertStrict("GB18030", "UTF-8", utf8, error);
}

std::optional<std::string> gb18030ToUtf8(std::string_view gb, ConversionError* error) {
  return convertStrict("UTF-8", "GB18030", gb, error);
}

bool isValidGbk(std::string_view text, ConversionError* error) {
  // iconv's GBK takes a few single bytes of 0x80 and above (0x80 as the euro
  // sign), which the engine would step over as the lead byte of a two-byte
  // character. Only ASCII and lead byte 0x81..0xFE with a trail byte of
  // 0x40..0xFE other than 0x7F are let through to iconv.
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    const auto trail = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
    if (lead == 0x80 || lead == 0xFF || trail < 0x40 || trail == 0x7F || trail == 0xFF) break;
    i += 2;
  }
  ConversionError converted{};
  const bool valid = convertStrict("UTF-8", "GBK", text.substr(0, i), &converted).has_value();
  if (valid && i == text.size()) return true;
  if (error) error->offset = valid ? i : converted.offset;
  return false;
}

std::string gb18030ToUtf8Lenient(std::string_view gb) {
  return convertLenient("UTF-8", "GB18030", gb, kReplacementUtf8);
}

std::string utf8ToGb18030Lenient(std::string_view utf8) {
  static const std::string replacement = *utf8ToGb18030(kReplacementUtf8);
  return convertLenient("GB18030", "UTF-8", utf8, replacement);
}

}  // namespace abrivo

namespace abrivo {
namespace {

// The length of the UTF-8 sequence starting at text[i] when it is valid
// (the well-formed table of the Unicode standard), else 0.
std::size_t utf8SequenceAt(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t size = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() - i < size) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < size; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  }
  return size;
}

// The number of GB18030 characters in gb, which is valid GB18030.
std::size_t gb18030CharacterCount(std::string_view gb) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < gb.size(); ++count) {
    if (static_cast<unsigned char>(gb[i]) < 0x80)
      i += 1;
    else if (i + 1 < gb.size() && gb[i + 1] >= '0' && gb[i + 1] <= '9')
      i += 4;
    else
      i += 2;
  }
  return count;
}

}  // namespace

std::string_view charsetName(Charset charset) {
  switch (charset) {
    case Charset::Utf16Le:
      return "UTF-16LE";
    case Charset::Utf16Be:
      return "UTF-16BE";
    case Charset::Gbk:
      return "GBK";
    case Charset::Gb18030:
      return "GB18030";
    case Charset::Big5Hkscs:
      return "Big5-HKSCS";
    case Charset::Utf8:
      break;
  }
  return "UTF-8";
}

std::optional<std::size_t> firstInvalidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t size = utf8SequenceAt(text, i);
    if (size == 0) return i;
    i += size;
  }
  return std::nullopt;
}

std::optional<ByteOrderMark> detectByteOrderMark(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return ByteOrderMark{Charset::Utf8, 3};
  if (bytes.starts_with("\xFF\xFE")) return ByteOrderMark{Charset::Utf16Le, 2};
  if (bytes.starts_with("\xFE\xFF")) return ByteOrderMark{Charset::Utf16Be, 2};
  return std::nullopt;
}

namespace {

// iconv's name of a charset that iconv converts without further checks
// (iconv takes names in either case); nullptr for the others.
const char* plainIconvName(Charset charset) {
  const bool plain =
      charset == Charset::Utf16Le || charset == Charset::Utf16Be || charset == Charset::Big5Hkscs;
  return plain ? charsetName(charset).data() : nullptr;
}

// The text itself when it is valid UTF-8; else the offset of the first bad byte.
std::optional<std::string> checkedUtf8(std::string_view text, ConversionError* error) {
  if (const auto bad = firstInvalidUtf8(text)) {
    if (error) error->offset = *bad;
    return std::nullopt;
  }
  return std::string(text);
}

}  // namespace

std::optional<std::string> decodeToUtf8(std::string bytes, Charset charset,
                                        ConversionError* error) {
  if (const char* name = plainIconvName(charset)) return convertStrict("UTF-8", name, bytes, error);
  switch (charset) {
    case Charset::Utf8:
      if (firstInvalidUtf8(bytes)) return checkedUtf8(bytes, error);
      return bytes;
    case Charset::Gbk:
      if (!isValidGbk(bytes, error)) return std::nullopt;
      return gb18030ToUtf8(bytes, error);
    default:
      return gb18030ToUtf8(bytes, error);
  }
}

std::optional<DecodedText> decodeAutomatically(std::string bytes, ConversionError* error) {
  if (const auto mark = detectByteOrderMark(bytes)) {
    bytes.erase(0, mark->size);
    auto text = decodeToUtf8(std::move(bytes), mark->charset, error);
    if (!text) {
      if (error) error->offset += mark->size;
      return std::nullopt;
    }
    return DecodedText{std::move(*text), mark->charset, true};
  }
  const auto bad = firstInvalidUtf8(bytes);
  if (!bad) return DecodedText{std::move(bytes), Charset::Utf8, false};
  if (auto text = gb18030ToUtf8(bytes))
    return DecodedText{std::move(*text), Charset::Gb18030, false};
  if (error) error->offset = *bad;
  return std::nullopt;
}

std::optional<std::string> encodeFromUtf8(std::string_view utf8, Charset charset,
                                          ConversionError* error) {
  if (const char* name = plainIconvName(charset)) return convertStrict(name, "UTF-8", utf8, error);
  switch (charset) {
    case Charset::Utf8:
      return checkedUtf8(utf8, error);
    case Charset::Gbk: {
      auto gb = utf8ToGb18030(utf8, error);
      ConversionError gbError{};
      if (!gb || isValidGbk(*gb, &gbError)) return gb;
      // The character GBK lacks: as many characters into utf8 as it is into gb.
      if (error) {
        std::size_t offset = 0;
        const std::string_view before = std::string_view(*gb).substr(0, gbError.offset);
        for (std::size_t n = gb18030CharacterCount(before); n > 0; --n) {
          const std::size_t size = utf8SequenceAt(utf8, offset);
          offset += size > 0 ? size : 1;
        }
        error->offset = offset;
      }
      return std::nullopt;
    }
    default:
      return utf8ToGb18030(utf8, error);
  }
}

char32_t codePointAt(std::string_view utf8, std::size_t offset) {
  if (offset >= utf8.size()) return 0xFFFD;
  const std::size_t size = utf8SequenceAt(utf8, offset);
  if (size == 0) return 0xFFFD;
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[offset + k]); };
  constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t c = byte(0) & kLeadMask[size];
  for (std::size_t k = 1; k < size; ++k) c = (c << 6) | (byte(k) & 0x3F);
  return c;
}

}  // namespace abrivo
