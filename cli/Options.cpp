#include "cli/Options.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace abrivo::cli {
namespace {

constexpr std::uint64_t kMaxJobs = 1024;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// An encoding of the output; the input may also be "auto".
std::optional<Encoding> parseEncoding(std::string_view text) {
  if (equalsIgnoringCase(text, "utf-8")) return Encoding::Utf8;
  if (equalsIgnoringCase(text, "gbk")) return Encoding::Gbk;
  if (equalsIgnoringCase(text, "gb18030")) return Encoding::Gb18030;
  if (equalsIgnoringCase(text, "big5")) return Encoding::Big5;
  return std::nullopt;
}

std::optional<Format> parseFormat(std::string_view text) {
  if (text == "text") return Format::Text;
  if (text == "json") return Format::Json;
  return std::nullopt;
}

std::optional<int> parseSample(std::string_view text) {
  if (text.size() == 1 && text[0] >= '1' && text[0] <= '3') return text[0] - '0';
  return std::nullopt;
}

// Options that take a value, by long name, with their short letter if any.
struct ValueOption {
  std::string_view longName;
  char shortName;
};
constexpr ValueOption kValueOptions[] = {
    {"title", 't'}, {"title-file", 0}, {"length", 'l'},  {"encoding", 'e'}, {"format", 'f'},
    {"sample", 0},  {"chars", 0},      {"sentences", 0}, {"ratio", 0},      {"output-encoding", 0},
    {"jobs", 'j'},  {"max-bytes", 0},
};

// A whole number of at most max, nothing else.
std::optional<std::uint64_t> parseWholeNumber(std::string_view text, std::uint64_t max) {
  std::uint64_t n = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, n);
  if (text.empty() || ec != std::errc() || ptr != end || n > max) return std::nullopt;
  return n;
}

// A byte count of at least 1, with an optional K, M or G for 2^10, 2^20 or
// 2^30.
std::optional<std::size_t> parseByteCount(std::string_view text) {
  int shift = 0;
  if (!text.empty()) {
    switch (text.back()) {
      case 'K':
        shift = 10;
        break;
      case 'M':
        shift = 20;
        break;
      case 'G':
        shift = 30;
        break;
    }
  }
  if (shift) text.remove_suffix(1);
  const auto n = parseWholeNumber(text, std::numeric_limits<std::size_t>::max() >> shift);
  if (!n || *n == 0) return std::nullopt;
  return static_cast<std::size_t>(*n << shift);
}

// The length options, of which one at most may be given.
bool isLengthOption(std::string_view name) {
  return name == "length" || name == "chars" || name == "sentences" || name == "ratio";
}

// Applies one option and its value; returns a usage error or "".
std::string applyValue(Options& o, std::string_view name, std::string_view value) {
  const auto bad = [&](std::string_view what) {
    return "invalid " + std::string(what) + " '" + std::string(value) + "'";
  };
  if (name == "title") {
    if (o.title || o.titleFile) return "give the title only once";
    o.title = std::string(value);
  } else if (name == "title-file") {
    if (o.title || o.titleFile) return "give the title only once";
    o.titleFile = std::string(value);
  } else if (name == "length") {
    const auto n = parseLength(value);
    if (!n) return bad("length") + " (expected -1, 0, 1, 2 or 3)";
    o.length.index = *n;
  } else if (name == "chars" || name == "sentences") {
    const auto n = parseCount(value);
    if (!n) return bad(name) + " (expected a whole number from 1)";
    (name == "chars" ? o.length.chars : o.length.sentences) = *n;
  } else if (name == "ratio") {
    const auto p = parseRatio(value);
    if (!p) return bad("ratio") + " (expected a number above 0 and at most 100)";
    o.length.ratio = *p;
  } else if (name == "encoding") {
    const auto e = equalsIgnoringCase(value, "auto") ? Encoding::Auto : parseEncoding(value);
    if (!e) return bad("encoding") + " (expected auto, utf-8, gbk, gb18030 or big5)";
    o.encoding = *e;
  } else if (name == "output-encoding") {
    const auto e = parseEncoding(value);
    if (!e) return bad("output encoding") + " (expected utf-8, gbk, gb18030 or big5)";
    o.outputEncoding = *e;
  } else if (name == "format") {
    const auto f = parseFormat(value);
    if (!f) return bad("format") + " (expected text or json)";
    o.format = *f;
  } else if (name == "jobs") {
    const auto n = parseWholeNumber(value, kMaxJobs);
    if (!n) return bad("number of jobs") + " (expected 0 to " + std::to_string(kMaxJobs) + ")";
    o.jobs = static_cast<int>(*n);
  } else if (name == "max-bytes") {
    const auto n = parseByteCount(value);
    if (!n) return bad("byte count") + " (expected a whole number above 0, with K, M or G)";
    o.maxBytes = *n;
  } else if (name == "sample") {
    const auto s = parseSample(value);
    if (!s) return bad("sample") + " (expected 1, 2 or 3)";
    o.sample = *s;
  }
  return {};
}

// The combinations that make no sense together.
std::string checkCombination(const Options& o, bool explicitFormat) {
  const bool hasFile = o.file.has_value();
  const bool hasTitle = o.title || o.titleFile;
  if (o.jsonl) {
    if (hasFile || hasTitle || o.sample)
      return "--jsonl reads its records from standard input only";
    if ((o.encoding != Encoding::Auto && o.encoding != Encoding::Utf8) ||
        o.outputEncoding != Encoding::Utf8)
      return "--jsonl input and output are always UTF-8";
    if (explicitFormat && o.format != Format::Json) return "--jsonl always writes JSON";
  }
  if (o.jobs != 1 && !o.jsonl) return "--jobs works with --jsonl only";
  if (o.sample && (hasFile || hasTitle)) return "--sample replaces FILE and the title";
  if (o.titleFile == "-" && o.file.value_or("-") == "-") {
    return "standard input cannot hold both the title and the article";
  }
  return {};
}

}  // namespace

std::optional<int> parseLength(std::string_view text) {
  int n = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, n);
  if (text.empty() || ec != std::errc() || ptr != end || n < -1 || n > 3) return std::nullopt;
  return n;
}

std::optional<int> parseCount(std::string_view text) {
  int n = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, n);
  if (text.empty() || ec != std::errc() || ptr != end || n < 1) return std::nullopt;
  return n;
}

std::optional<double> parseRatio(std::string_view text) {
  // from_chars also reads "inf" and "nan"; a share starts with a digit.
  if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
  double p = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, p, std::chars_format::fixed);
  if (ec != std::errc() || ptr != end || !(p > 0 && p <= 100)) return std::nullopt;
  return p;
}

ParsedOptions parseOptions(std::span<const std::string_view> args) {
  ParsedOptions result;
  Options& o = result.options;
  bool explicitFormat = false;
  bool onlyFiles = false;
  std::string_view lengthOption;  // the length option given, if any
  const auto fail = [&](std::string message) {
    result.error = std::move(message);
    return result;
  };

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool isOption = !onlyFiles && arg.size() > 1 && arg[0] == '-';
    if (!isOption) {
      if (o.file) return fail("more than one FILE given");
      o.file = std::string(arg);
      continue;
    }
    if (arg == "--") {
      onlyFiles = true;
      continue;
    }

    // Split "--name=value", "--name", "-x value" and "-xvalue" into a name and
    // an optional attached value.
    std::string_view name;
    std::optional<std::string_view> attached;
    if (arg.starts_with("--")) {
      name = arg.substr(2);
      if (const auto eq = name.find('='); eq != std::string_view::npos) {
        attached = name.substr(eq + 1);
        name = name.substr(0, eq);
      }
    } else {
      const char letter = arg[1];
      if (letter == 'h') {
        name = "help";
      } else {
        for (const ValueOption& v : kValueOptions) {
          if (v.shortName == letter) name = v.longName;
        }
      }
      if (name.empty()) return fail("unknown option '" + std::string(arg) + "'");
      if (arg.size() > 2) attached = arg.substr(2);
    }

    if (name == "help" || name == "version" || name == "jsonl") {
      if (attached) {
        const std::string_view spelled =
            arg.starts_with("--") ? arg.substr(0, name.size() + 2) : arg.substr(0, 2);
        return fail("option '" + std::string(spelled) + "' takes no value");
      }
      if (name == "help") o.help = true;
      if (name == "version") o.version = true;
      if (name == "jsonl") o.jsonl = true;
      continue;
    }
    bool known = false;
    for (const ValueOption& v : kValueOptions) known = known || v.longName == name;
    if (!known) return fail("unknown option '" + std::string(arg) + "'");

    std::string_view value;
    if (attached) {
      value = *attached;
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return fail("option '" + std::string(arg) + "' needs a value");
    }
    if (name == "format") explicitFormat = true;
    if (isLengthOption(name)) {
      if (!lengthOption.empty() && lengthOption != name) {
        return fail("--" + std::string(lengthOption) + " and --" + std::string(name) +
                    " exclude each other: give one length");
      }
      lengthOption = name;
    }
    if (std::string error = applyValue(o, name, value); !error.empty()) return fail(error);
  }

  if (o.help || o.version) return result;
  if (std::string error = checkCombination(o, explicitFormat); !error.empty()) return fail(error);
  if (o.jsonl) o.format = Format::Json;
  return result;
}

}  // namespace abrivo::cli
