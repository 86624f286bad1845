#include "cli/Input.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <istream>
#include <system_error>

namespace abrivo::cli {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// GB18030 bytes with every byte that does not belong to a whole character of
// the output encoding replaced by '?': a character the engine cut, and in GBK
// a four-byte character (U+FFFD among them).
std::string wholeCharacters(std::string_view gb, Encoding encoding) {
  const auto at = [gb](std::size_t k) {
    return k < gb.size() ? static_cast<unsigned char>(gb[k]) : 0u;
  };
  const auto isLead = [](unsigned b) { return b >= 0x81 && b <= 0xFE; };
  const auto isDigit = [](unsigned b) { return b >= 0x30 && b <= 0x39; };
  std::string out;
  out.reserve(gb.size());
  std::size_t i = 0;
  while (i < gb.size()) {
    std::size_t size = 1;
    bool whole = at(i) < 0x80;
    if (isLead(at(i)) && isDigit(at(i + 1)) && isLead(at(i + 2)) && isDigit(at(i + 3))) {
      size = 4;
      whole = encoding == Encoding::Gb18030;
    } else if (isLead(at(i)) && at(i + 1) >= 0x40 && at(i + 1) <= 0xFE && at(i + 1) != 0x7F) {
      size = 2;
      whole = true;
    }
    if (whole)
      out.append(gb.substr(i, size));
    else
      out += '?';
    i += size;
  }
  return out;
}

}  // namespace

std::string_view encodingName(Encoding encoding) {
  switch (encoding) {
    case Encoding::Gbk:
      return "GBK";
    case Encoding::Gb18030:
      return "GB18030";
    case Encoding::Utf8:
      break;
  }
  return "UTF-8";
}

std::optional<std::string> toEngineBytes(std::string_view text, Encoding encoding,
                                         ConversionError* error) {
  switch (encoding) {
    case Encoding::Utf8: {
      const std::size_t skipped = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
      auto converted = utf8ToGb18030(text.substr(skipped), error);
      if (!converted && error) error->offset += skipped;
      return converted;
    }
    case Encoding::Gbk: {
      // The engine's conversions go through GB18030, which accepts more than
      // GBK does, so GBK gets its own check.
      if (!isValidGbk(text, error)) return std::nullopt;
      return std::string(text);
    }
    case Encoding::Gb18030:
      if (!gb18030ToUtf8(text, error)) return std::nullopt;
      return std::string(text);
  }
  return std::nullopt;
}

std::string fromEngineBytes(std::string_view engineBytes, Encoding encoding) {
  std::string text = fromEngineLineBreaks(engineBytes);
  return encoding == Encoding::Utf8 ? gb18030ToUtf8Lenient(text) : wholeCharacters(text, encoding);
}

std::string encodeUtf8Output(std::string_view utf8, Encoding encoding) {
  return encoding == Encoding::Utf8 ? std::string(utf8)
                                    : wholeCharacters(utf8ToGb18030Lenient(utf8), encoding);
}

std::string tooLargeMessage(std::size_t maxBytes) {
  return "larger than " + std::to_string(maxBytes) + " bytes (see --max-bytes)";
}

ReadResult readFile(const std::string& path, std::size_t maxBytes) {
  ReadResult result;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    result.error = std::strerror(errno);
    return result;
  }
  struct stat info = {};
  if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    std::fclose(file);
    result.error = tooLargeMessage(maxBytes);
    return result;
  }
  char buf[65536];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, file)) > 0) {
    if (n > maxBytes - result.bytes.size()) {  // a file that grew, or a pipe
      result.error = tooLargeMessage(maxBytes);
      break;
    }
    result.bytes.append(buf, n);
  }
  if (result.error.empty() && std::ferror(file)) result.error = std::strerror(errno);
  if (!result.error.empty()) result.bytes.clear();
  std::fclose(file);
  return result;
}

ReadResult readStream(std::istream& in, std::size_t maxBytes) {
  ReadResult result;
  std::streambuf* source = in.rdbuf();
  char buf[65536];
  try {
    // Takes what each read brings, so that nothing waits for more input than
    // is needed.
    while (source->sgetc() != std::streambuf::traits_type::eof()) {
      const std::streamsize available = std::max<std::streamsize>(source->in_avail(), 1);
      const std::streamsize n =
          source->sgetn(buf, std::min<std::streamsize>(available, sizeof buf));
      if (static_cast<std::size_t>(n) > maxBytes - result.bytes.size()) {
        result.error = tooLargeMessage(maxBytes);
        break;
      }
      result.bytes.append(buf, static_cast<std::size_t>(n));
    }
  } catch (const std::system_error& e) {  // std::ios_base::failure among them
    result.error = e.code().message();
  }
  if (!result.error.empty()) result.bytes.clear();
  return result;
}

std::string_view withoutFinalLineBreak(std::string_view text) {
  if (text.ends_with("\r\n")) return text.substr(0, text.size() - 2);
  if (text.ends_with('\n') || text.ends_with('\r')) return text.substr(0, text.size() - 1);
  return text;
}

}  // namespace abrivo::cli
