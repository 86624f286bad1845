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

std::string toEngineLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\0') continue;
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string fromEngineLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace abrivo
