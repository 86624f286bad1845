// abrivo-cli run in process: its output agrees with the run the window makes
// on the same text, every way of giving the input yields the same output,
// and bad input fails with the right status and message and no output.
#include "cli/Cli.h"
#include "RunCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "Articles.h"
#include "Samples.h"
#include "abrivo/internal/Engine.h"
#include "abrivo/internal/text/Encoding.h"
#include "support/Gbk.h"

namespace abrivo::cli {
namespace {

using nlohmann::json;
using namespace abrivo::cli::testing;

class TempDir {
 public:
  TempDir() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    m_path = std::filesystem::path(::testing::TempDir()) /
             ("abrivo_cli_" + std::string(test->test_suite_name()) + "_" + test->name());
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
  }
  ~TempDir() { std::filesystem::remove_all(m_path); }

  std::string write(const std::string& name, std::string_view bytes) const {
    const std::string path = (m_path / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::string path() const { return m_path.string(); }

 private:
  std::filesystem::path m_path;
};

// The run the window makes: UTF-8 text with "\r\n" line breaks, converted to
// the engine's bytes, then the start button.
void runAsWindow(Engine& engine, std::string_view title, std::string_view article, int length) {
  engine.controls.标题框 = abrivo::testing::gbk(toEngineLineBreaks(title));
  engine.controls.内容框 = abrivo::testing::gbk(toEngineLineBreaks(article));
  engine.controls.组合框1 = length;
  engine.runSummary();
}

std::string shown(std::string_view engineBytes) {
  return fromEngineLineBreaks(gb18030ToUtf8Lenient(engineBytes));
}

long long number(std::string_view cell) {
  return std::stoll(std::string(cell));
}

// The typed JSON holds what the window shows: the keyword line and its
// terms, the status line and its two numbers, the tables with numbers as
// numbers, and the summary's sentences marked by the candidate table's size.
void expectSameAsEngine(const json& result, const Engine& engine) {
  EXPECT_EQ(result.at("summary"), shown(engine.controls.编辑框1));
  const std::string status = shown(engine.controls.标签2);
  EXPECT_EQ(result.at("status"), status);
  const json& sizes = result.at("sizes");
  EXPECT_EQ(status,
            "原文" + sizes.at("article").dump() + "字，摘要" + sizes.at("summary").dump() + "字");

  const std::string keywordLine = shown(engine.controls.标签3);
  EXPECT_EQ(result.at("keyword_line"), keywordLine);
  const std::string prefix = "关键词：";
  ASSERT_TRUE(keywordLine.starts_with(prefix));
  json words = json::array();
  std::istringstream rest(keywordLine.substr(prefix.size()));
  for (std::string word; rest >> word;) words.push_back(word);
  EXPECT_EQ(result.at("keywords"), words);

  const json& terms = result.at("terms");
  ASSERT_EQ(terms.size(), static_cast<std::size_t>(engine.termTable().rowCount()));
  for (int r = 0; r < engine.termTable().rowCount(); ++r) {
    const json& t = terms[static_cast<std::size_t>(r)];
    EXPECT_EQ(t, json({{"term", shown(engine.termTable().cell(r, 0))},
                       {"weight", number(engine.termTable().cell(r, 1))}}));
    EXPECT_TRUE(t.at("weight").is_number_integer());
  }
  const json& sentences = result.at("sentences");
  const Table& table = engine.sentenceTable();
  ASSERT_EQ(sentences.size(), static_cast<std::size_t>(table.rowCount()));
  std::size_t selected = 0;
  for (int r = 0; r < table.rowCount(); ++r) {
    const json& x = sentences[static_cast<std::size_t>(r)];
    const long long rank = number(table.cell(r, 1));
    EXPECT_EQ(x, json({{"text", shown(table.cell(r, 0))},
                       {"rank", rank},
                       {"position", number(table.cell(r, 2))},
                       {"selected", rank <= engine.candidateTable().rowCount()}}));
    selected += x.at("selected").get<bool>();
  }
  EXPECT_GE(selected, 1u) << "a summary holds at least one sentence";
}

struct Article {
  std::string_view title;
  std::string_view text;
  std::string_view language;
};
const Article kArticles[] = {
    {kChineseTitle, kChineseArticle, "zh"},
    {kEnglishTitle, kEnglishArticle, "en"},
};

TEST(CliOutput, AgreesWithTheWindowsRun) {
  TempDir dir;
  for (const Article& a : kArticles) {
    const std::string file = dir.write("article.txt", a.text);
    for (int length : {-1, 0, 3}) {
      SCOPED_TRACE(std::string(a.language) + " length " + std::to_string(length));
      Engine engine;
      runAsWindow(engine, a.title, a.text, length);
      ASSERT_GT(engine.sentenceTable().rowCount(), 0);

      const std::vector<std::string> common = {"-t", std::string(a.title), "-l",
                                               std::to_string(length), file};
      std::vector<std::string> args = common;
      args.insert(args.begin(), {"-f", "json"});
      const Outcome j = run(args);
      ASSERT_EQ(j.code, 0) << j.err;
      ASSERT_EQ(j.out.back(), '\n');
      EXPECT_EQ(j.out.find('\n'), j.out.size() - 1) << "one object on one line";
      const json result = json::parse(j.out);
      const std::vector<std::string> keys = {"language", "summary", "keywords", "keyword_line",
                                             "status",   "sizes",   "terms",    "sentences"};
      std::vector<std::string> order;
      const auto ordered = nlohmann::ordered_json::parse(j.out);
      for (const auto& item : ordered.items()) order.push_back(item.key());
      EXPECT_EQ(order, keys);
      EXPECT_EQ(result.at("language"), a.language);
      expectSameAsEngine(result, engine);

      const Outcome t = run(common);
      ASSERT_EQ(t.code, 0) << t.err;
      EXPECT_EQ(t.out, shown(engine.controls.编辑框1) + "\n");
      EXPECT_EQ(t.err, "");
    }
  }
}

TEST(CliOutput, TextWithoutLanguageGivesNull) {
  const Outcome r = run({"-f", "json"}, "12345 67890");
  ASSERT_EQ(r.code, 0);
  const json result = json::parse(r.out);
  EXPECT_TRUE(result.at("language").is_null());
  EXPECT_EQ(result.at("summary"), "");
  EXPECT_EQ(result.at("keywords"), json::array());
  EXPECT_TRUE(result.at("sizes").at("summary").is_number());
  for (const json& sentence : result.at("sentences")) EXPECT_FALSE(sentence.at("selected"));
}

TEST(CliOutput, SamplesAreTheBuiltInPairs) {
  for (int n = 1; n <= samples::kCount; ++n) {
    SCOPED_TRACE(n);
    const samples::SamplePair pair = samples::sample(n);
    Engine engine;
    runAsWindow(engine, pair.title, pair.article, 2);
    const Outcome r = run({"--sample", std::to_string(n), "-f", "json", "-l", "2"});
    ASSERT_EQ(r.code, 0) << r.err;
    expectSameAsEngine(json::parse(r.out), engine);
  }
}

// A file, standard input, "-", CRLF line breaks, a byte order mark and a
// title file with its final newline all reach the engine as the same text.
TEST(CliInput, EveryWayOfGivingTheSameTextAgrees) {
  TempDir dir;
  for (const Article& a : kArticles) {
    SCOPED_TRACE(a.language);
    const std::string text(a.text);
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string title(a.title);
    const std::string file = dir.write("a.txt", text);
    const std::string titleFile = dir.write("t.txt", title + "\n");

    const Outcome reference = run({"-f", "json", "-t", title, file});
    ASSERT_EQ(reference.code, 0) << reference.err;
    const Outcome variants[] = {
        run({"-f", "json", "-t", title}, text),
        run({"-f", "json", "-t", title, "-"}, text),
        run({"-f", "json", "-t", title}, crlf),
        run({"-f", "json", "-t", title, dir.write("bom.txt", "\xEF\xBB\xBF" + text)}),
        run({"-f", "json", "--title-file", titleFile, file}),
        run({"-f", "json", "--title-file", titleFile}, text),
        run({"-f", "json", "--title-file", "-", file}, title + "\r\n"),
    };
    for (const Outcome& v : variants) {
      EXPECT_EQ(v.code, 0) << v.err;
      EXPECT_EQ(v.out, reference.out);
    }
  }
}

// -e names the input's encoding only; the output is UTF-8 unless
// --output-encoding says otherwise.
TEST(CliInput, GbkAndGb18030RoundTrip) {
  TempDir dir;
  const std::string title = abrivo::testing::gbk(kChineseTitle);
  const std::string file = dir.write("gbk.txt", abrivo::testing::gbk(kChineseArticle));
  Engine engine;
  runAsWindow(engine, kChineseTitle, kChineseArticle, 1);
  const Outcome utf8Json = run({"-f", "json", "-l", "1", "-t", std::string(kChineseTitle)},
                               std::string(kChineseArticle));
  ASSERT_EQ(utf8Json.code, 0);

  for (const std::string encoding : {"gbk", "gb18030", "auto"}) {
    SCOPED_TRACE(encoding);
    const Outcome text = run({"-e", encoding, "-l", "1", "-t", title, file});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out, shown(engine.controls.编辑框1) + "\n");

    const Outcome j = run({"-e", encoding, "-f", "json", "-l", "1", "-t", title, file});
    ASSERT_EQ(j.code, 0) << j.err;
    EXPECT_EQ(j.out, utf8Json.out);

    const Outcome back = run({"-e", encoding, "--output-encoding",
                              encoding == "auto" ? "gbk" : encoding, "-l", "1", "-t", title, file});
    ASSERT_EQ(back.code, 0) << back.err;
    EXPECT_EQ(back.out, fromEngineLineBreaks(engine.controls.编辑框1) + "\n")
        << "the engine's own bytes";
  }
}

TEST(CliInput, GbkIsCheckedStrictlyButGb18030AcceptsItsOwnCharacters) {
  const std::string de = "\xB5\xC4";                 // 的 in GBK
  const std::string beyondGbk = "\x81\x30\x81\x30";  // U+0080, GB18030 only
  EXPECT_EQ(run({"-e", "gb18030"}, de + beyondGbk).code, 0);
  const Outcome gbk = run({"-e", "gbk"}, de + beyondGbk);
  EXPECT_EQ(gbk.code, 1);
  EXPECT_EQ(gbk.err, "abrivo-cli: <stdin>: not valid GBK at byte 2\n");
}

TEST(CliErrors, InputErrorsNameTheSourceAndWriteNothing) {
  const std::string kNorGb18030 = ", nor GB18030 (name the encoding with -e)";
  TempDir dir;
  const std::string missing = dir.path() + "/missing.txt";
  const std::string badUtf8 = dir.write("bad.txt", "ab\xC3(cd");
  const std::string good = dir.write("good.txt", "The tree.");
  const struct {
    std::vector<std::string> args;
    std::string input;
    std::string message;
  } cases[] = {
      {{missing}, "", "cannot read " + missing + ": No such file or directory"},
      {{dir.path()}, "", "cannot read " + dir.path() + ": Is a directory"},
      {{"--title-file", missing, good},
       "",
       "cannot read " + missing + ": No such file or directory"},
      {{badUtf8}, "", badUtf8 + ": not valid UTF-8 at byte 2" + kNorGb18030},
      {{"-e", "utf-8", badUtf8}, "", badUtf8 + ": not valid UTF-8 at byte 2"},
      {{"-f", "json", "-"}, "The tree\xFF", "<stdin>: not valid UTF-8 at byte 8" + kNorGb18030},
      {{},
       "\xEF\xBB\xBF"
       "ab\xE4\xB8",
       "<stdin>: not valid UTF-8 at byte 5"},
      {{"-e", "gb18030"}, "a\xB5", "<stdin>: not valid GB18030 at byte 1"},
      {{"-t", "ok\xFF", good}, "", "--title: not valid UTF-8 at byte 2" + kNorGb18030},
      {{"--title-file", badUtf8, good}, "", badUtf8 + ": not valid UTF-8 at byte 2" + kNorGb18030},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const Outcome r = run(c.args, c.input);
    EXPECT_EQ(r.code, kExitInputError);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "abrivo-cli: " + c.message + "\n");
  }
}

TEST(CliErrors, UsageErrorsGiveOneLineAndAHint) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--bogus"}, {"-l", "7"}, {"-l"}, {"a", "b"}, {"--jsonl", "-e", "gbk"}}) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const Outcome r = run(args, "The tree.");
    EXPECT_EQ(r.code, kExitUsage);
    EXPECT_EQ(r.out, "");
    const auto firstLine = r.err.find('\n');
    ASSERT_NE(firstLine, std::string::npos);
    EXPECT_TRUE(r.err.starts_with("abrivo-cli: "));
    EXPECT_EQ(r.err.substr(firstLine + 1), "Try 'abrivo-cli --help' for more information.\n");
  }
}

TEST(CliInfo, HelpAndVersion) {
  const Outcome help = run({"-h"});
  EXPECT_EQ(help.code, 0);
  for (const char* name :
       {"--title", "--title-file", "--length", "--chars", "--sentences", "--ratio", "--encoding",
        "--output-encoding", "big5", "--format", "keyword_line", "\"selected\"", "--jsonl",
        "--sample", "--version", "--help"}) {
    EXPECT_NE(help.out.find(name), std::string::npos) << name;
  }
  EXPECT_EQ(run({"--help"}).out, help.out);
  const Outcome version = run({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out, "abrivo-cli " ABRIVO_TEST_VERSION "\n");
}

}  // namespace
}  // namespace abrivo::cli
