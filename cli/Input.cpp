#include "cli/Input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <istream>
#include <iterator>

namespace abrivo::cli {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

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
  return encoding == Encoding::Utf8 ? gb18030ToUtf8Lenient(text) : text;
}

std::string encodeUtf8Output(std::string_view utf8, Encoding encoding) {
  return encoding == Encoding::Utf8 ? std::string(utf8) : utf8ToGb18030Lenient(utf8);
}

ReadResult readFile(const std::string& path) {
  ReadResult result;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    result.error = std::strerror(errno);
    return result;
  }
  char buf[65536];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, file)) > 0) result.bytes.append(buf, n);
  if (std::ferror(file)) {
    result.error = std::strerror(errno);
    result.bytes.clear();
  }
  std::fclose(file);
  return result;
}

ReadResult readStream(std::istream& in) {
  ReadResult result;
  result.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    result.error = "read error";
    result.bytes.clear();
  }
  return result;
}

std::string_view withoutFinalLineBreak(std::string_view text) {
  if (text.ends_with("\r\n")) return text.substr(0, text.size() - 2);
  if (text.ends_with('\n') || text.ends_with('\r')) return text.substr(0, text.size() - 1);
  return text;
}

}  // namespace abrivo::cli
