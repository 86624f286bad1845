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
  return convertStrict("UTF-8", "GBK", text, error).has_value();
}

std::string gb18030ToUtf8Lenient(std::string_view gb) {
  return convertLenient("UTF-8", "GB18030", gb, kReplacementUtf8);
}

std::string utf8ToGb18030Lenient(std::string_view utf8) {
  static const std::string replacement = *utf8ToGb18030(kReplacementUtf8);
  return convertLenient("GB18030", "UTF-8", utf8, replacement);
}

}  // namespace abrivo
