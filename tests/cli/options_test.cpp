// The command line: accepted spellings, and every request that must be
// refused as a usage error rather than run.
#include "cli/Options.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace abrivo::cli {
namespace {

ParsedOptions parse(std::vector<std::string_view> args) {
  return parseOptions(args);
}

TEST(CliOptions, DefaultsReadStdinAutomaticallyAndWriteUtf8Text) {
  const ParsedOptions p = parse({});
  ASSERT_EQ(p.error, "");
  EXPECT_FALSE(p.options.file);
  EXPECT_FALSE(p.options.title);
  EXPECT_EQ(p.options.length.index, 0);
  EXPECT_FALSE(p.options.length.chars || p.options.length.sentences || p.options.length.ratio);
  EXPECT_EQ(p.options.sample, 0);
  EXPECT_EQ(p.options.encoding, Encoding::Auto);
  EXPECT_EQ(p.options.outputEncoding, Encoding::Utf8);
  EXPECT_EQ(p.options.format, Format::Text);
  EXPECT_FALSE(p.options.jsonl);
}

TEST(CliOptions, ShortLongAndAttachedSpellingsAgree) {
  for (const std::vector<std::string_view>& args : std::vector<std::vector<std::string_view>>{
           {"-t", "-x-", "-l", "-1", "-e", "GBK", "-f", "json", "a.txt"},
           {"--title", "-x-", "--length", "-1", "--encoding", "gbk", "--format", "json", "a.txt"},
           {"--title=-x-", "--length=-1", "--encoding=gbk", "--format=json", "a.txt"},
           {"-t-x-", "-l-1", "-egbk", "-fjson", "--", "a.txt"},
       }) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const ParsedOptions p = parse(args);
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.title, "-x-") << "a value may start with a dash";
    EXPECT_EQ(p.options.length.index, -1);
    EXPECT_EQ(p.options.encoding, Encoding::Gbk);
    EXPECT_EQ(p.options.format, Format::Json);
    EXPECT_EQ(p.options.file, "a.txt");
  }
}

TEST(CliOptions, OddButValidLines) {
  EXPECT_EQ(parse({"--", "-l"}).options.file, "-l") << "after -- everything is a file";
  EXPECT_EQ(parse({"-"}).options.file, "-");
  EXPECT_EQ(parse({"--sample", "3"}).options.sample, 3);
  EXPECT_EQ(parse({"--title-file", "-", "a.txt"}).error, "");
  const ParsedOptions batch = parse({"--jsonl", "-l", "2"});
  ASSERT_EQ(batch.error, "");
  EXPECT_EQ(batch.options.format, Format::Json);
  EXPECT_EQ(batch.options.length.index, 2) << "the length of records without one";
  EXPECT_TRUE(parse({"--bogus", "--help"}).error != "") << "options are checked in order";
  EXPECT_TRUE(parse({"--help", "--sample", "1", "a.txt"}).options.help);
}

TEST(CliOptions, UsageErrors) {
  const struct {
    std::vector<std::string_view> args;
    std::string_view message;
  } cases[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"-x"}, "unknown option '-x'"},
      {{"-l", "4"}, "invalid length '4'"},
      {{"-l", "-2"}, "invalid length '-2'"},
      {{"--length=1.5"}, "invalid length '1.5'"},
      {{"-l", "2x"}, "invalid length '2x'"},
      {{"-l", "+1"}, "invalid length '+1'"},
      {{"--length="}, "invalid length ''"},
      {{"-l"}, "option '-l' needs a value"},
      {{"-e", "latin1"}, "invalid encoding 'latin1'"},
      {{"-f", "xml"}, "invalid format 'xml'"},
      {{"--sample", "4"}, "invalid sample '4'"},
      {{"--version=2"}, "option '--version' takes no value"},
      {{"a.txt", "b.txt"}, "more than one FILE given"},
      {{"-t", "a", "--title-file", "t.txt"}, "give the title only once"},
      {{"--sample", "1", "a.txt"}, "--sample replaces FILE and the title"},
      {{"--sample", "2", "-t", "x"}, "--sample replaces FILE and the title"},
      {{"--title-file", "-"}, "standard input cannot hold both the title and the article"},
      {{"--jsonl", "a.txt"}, "--jsonl reads its records from standard input only"},
      {{"--jsonl", "-t", "x"}, "--jsonl reads its records from standard input only"},
      {{"--jsonl", "-e", "gbk"}, "--jsonl input and output are always UTF-8"},
      {{"--jsonl", "-f", "text"}, "--jsonl always writes JSON"},
      {{"--jsonl", "-j", "-1"}, "invalid number of jobs '-1'"},
      {{"--jsonl", "--jobs=1025"}, "invalid number of jobs '1025'"},
      {{"--jsonl", "-j", "2.5"}, "invalid number of jobs '2.5'"},
      {{"-j", "2"}, "--jobs works with --jsonl only"},
      {{"--max-bytes", "0"}, "invalid byte count '0'"},
      {{"--max-bytes", "-5"}, "invalid byte count '-5'"},
      {{"--max-bytes", "1k"}, "invalid byte count '1k'"},
      {{"--max-bytes", "M"}, "invalid byte count 'M'"},
      {{"--max-bytes", "18446744073709551615G"}, "invalid byte count"},
      {{"--max-bytes", "17179869184G"}, "invalid byte count"},
      {{"--jsonl", "-e", "big5"}, "--jsonl input and output are always UTF-8"},
      {{"--jsonl", "--output-encoding", "gb18030"}, "--jsonl input and output are always UTF-8"},
      {{"--output-encoding", "auto"}, "invalid output encoding 'auto'"},
      {{"--output-encoding", "latin1"}, "invalid output encoding 'latin1'"},
      {{"-e", "big5-hkscs"}, "invalid encoding 'big5-hkscs'"},
      {{"--chars"}, "option '--chars' needs a value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const std::string error = parse(c.args).error;
    EXPECT_EQ(error.substr(0, c.message.size()), c.message);
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
}

TEST(CliOptions, JobsAndMaxBytes) {
  const struct {
    std::vector<std::string_view> args;
    int jobs;
    std::size_t maxBytes;
  } cases[] = {
      {{"--jsonl"}, 1, std::size_t{64} << 20},
      {{"--jsonl", "-j", "0"}, 0, kDefaultMaxBytes},
      {{"--jsonl", "-j4"}, 4, kDefaultMaxBytes},
      {{"--jsonl", "--jobs=1024"}, 1024, kDefaultMaxBytes},
      {{"-j", "1", "--max-bytes", "1"}, 1, 1},
      {{"--max-bytes=3K"}, 1, 3 << 10},
      {{"--max-bytes", "5M"}, 1, 5 << 20},
      {{"--max-bytes", "2G"}, 1, std::size_t{2} << 30},
      {{"--max-bytes", "123456789"}, 1, 123456789},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const ParsedOptions parsed = parse(c.args);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.jobs, c.jobs);
    EXPECT_EQ(parsed.options.maxBytes, c.maxBytes);
  }
}

TEST(CliOptions, Encodings) {
  const struct {
    std::vector<std::string_view> args;
    Encoding input, output;
  } cases[] = {
      {{"-e", "auto"}, Encoding::Auto, Encoding::Utf8},
      {{"-e", "UTF-8"}, Encoding::Utf8, Encoding::Utf8},
      {{"-e", "gbk"}, Encoding::Gbk, Encoding::Utf8},
      {{"-e", "Big5"}, Encoding::Big5, Encoding::Utf8},
      {{"--output-encoding", "gbk"}, Encoding::Auto, Encoding::Gbk},
      {{"--output-encoding=GB18030", "-e", "gb18030"}, Encoding::Gb18030, Encoding::Gb18030},
      {{"--output-encoding", "big5"}, Encoding::Auto, Encoding::Big5},
      {{"--jsonl", "-e", "utf-8", "--output-encoding", "utf-8"}, Encoding::Utf8, Encoding::Utf8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const ParsedOptions p = parse(c.args);
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.encoding, c.input);
    EXPECT_EQ(p.options.outputEncoding, c.output);
  }
}

// The values the three length modes accept, and the nearest ones they refuse.
TEST(CliOptions, LengthModeValues) {
  const struct {
    std::vector<std::string_view> args;
    std::optional<int> chars, sentences;
    std::optional<double> ratio;
    std::string_view error;  // the start of the usage error, or empty
  } cases[] = {
      {{"--chars", "1"}, 1, {}, {}, ""},
      {{"--chars=2147483647"}, INT_MAX, {}, {}, ""},
      {{"--chars", "200", "--chars", "300"}, 300, {}, {}, ""},
      {{"--sentences", "3"}, {}, 3, {}, ""},
      {{"--ratio", "0.001"}, {}, {}, 0.001, ""},
      {{"--ratio", "100"}, {}, {}, 100, ""},
      {{"--ratio=12.5"}, {}, {}, 12.5, ""},
      {{"--ratio", "7."}, {}, {}, 7, ""},
      {{"--chars", "0"}, {}, {}, {}, "invalid chars '0'"},
      {{"--chars", "-1"}, {}, {}, {}, "invalid chars '-1'"},
      {{"--chars", "2147483648"}, {}, {}, {}, "invalid chars '2147483648'"},
      {{"--chars", "1.5"}, {}, {}, {}, "invalid chars '1.5'"},
      {{"--chars", "+3"}, {}, {}, {}, "invalid chars '+3'"},
      {{"--sentences", "0"}, {}, {}, {}, "invalid sentences '0'"},
      {{"--sentences="}, {}, {}, {}, "invalid sentences ''"},
      {{"--ratio", "0"}, {}, {}, {}, "invalid ratio '0'"},
      {{"--ratio", "0.0"}, {}, {}, {}, "invalid ratio '0.0'"},
      {{"--ratio", "100.1"}, {}, {}, {}, "invalid ratio '100.1'"},
      {{"--ratio", "100.000001"}, {}, {}, {}, "invalid ratio '100.000001'"},
      {{"--ratio", "-5"}, {}, {}, {}, "invalid ratio '-5'"},
      {{"--ratio", "1e1"}, {}, {}, {}, "invalid ratio '1e1'"},
      {{"--ratio", "inf"}, {}, {}, {}, "invalid ratio 'inf'"},
      {{"--ratio", "nan"}, {}, {}, {}, "invalid ratio 'nan'"},
      {{"--ratio", ".5"}, {}, {}, {}, "invalid ratio '.5'"},
      {{"--ratio", "10%"}, {}, {}, {}, "invalid ratio '10%'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const ParsedOptions p = parse(c.args);
    if (!c.error.empty()) {
      EXPECT_EQ(p.error.substr(0, c.error.size()), c.error);
      continue;
    }
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.length.index, 0);
    EXPECT_EQ(p.options.length.chars, c.chars);
    EXPECT_EQ(p.options.length.sentences, c.sentences);
    EXPECT_EQ(p.options.length.ratio, c.ratio);
  }
}

}  // namespace
}  // namespace abrivo::cli
