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

enum class Encoding { Utf8, Gbk, Gb18030 };
enum class Format { Text, Json };

struct Options {
  bool help = false;
  bool version = false;
  bool jsonl = false;
  std::optional<std::string> file;  // the article; none or "-" for standard input
  std::optional<std::string> title;
  std::optional<std::string> titleFile;
  int length = 0;  // index of the length list, -1..3
  int sample = 0;  // 1..3, or 0 for none
  Encoding encoding = Encoding::Utf8;
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

}  // namespace abrivo::cli
