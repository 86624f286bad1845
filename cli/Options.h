// The command line of abrivo-cli: what the user asked for, or why the request
// is not understood (a usage error, exit status 2).
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace abrivo::cli {

// The largest article, headline or record read, unless --max-bytes says.
inline constexpr std::size_t kDefaultMaxBytes = std::size_t{64} << 20;

// Auto: a byte order mark, else UTF-8, else GB18030. Big5 is Big5-HKSCS.
enum class Encoding { Auto, Utf8, Gbk, Gb18030, Big5 };
enum class Format { Text, Json };

// The length of a summary: the length list's index, or one of the other
// modes, which then leave index at 0 (see abrivo::Request).
struct Length {
  int index = 0;                 // -1..3
  std::optional<int> chars;      // at most N Chinese characters, 2N bytes of English
  std::optional<int> sentences;  // the N best sentences
  std::optional<double> ratio;   // at most P % of the article
};

struct Options {
  bool help = false;
  bool version = false;
  bool jsonl = false;
  std::optional<std::string> file;  // the article; none or "-" for standard input
  std::optional<std::string> title;
  std::optional<std::string> titleFile;
  Length length;
  int sample = 0;  // 1..3, or 0 for none
  Encoding encoding = Encoding::Auto;
  Encoding outputEncoding = Encoding::Utf8;  // never Auto
  Format format = Format::Text;
  std::size_t maxBytes = kDefaultMaxBytes;  // --max-bytes
  int jobs = 1;                             // --jobs: worker threads of --jsonl, 0 for all cores
};

struct ParsedOptions {
  Options options;
  std::string error;  // a one-line usage error; empty when the line parsed
};

// Parses the arguments that follow the program name.
ParsedOptions parseOptions(std::span<const std::string_view> args);

// The length index a text names: an integer from -1 to 3, nothing else.
std::optional<int> parseLength(std::string_view text);

// A count of characters or sentences: an integer from 1 to INT_MAX.
std::optional<int> parseCount(std::string_view text);

// A share in percent: a decimal number above 0 and at most 100, without an
// exponent or sign ("10", "0.5", "12.25").
std::optional<double> parseRatio(std::string_view text);

}  // namespace abrivo::cli
