// abrivo-cli on bad and unusual input: bytes that are not valid in their
// encoding fail with the offset of the first bad byte and nothing on
// standard output; every valid text, however odd or large, gives a summary.
#include <gtest/gtest.h>

#include <ios>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "RunCli.h"
#include "abrivo/internal/text/Encoding.h"
#include "cli/Batch.h"
#include "cli/Cli.h"

namespace abrivo::cli {
namespace {

using testing::Outcome;
using testing::run;

using nlohmann::json;

TEST(CliBadInput, InvalidBytesFailWithTheirOffset) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    std::string message;
  } cases[] = {
      {"UTF-8: stray continuation byte",
       {"-e", "utf-8"},
       "The tree \x80 grows",
       "<stdin>: not valid UTF-8 at byte 9"},
      {"UTF-8: overlong form", {"-e", "utf-8"}, "ab\xC0\xAF", "<stdin>: not valid UTF-8 at byte 2"},
      {"UTF-8: surrogate",
       {"-e", "utf-8"},
       "\xE4\xB8\xAD\xED\xA0\x80",
       "<stdin>: not valid UTF-8 at byte 3"},
      {"UTF-8: beyond U+10FFFF",
       {"-e", "utf-8"},
       "\xF4\x90\x80\x80",
       "<stdin>: not valid UTF-8 at byte 0"},
      {"UTF-8: cut off at the end",
       {"-e", "utf-8"},
       "\xE4\xB8\xAD\xE6\x96",
       "<stdin>: not valid UTF-8 at byte 3"},
      {"UTF-8: 0xFF", {"-e", "utf-8", "-f", "json"}, "e\xFF", "<stdin>: not valid UTF-8 at byte 1"},
      {"UTF-8: bad headline",
       {"-e", "utf-8", "-t", "\xC3"},
       "The tree.",
       "--title: not valid UTF-8 at byte 0"},
      {"GBK: lead byte at the very end",
       {"-e", "gbk"},
       "\xB5\xC4\xB5",
       "<stdin>: not valid GBK at byte 2"},
      {"GBK: bad trail byte", {"-e", "gbk"}, "ab\xB5\x20", "<stdin>: not valid GBK at byte 2"},
      {"GBK: 0xFF", {"-e", "gbk"}, "\xB5\xC4\xFF\xA1", "<stdin>: not valid GBK at byte 2"},
      {"GBK: bad headline", {"-e", "gbk", "-t", "a\xB5"}, "e", "--title: not valid GBK at byte 1"},
      // iconv reads 0x80 as the euro sign, but the engine would take it for
      // a lead byte and step over the byte after it.
      {"GBK: 0x80 alone", {"-e", "gbk"}, "\xB5\xC4\x80", "<stdin>: not valid GBK at byte 2"},
      {"GBK: 0x80 before a character",
       {"-e", "gbk"},
       "ab\x80\xB5\xC4",
       "<stdin>: not valid GBK at byte 2"},
      {"GBK: 0x80 before ASCII",
       {"-e", "gbk"},
       "\x80"
       "abc",
       "<stdin>: not valid GBK at byte 0"},
      {"GBK: 0xFF before a trail byte",
       {"-e", "gbk"},
       "a\xFF\xA1",
       "<stdin>: not valid GBK at byte 1"},
      {"GBK: trail byte 0x7F",
       {"-e", "gbk"},
       "\xB5\xC4\xB5\x7F",
       "<stdin>: not valid GBK at byte 2"},
      {"GBK: trail byte 0xFF", {"-e", "gbk"}, "\xB5\xFF", "<stdin>: not valid GBK at byte 0"},
      {"GBK: 0x80 in the headline",
       {"-e", "gbk", "-t", "\xB5\xC4\x80"},
       "e",
       "--title: not valid GBK at byte 2"},
      {"GB18030: four-byte form cut off",
       {"-e", "gb18030"},
       "e\x81\x30\x81",
       "<stdin>: not valid GB18030 at byte 1"},
  };
  for (const auto& c : cases) {
    const Outcome r = run(c.args, c.input);
    EXPECT_EQ(r.code, kExitInputError) << c.name;
    EXPECT_EQ(r.out, "") << c.name;
    EXPECT_EQ(r.err, "abrivo-cli: " + c.message + "\n") << c.name;
  }
}

TEST(CliBadInput, UnusualTextGivesASummary) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    std::string out;
  } cases[] = {
      {"empty text", {}, "", "\n"},
      {"only spaces", {}, "   \n  ", "\n"},
      {"NUL characters",
       {},
       std::string("The tree\0 is green and\0 tall.", 30),
       "The tree is green and tall.\n"},
      {"CRLF",
       {},
       "The tree is green.\r\nThe tree is tall and old.\r\n",
       "The tree is green.The tree is tall and old.\n"},
      {"LF",
       {},
       "The tree is green.\nThe tree is tall and old.\n",
       "The tree is green.The tree is tall and old.\n"},
      {"CR",
       {},
       "The tree is green.\rThe tree is tall and old.\r",
       "The tree is green.The tree is tall and old.\n"},
      {"emoji and a rare ideograph, UTF-8",
       {},
       "渔民的新船😀今天下水，𠀀号船也出海。",
       "渔民的新船😀今天下水，𠀀号船也出海。\n"},
      {"emoji and a rare ideograph, GB18030",
       {"-e", "gb18030", "--output-encoding", "gb18030"},
       *utf8ToGb18030("渔民的新船😀今天下水，𠀀号船也出海。"),
       *utf8ToGb18030("渔民的新船😀今天下水，𠀀号船也出海。\n")},
      {"an emoji after an English lead-in comma",
       {},
       "Today,😀 the ferry leaves at seven.",
       "😀 the ferry leaves at seven.\n"},
  };
  for (const auto& c : cases) {
    const Outcome r = run(c.args, c.input);
    EXPECT_EQ(r.code, kExitOk) << c.name << ": " << r.err;
    EXPECT_EQ(r.out, c.out) << c.name;
  }
}

// A smaller version of the large inputs the program is measured on: a few
// megabytes of distinct sentences in each language complete, and the summary
// keeps to its budget.
TEST(CliBadInput, LargeInputCompletes) {
  std::string chinese, english;
  for (int i = 0; chinese.size() < (2u << 20); ++i) {
    chinese += "渔船" + std::to_string(i) + "号的船长今天清晨出海，傍晚带回了" +
               std::to_string(i % 97) + "箱渔获。\n";
  }
  for (int i = 0; english.size() < (2u << 20); ++i) {
    english += "Boat " + std::to_string(i) +
               " left the harbor at dawn, and the crew brought back " + std::to_string(i % 97) +
               " crates of fish.\n";
  }
  for (const std::string* text : {&chinese, &english}) {
    const Outcome r = run({"-l", "0"}, *text);
    ASSERT_EQ(r.code, kExitOk) << r.err;
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), '\n');
    const std::string summary = r.out.substr(0, r.out.size() - 1);
    EXPECT_FALSE(summary.empty());
    EXPECT_LE(utf8ToGb18030(summary)->size(), 400u) << summary;
  }
}

std::string nested(int levels) {
  return std::string(static_cast<std::size_t>(levels), '[') +
         std::string(static_cast<std::size_t>(levels), ']');
}

// Copying and writing JSON recurse once per level; a record nested deeper
// than 512 levels is refused in place instead of overflowing the stack, and
// the batch goes on.
TEST(CliBadInput, DeeplyNestedRecordsInABatch) {
  const std::string refused =
      R"({"id":null,"error":"the record is nested more than 512 levels deep"})";
  const struct {
    const char* name;
    std::string line;
    std::string id;  // the id of a summary, or empty for the refusal
  } cases[] = {
      {"id 100,000 levels deep", "{\"id\":" + nested(100000) + ",\"content\":\"The tree.\"}", ""},
      {"id 512 levels deep", "{\"id\":" + nested(511) + ",\"content\":\"The tree.\"}", nested(511)},
      {"id 513 levels deep", "{\"id\":" + nested(512) + ",\"content\":\"The tree.\"}", ""},
      {"another member deep", "{\"id\":1,\"x\":" + nested(100000) + ",\"content\":\"e\"}", ""},
      {"an array 100,000 levels deep", nested(100000), ""},
      {"brackets inside a string", "{\"id\":\"" + nested(1000) + "\",\"content\":\"e\"}",
       "\"" + nested(1000) + "\""},
  };
  std::string input;
  for (const auto& c : cases) input += c.line + "\n";
  std::istringstream in(input);
  std::ostringstream out, err;
  ASSERT_EQ(runBatch(in, out, err), 0);

  std::istringstream results(out.str());
  for (const auto& c : cases) {
    std::string result;
    ASSERT_TRUE(std::getline(results, result)) << c.name;
    if (c.id.empty()) {
      EXPECT_EQ(result, refused) << c.name;
    } else {
      EXPECT_TRUE(result.starts_with("{\"id\":" + c.id + ",\"language\":")) << c.name;
    }
  }
}

TEST(CliBadInput, OddBatchLines) {
  const struct {
    const char* name;
    std::string line;
    const char* key;  // "summary" or "error"
    std::string value;
  } cases[] = {
      {"NUL and CR in the content",
       R"({"id":1,"content":"The tree\u0000 is green.\rThe tree is tall and old."})", "summary",
       "The tree is green.The tree is tall and old."},
      {"emoji and a rare ideograph as escapes",
       R"({"content":"\u6e14\u6c11\u7684\u65b0\u8239\ud83d\ude00\u4eca\u5929\ud840\udc00\u4e0b\u6c34\u3002"})",
       "summary", "渔民的新船😀今天𠀀下水。"},
      {"invalid UTF-8 in a string", "{\"id\":2,\"content\":\"ab\xFF\"}", "error",
       "not valid JSON (at byte 21)"},
      {"lone surrogate escape", R"({"id":3,"content":"\ud800"})", "error",
       "not valid JSON (at byte 25)"},
      {"NUL after the record", std::string("{\"content\":\"e\"}\0x", 17), "error",
       "not valid JSON (at byte 15)"},
      {"exponent without digits", R"({"id":1e,"content":"x"})", "error",
       "not valid JSON (at byte 8)"},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> result = processRecordLine(c.line);
    ASSERT_TRUE(result) << c.name;
    const json parsed = json::parse(*result);
    EXPECT_EQ(parsed.value(c.key, "(none)"), c.value) << c.name << ": " << *result;
  }
}

// A record's id is copied as written, whatever number it holds; whitespace
// between its tokens goes, so the result stays on one line.
TEST(CliBadInput, IdsAreCopiedExactly) {
  const struct {
    std::string id;
    std::string copied;
  } cases[] = {
      {"12345678901234567890123", "12345678901234567890123"},
      {"-0", "-0"},
      {"1e400", "1e400"},
      {"-1E-400", "-1E-400"},
      {"1.50", "1.50"},
      {"0.1000000000000000000000001", "0.1000000000000000000000001"},
      {R"("caf\u00e9 \"x\"")", R"("caf\u00e9 \"x\"")"},
      {"{ \"a\" :\t[1 , 2.0e1] ,\r\"b\" : \" spaced \" }", R"({"a":[1,2.0e1],"b":" spaced "})"},
      {"true", "true"},
  };
  for (const auto& c : cases) {
    for (const char* content : {R"("The tree is green.")", "42"}) {
      const std::string line = "{\"id\":" + c.id + ",\"content\":" + content + "}";
      const std::optional<std::string> result = processRecordLine(line);
      ASSERT_TRUE(result) << line;
      EXPECT_TRUE(result->starts_with("{\"id\":" + c.copied + ",")) << *result;
    }
  }
}

// "length" is an integer from -1 to 3 as written: no fraction, no exponent,
// and nothing that wraps around when it is narrowed.
TEST(CliBadInput, LengthOutOfRangeIsRefused) {
  const std::string refused = "\"length\" is not an integer from -1 to 3";
  const struct {
    std::string length;
    bool accepted;
  } cases[] = {
      {"18446744073709551615", false},
      {"18446744073709551614", false},
      {"4294967295", false},
      {"9223372036854775808", false},
      {"-9223372036854775809", false},
      {"4", false},
      {"-2", false},
      {"1.0", false},
      {"1e0", false},
      {"\"1\"", false},
      {"null", false},
      {"-1", true},
      {"-0", true},
      {"3", true},
  };
  for (const auto& c : cases) {
    const std::string line = "{\"id\":1,\"content\":\"The tree.\",\"length\":" + c.length + "}";
    const json result = json::parse(*processRecordLine(line));
    EXPECT_EQ(result.value("error", ""), c.accepted ? "" : refused) << c.length;
  }
}

// Members are read in one pass: a record with a great many keys is read in
// time linear in its length, and a later duplicate replaces an earlier one.
TEST(CliBadInput, RecordWithManyKeys) {
  std::string line = "{\"id\":0,\"content\":\"Old leaves.\"";
  for (int i = 0; i < 100000; ++i) line += ",\"k" + std::to_string(i) + "\":" + std::to_string(i);
  line += ",\"id\":\"last\",\"\\u0063ontent\":\"The tree is green.\"}";
  const json result = json::parse(*processRecordLine(line));
  EXPECT_EQ(result["id"], "last");
  EXPECT_EQ(result["summary"], "The tree is green.");
}

// Runs --jsonl with the given extra arguments.
Outcome runBatchLines(std::vector<std::string> args, const std::string& input) {
  args.insert(args.begin(), "--jsonl");
  return run(args, input);
}

// A record longer than --max-bytes is refused without being held whole, and
// the batch goes on; a single article or headline over the limit exits 1.
TEST(CliBadInput, MaxBytes) {
  const std::string small = R"({"id":1,"content":"The tree is green."})";  // 39 bytes
  const std::string large = "{\"id\":2,\"content\":\"" + std::string(200000, 'a') + "\"}";
  const std::string refusedAt39 =
      R"x({"id":null,"error":"the record is larger than 38 bytes (see --max-bytes)"})x";
  const Outcome r = runBatchLines({"--max-bytes", "38"}, small + "\n" + large + "\n\n" + small);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, refusedAt39 + "\n" + refusedAt39 + "\n" + refusedAt39 + "\n");

  const Outcome fits = runBatchLines({"--max-bytes", "39"}, small + "\r\n" + large + "\n" + small);
  ASSERT_EQ(fits.code, 0);
  std::istringstream lines(fits.out);
  std::vector<std::string> got;
  for (std::string line; std::getline(lines, line);) got.push_back(line.substr(0, 30));
  EXPECT_EQ(got, (std::vector<std::string>{R"({"id":null,"error":"the record)",
                                           R"({"id":null,"error":"the record)",
                                           R"({"id":1,"language":"en","summa)"}))
      << "the CR of a CRLF line counts, the newline does not";

  const std::string article = "The tree is green. The tree is tall.";
  const struct {
    std::vector<std::string> args;
    int code;
    std::string err;
  } single[] = {
      {{"--max-bytes", "36"}, 0, ""},
      {{"--max-bytes", "35"},
       1,
       "abrivo-cli: cannot read <stdin>: larger than 35 bytes (see --max-bytes)\n"},
      {{"--max-bytes", "36", "--title-file", "-", "/dev/null"}, 0, ""},
      {{"--max-bytes", "35", "--title-file", "-", "/dev/null"},
       1,
       "abrivo-cli: cannot read <stdin>: larger than 35 bytes (see --max-bytes)\n"},
  };
  for (const auto& c : single) {
    const Outcome o = run(c.args, article);
    EXPECT_EQ(o.code, c.code) << o.err;
    EXPECT_EQ(o.err, c.err);
  }
}

// A stream that fails on its first read, as standard input does when it is a
// directory or closed.
class FailingSource : public std::streambuf {
 protected:
  int_type underflow() override {
    throw std::ios_base::failure("read failed", std::make_error_code(std::errc::is_a_directory));
  }
};

TEST(CliBadInput, ReadErrorOnStandardInput) {
  for (const auto& args :
       {std::vector<std::string_view>{}, {"--jsonl"}, {"--jsonl", "-j", "3"}, {"-t", "x", "-"}}) {
    FailingSource source;
    std::istream in(&source);
    std::ostringstream out, err;
    EXPECT_EQ(runCli(args, in, out, err), kExitInputError);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "abrivo-cli: cannot read <stdin>: Is a directory\n");
  }
}

}  // namespace
}  // namespace abrivo::cli
