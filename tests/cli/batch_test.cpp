// Batch mode: one result per record in input order, bad records reported in
// place, every result the same as a single run, and each result written out
// before the next record is read.
#include "cli/Batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "Articles.h"
#include "cli/Cli.h"

namespace abrivo::cli {
namespace {

using nlohmann::json;
using namespace abrivo::cli::testing;

std::string jsonString(std::string_view text) {
  return json(std::string(text)).dump();
}

// The JSON a single run prints for these arguments and standard input,
// without its final newline.
std::string singleRun(std::vector<std::string_view> args, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out, err;
  EXPECT_EQ(runCli(args, in, out, err), 0) << err.str();
  std::string text = out.str();
  text.pop_back();
  return text;
}

// The single-run object with "id" put first.
std::string withId(std::string_view id, const std::string& single) {
  return "{\"id\":" + std::string(id) + "," + single.substr(1);
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

TEST(CliBatch, ResultsAndErrorsInInputOrder) {
  const std::string en(kEnglishArticle), zh(kChineseArticle);
  const std::string input = "{\"id\":7,\"title\":" + jsonString(kEnglishTitle) +
                            ",\"content\":" + jsonString(en) +
                            ",\"length\":0}\n"
                            "{\"id\": 8, \"content\": \"unfinished\n"
                            "\n"
                            "  \r\n"
                            "{\"content\":" +
                            jsonString(zh) + ",\"title\":" + jsonString(kChineseTitle) +
                            "}\r\n"
                            "{\"id\":\"no content\"}\n"
                            "{\"id\":{\"k\":[1]},\"content\":42}\n"
                            "{\"id\":3,\"content\":\"x\",\"length\":4}\n"
                            "{\"id\":4,\"content\":\"x\",\"length\":1.0}\n"
                            "{\"id\":5,\"content\":\"x\",\"title\":null}\n"
                            "[1,2]\n"
                            "{\"content\":\"ab\xFF\"}\n"
                            "{\"id\":\"last\",\"content\":" +
                            jsonString(en) + "}";  // no final newline

  const std::vector<std::string_view> args = {"--jsonl", "-l", "2"};
  std::istringstream in(input);
  std::ostringstream out, err;
  ASSERT_EQ(runCli(args, in, out, err), 0);
  EXPECT_EQ(err.str(), "");

  const std::string english0 = singleRun({"-f", "json", "-l", "0", "-t", kEnglishTitle}, en);
  const std::vector<std::string> expected = {
      withId("7", english0),
      R"x({"id":null,"error":"not valid JSON (at byte 32)"})x",
      withId("null", singleRun({"-f", "json", "-l", "2", "-t", kChineseTitle}, zh)),
      R"({"id":"no content","error":"\"content\" is missing"})",
      R"({"id":{"k":[1]},"error":"\"content\" is not a string"})",
      R"({"id":3,"error":"\"length\" is not an integer from -1 to 3"})",
      R"({"id":4,"error":"\"length\" is not an integer from -1 to 3"})",
      R"({"id":5,"error":"\"title\" is not a string"})",
      R"({"id":null,"error":"the record is not a JSON object"})",
      R"x({"id":null,"error":"not valid JSON (at byte 14)"})x",
      withId("\"last\"", singleRun({"-f", "json", "-l", "2"}, en)),
  };
  const std::vector<std::string> got = lines(out.str());
  ASSERT_EQ(got.size(), expected.size()) << out.str();
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], expected[i]) << "line " << i;
  EXPECT_NE(expected.front(), expected.back()) << "title and length must reach the engine";
}

TEST(CliBatch, BlankLinesGiveNoResult) {
  for (std::string_view line : {"", " ", "\r", "\t \r"}) {
    EXPECT_EQ(processRecordLine(line), std::nullopt) << ::testing::PrintToString(line);
  }
}

// Lines handed out one at a time, with a check before each.
class LineSource : public std::streambuf {
 public:
  LineSource(std::vector<std::string> lines, std::function<void(std::size_t)> beforeLine)
      : m_lines(std::move(lines)), m_beforeLine(std::move(beforeLine)) {}

 protected:
  int_type underflow() override {
    if (m_next == m_lines.size()) return traits_type::eof();
    m_beforeLine(m_next);
    m_current = m_lines[m_next++] + "\n";
    setg(m_current.data(), m_current.data(), m_current.data() + m_current.size());
    return traits_type::to_int_type(m_current[0]);
  }

 private:
  std::vector<std::string> m_lines;
  std::function<void(std::size_t)> m_beforeLine;
  std::size_t m_next = 0;
  std::string m_current;
};

// Output that becomes visible only when flushed, as through a pipe.
class FlushedSink : public std::streambuf {
 public:
  std::string visible;

 protected:
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) m_pending += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    m_pending.append(s, static_cast<std::size_t>(n));
    return n;
  }
  int sync() override {
    visible += m_pending;
    m_pending.clear();
    return 0;
  }

 private:
  std::string m_pending;
};

TEST(CliBatch, EachResultIsFlushedBeforeTheNextRecordIsRead) {
  FlushedSink sink;
  std::vector<std::size_t> visibleBefore;
  LineSource source(
      {R"({"id":1,"content":"The tree."})", "not json", R"({"id":3,"content":"Green leaves."})"},
      [&](std::size_t) { visibleBefore.push_back(lines(sink.visible).size()); });
  std::istream in(&source);
  std::ostream out(&sink);
  std::ostringstream err;
  EXPECT_EQ(runBatch(in, out, err), 0);
  EXPECT_EQ(visibleBefore, (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_EQ(lines(sink.visible).size(), 3u);
}

// A few hundred records of every kind: articles in both languages at every
// length, headlines, bad records, blank lines and a record over the limit.
std::string mixedRecords() {
  const std::string en(kEnglishArticle), zh(kChineseArticle);
  const auto prefix = [](const std::string& text, std::size_t size) {  // whole UTF-8 characters
    while (size < text.size() && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
    return text.substr(0, size);
  };
  std::string input;
  for (int i = 0; i < 320; ++i) {
    const std::string id = std::to_string(i);
    switch (i % 8) {
      case 0:
        input += "{\"id\":" + id + ",\"content\":" + jsonString(prefix(en, 200 + i * 3)) + "}";
        break;
      case 1:
        input += "{\"id\":" + id + ",\"title\":" + jsonString(kChineseTitle) +
                 ",\"content\":" + jsonString(zh) + ",\"length\":" + std::to_string(i % 5 - 1) +
                 "}";
        break;
      case 2:
        input += "\n  \r";
        break;
      case 3:
        input += "{\"id\":" + id + ",\"content\":" + jsonString(prefix(zh, 300 + 2 * i)) + "}";
        break;
      case 4:
        input += i % 3 ? "{\"id\":" + id + ",\"content\":7}" : "not json " + id;
        break;
      case 5:
        input += "{\"id\":" + id + ",\"content\":\"" + std::string(5000, 'x') + "\"}";
        break;
      case 6:
        input += "{\"id\":" + id + ",\"title\":" + jsonString(kEnglishTitle) +
                 ",\"content\":" + jsonString(en) + ",\"length\":9}";
        break;
      default:
        input += "{\"id\":\"" + id + "\",\"content\":" + jsonString(en) + "}";
    }
    input += '\n';
  }
  return input;
}

std::string batchOutput(const std::string& input, int jobs) {
  Options options;
  options.jobs = jobs;
  options.length.index = 1;
  options.maxBytes = 4096;
  std::istringstream in(input);
  std::ostringstream out, err;
  EXPECT_EQ(runBatch(in, out, err, options), 0) << err.str();
  EXPECT_EQ(err.str(), "");
  return out.str();
}

TEST(CliBatch, ParallelOutputIsTheSameAsOneJob) {
  const std::string input = mixedRecords();
  const std::string one = batchOutput(input, 1);
  const std::vector<std::string> results = lines(one);
  ASSERT_EQ(results.size(), 280u);
  EXPECT_TRUE(results.front().starts_with("{\"id\":0,\"language\":\"en\"")) << results.front();
  EXPECT_TRUE(results[4].starts_with("{\"id\":null,\"error\":\"the record is larger"))
      << results[4];
  for (const int jobs : {2, 3, 8, 0}) EXPECT_TRUE(one == batchOutput(input, jobs)) << jobs;
}

// Counts the lines written; the count may be read from another thread.
class LineCounter : public std::streambuf {
 public:
  std::atomic<std::size_t> lines{0};

 protected:
  int_type overflow(int_type c) override {
    if (c == '\n') ++lines;
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    lines += static_cast<std::size_t>(std::count(s, s + n, '\n'));
    return n;
  }
};

// With several jobs the reader stays a bounded number of records ahead of
// the output, however long the input is.
TEST(CliBatch, ParallelRunHoldsABoundedWindow) {
  std::vector<std::string> records;
  for (int i = 0; i < 200; ++i)
    records.push_back("{\"id\":" + std::to_string(i) +
                      ",\"content\":" + jsonString(kEnglishArticle) + "}");
  LineCounter sink;
  std::size_t furthestAhead = 0;  // read by the reader thread only
  LineSource source(records, [&](std::size_t line) {
    furthestAhead = std::max(furthestAhead, line - std::min(line, sink.lines.load()));
  });
  std::istream in(&source);
  std::ostream out(&sink);
  std::ostringstream err;
  Options options;
  options.jobs = 2;
  EXPECT_EQ(runBatch(in, out, err, options), 0);
  EXPECT_EQ(sink.lines.load(), 200u);
  EXPECT_LE(furthestAhead, 9u) << "a window of 8 records and the one being read";
}

}  // namespace
}  // namespace abrivo::cli
