// abrivo-cli on bad and unusual input: bytes that are not valid in their
// encoding fail with the offset of the first bad byte and nothing on
// standard output; every valid text, however odd or large, gives a summary.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "abrivo/internal/text/Encoding.h"
#include "cli/Batch.h"
#include "cli/Cli.h"

namespace abrivo::cli {
namespace {

using nlohmann::json;

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

Outcome run(const std::vector<std::string>& args, const std::string& input) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  std::istringstream in(input);
  std::ostringstream out, err;
  const int code = runCli(views, in, out, err);
  return {code, out.str(), err.str()};
}

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
      {"number out of range", R"({"id":1e999,"content":"x"})", "error", "not valid JSON"},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> result = processRecordLine(c.line);
    ASSERT_TRUE(result) << c.name;
    const json parsed = json::parse(*result);
    EXPECT_EQ(parsed.value(c.key, "(none)"), c.value) << c.name << ": " << *result;
  }
}

}  // namespace
}  // namespace abrivo::cli
