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

// The character set of an explicit encoding.
Charset charsetOf(Encoding encoding) {
  switch (encoding) {
    case Encoding::Gbk:
      return Charset::Gbk;
    case Encoding::Gb18030:
      return Charset::Gb18030;
    case Encoding::Big5:
      return Charset::Big5Hkscs;
    case Encoding::Auto:
    case Encoding::Utf8:
      break;
  }
  return Charset::Utf8;
}

std::string notValid(std::string_view encoding, std::size_t offset) {
  return "not valid " + std::string(encoding) + " at byte " + std::to_string(offset);
}

// "U+1F600 (😀)"; a control character is named by its code point alone.
std::string describeCharacter(char32_t c, std::string_view character) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  const bool printable = c >= 0xA0 && c != 0xFFFD;
  return printable ? std::string(code) + " (" + std::string(character) + ")" : std::string(code);
}

}  // namespace

std::string_view encodingName(Encoding encoding) {
  return charsetName(charsetOf(encoding));
}

std::optional<std::string> decodeInput(std::string bytes, Encoding encoding, std::string* whyNot) {
  ConversionError error{};
  if (encoding == Encoding::Auto) {
    const auto mark = detectByteOrderMark(bytes);
    if (auto decoded = decodeAutomatically(std::move(bytes), &error)) {
      return std::move(decoded->utf8);
    }
    if (whyNot) {
      *whyNot = mark
                    ? notValid(charsetName(mark->charset), error.offset)
                    : notValid("UTF-8", error.offset) + ", nor GB18030 (name the encoding with -e)";
    }
    return std::nullopt;
  }
  std::size_t skipped = 0;
  if (encoding == Encoding::Utf8 && bytes.starts_with("\xEF\xBB\xBF")) {
    skipped = 3;
    bytes.erase(0, skipped);
  }
  auto text = decodeToUtf8(std::move(bytes), charsetOf(encoding), &error);
  if (!text && whyNot) *whyNot = notValid(encodingName(encoding), error.offset + skipped);
  return text;
}

std::optional<std::string> encodeOutput(std::string_view utf8, Encoding encoding,
                                        std::string* whyNot, bool jsonEscapes) {
  const Charset charset = charsetOf(encoding);
  std::string out;
  for (;;) {
    ConversionError error{};
    if (auto encoded = encodeFromUtf8(utf8, charset, &error)) {
      if (out.empty()) return encoded;
      return out + *encoded;
    }
    if (error.offset >= utf8.size() || firstInvalidUtf8(utf8.substr(error.offset, 4)) == 0) {
      if (whyNot) *whyNot = "the output is not valid UTF-8";  // not from the library
      return std::nullopt;
    }
    const char32_t c = codePointAt(utf8, error.offset);
    const std::size_t size = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    if (!jsonEscapes) {
      if (whyNot) {
        *whyNot = "the output holds " + describeCharacter(c, utf8.substr(error.offset, size)) +
                  ", which " + std::string(encodingName(encoding)) +
                  " lacks; choose another --output-encoding";
      }
      return std::nullopt;
    }
    // Everything before the character encodes; the character itself becomes
    // a \u escape (two for a character beyond the BMP), the same JSON string.
    out += *encodeFromUtf8(utf8.substr(0, error.offset), charset);
    const auto escape = [&](unsigned unit) {
      char text[16];
      std::snprintf(text, sizeof text, "\\u%04x", unit);
      out += text;
    };
    if (c < 0x10000) {
      escape(c);
    } else {
      escape(0xD800 + ((c - 0x10000) >> 10));
      escape(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
    utf8.remove_prefix(error.offset + size);
  }
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
