// Length modes of abrivo-cli: --chars N is the length list's own rule,
// --sentences N keeps the N best sentences, --ratio P a share of the
// article's size; one mode at most, on the command line and in --jsonl
// records. The typed JSON keeps every stored conformance value.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "Articles.h"
#include "RunCli.h"
#include "Samples.h"
#include "cli/Batch.h"
#include "cli/Cli.h"

namespace abrivo::cli {
namespace {

using nlohmann::json;
using namespace abrivo::cli::testing;

// The JSON of a successful run.
json runJson(std::vector<std::string> args, const std::string& input = {}) {
  args.insert(args.begin(), {"-f", "json"});
  const Outcome r = run(args, input);
  EXPECT_EQ(r.code, 0) << r.err;
  return r.code == 0 ? json::parse(r.out) : json();
}

std::vector<json> conformanceCases() {
  std::ifstream in(ABRIVO_CONFORMANCE_FILE);
  EXPECT_TRUE(in) << ABRIVO_CONFORMANCE_FILE;
  std::vector<json> cases;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) cases.push_back(json::parse(line));
  }
  return cases;
}

// The typed JSON in the shape the fixture stores: the keyword line as
// "keywords", table cells as the texts the tables hold.
json storedShape(const json& result) {
  json stored;
  for (const char* field : {"language", "summary", "status"}) stored[field] = result.at(field);
  stored["keywords"] = result.at("keyword_line");
  stored["terms"] = json::array();
  for (const json& t : result.at("terms")) {
    stored["terms"].push_back({t.at("term"), std::to_string(t.at("weight").get<long long>())});
  }
  stored["sentences"] = json::array();
  for (const json& s : result.at("sentences")) {
    stored["sentences"].push_back({s.at("text"), std::to_string(s.at("rank").get<int>()),
                                   std::to_string(s.at("position").get<int>())});
  }
  return stored;
}

std::string withoutQuotes(std::string text) {
  for (const std::string_view quote : {"\u201C", "\u201D", "\""}) {
    for (std::size_t at; (at = text.find(quote)) != std::string::npos;)
      text.erase(at, quote.size());
  }
  return text;
}

// abrivo-cli -f json on every conformance case gives the stored values, and
// --chars 200, 300, 400 and 500 give exactly what -l 0, 1, 2 and 3 give,
// in a single run and in --jsonl records alike.
TEST(CliLengthModes, CharsEqualTheListOnEveryConformanceCase) {
  const std::vector<json> cases = conformanceCases();
  ASSERT_EQ(cases.size(), 100u);
  std::string batch;
  std::vector<std::string> singles;
  for (const json& c : cases) {
    const std::string id = c.at("id");
    SCOPED_TRACE(id);
    const std::string title = c.at("title"), content = c.at("content");
    const json stored = runJson(
        {"-e", "utf-8", "-l", std::to_string(c.at("length").get<int>()), "-t", title}, content);
    EXPECT_EQ(storedShape(stored), c.at("expected"));

    for (int index = 0; index <= 3; ++index) {
      const std::string chars = std::to_string(200 + 100 * index);
      const Outcome list = run({"-f", "json", "-l", std::to_string(index), "-t", title}, content);
      const Outcome byChars = run({"-f", "json", "--chars", chars, "-t", title}, content);
      ASSERT_EQ(list.code, 0) << list.err;
      EXPECT_EQ(byChars.out, list.out) << "--chars " << chars;
      singles.push_back(list.out);

      const json record = {
          {"id", id}, {"title", title}, {"content", content}, {"chars", 200 + 100 * index}};
      batch += record.dump() + "\n";
    }
  }

  std::istringstream in(batch);
  std::ostringstream out, err;
  ASSERT_EQ(runBatch(in, out, err), 0) << err.str();
  std::istringstream results(out.str());
  for (std::size_t i = 0; i < singles.size(); ++i) {
    std::string byChars;
    ASSERT_TRUE(std::getline(results, byChars));
    const std::string id = json(cases[i / 4].at("id")).dump();
    const std::string& list = singles[i];
    EXPECT_EQ(byChars, "{\"id\":" + id + "," + list.substr(1, list.size() - 2)) << "record " << i;
  }
}

// The summary under --sentences N holds the min(N, rows) best sentences, in
// article order; a count beyond the text's sentences keeps all of them.
TEST(CliLengthModes, SentenceCounts) {
  const samples::SamplePair longChinese = samples::sample(2);
  const samples::SamplePair english = samples::sample(3);
  const struct {
    const char* name;
    std::string title, article;
  } articles[] = {
      {"long Chinese", std::string(longChinese.title), std::string(longChinese.article)},
      {"English", std::string(english.title), std::string(english.article)},
      {"short Chinese", std::string(kChineseTitle), std::string(kChineseArticle)},
  };
  for (const auto& a : articles) {
    SCOPED_TRACE(a.name);
    const int rows = static_cast<int>(
        runJson({"-t", a.title, "--sentences", "1"}, a.article).at("sentences").size());
    ASSERT_GT(rows, 3);
    json all;
    for (const int n : {1, 2, 3, rows - 1, rows, rows + 1, rows + 100, INT_MAX}) {
      SCOPED_TRACE(n);
      const json r = runJson({"-t", a.title, "--sentences", std::to_string(n)}, a.article);
      std::vector<json> selected;
      for (const json& s : r.at("sentences")) {
        if (s.at("selected")) selected.push_back(s);
      }
      ASSERT_EQ(selected.size(), static_cast<std::size_t>(std::min(n, rows)));
      std::sort(selected.begin(), selected.end(),
                [](const json& x, const json& y) { return x.at("position") < y.at("position"); });
      const std::string summary = withoutQuotes(r.at("summary"));
      std::size_t from = 0;
      for (const json& s : selected) {
        EXPECT_LE(s.at("rank").get<int>(), std::min(n, rows)) << "the best sentences";
        // The summary may drop a sentence's lead-in and quotation marks and
        // change its final punctuation; the rest of its middle third stays.
        const std::string text = withoutQuotes(s.at("text"));
        const std::string middle = text.substr(text.size() / 3, text.size() / 3);
        const std::size_t at = summary.find(middle, from);
        ASSERT_NE(at, std::string::npos) << "in article order: " << text;
        from = at + middle.size();
      }
      if (n >= rows) {
        if (all.is_null()) all = r;
        EXPECT_EQ(r, all) << "more sentences than the text has";
      }
    }
  }
}

// --ratio P keeps the summary within P % of the article's size as the status
// line counts it, or the single best sentence when none fits; a larger share
// never selects fewer sentences.
TEST(CliLengthModes, RatioEdges) {
  const samples::SamplePair longChinese = samples::sample(2);
  const samples::SamplePair english = samples::sample(3);
  for (const samples::SamplePair& a : {longChinese, english}) {
    SCOPED_TRACE(std::string(a.title));
    std::size_t previous = 0;
    for (const char* p : {"0.001", "0.5", "1", "10", "33.3", "99.99", "100"}) {
      SCOPED_TRACE(p);
      const json r = runJson({"-t", std::string(a.title), "--ratio", p}, std::string(a.article));
      std::size_t selected = 0;
      bool bestSelected = false;
      for (const json& s : r.at("sentences")) {
        selected += s.at("selected").get<bool>();
        bestSelected = bestSelected || (s.at("rank") == 1 && s.at("selected"));
      }
      EXPECT_TRUE(bestSelected);
      const double article = r.at("sizes").at("article");
      const double summary = r.at("sizes").at("summary");
      if (selected > 1) {
        EXPECT_LE(summary, article * std::stod(p) / 100 + 1e-6);
      }
      if (std::string_view(p) == "0.001") {
        EXPECT_EQ(selected, 1u);
      }
      if (std::string_view(p) == "100") {
        EXPECT_EQ(selected, r.at("sentences").size());
      }
      EXPECT_GE(selected, previous);
      previous = selected;
    }
  }
  // "--ratio 10 gives at most a tenth (or the single best sentence)".
  const json tenth = runJson({"--sample", "1", "--ratio", "10"});
  EXPECT_LE(tenth.at("sizes").at("summary").get<double>(),
            tenth.at("sizes").at("article").get<double>() / 10);
}

TEST(CliLengthModes, EveryPairOfModesIsAUsageError) {
  const std::vector<std::vector<std::string>> modes = {
      {"-l", "1"}, {"--chars", "300"}, {"--sentences", "2"}, {"--ratio", "10"}};
  const std::vector<std::string> names = {"--length", "--chars", "--sentences", "--ratio"};
  for (std::size_t a = 0; a < modes.size(); ++a) {
    for (std::size_t b = 0; b < modes.size(); ++b) {
      if (a == b) continue;
      for (const bool jsonl : {false, true}) {
        std::vector<std::string> args = modes[a];
        args.insert(args.end(), modes[b].begin(), modes[b].end());
        if (jsonl) args.insert(args.begin(), "--jsonl");
        SCOPED_TRACE(::testing::PrintToString(args));
        const Outcome r = run(args, "The tree is green.");
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with("abrivo-cli: " + names[a] + " and " + names[b] +
                                      " exclude each other"))
            << r.err;
      }
    }
  }
  for (const char* value : {"0", "100.1"}) {
    const Outcome r = run({"--ratio", value}, "The tree is green.");
    EXPECT_EQ(r.code, kExitUsage) << value;
    EXPECT_EQ(r.out, "");
  }
}

// In --jsonl, a record's own mode replaces the command line's; a record
// without one takes the command line's. Bad values and two modes in one
// record give an error line in place.
TEST(CliLengthModes, RecordFields) {
  const std::string article = json(std::string(kEnglishArticle)).dump();
  const auto single = [&](std::vector<std::string> args) {
    return runJson(std::move(args), std::string(kEnglishArticle));
  };
  const std::string range = std::to_string(INT_MAX);
  Length oneSentence;
  oneSentence.sentences = 1;
  const struct {
    std::string fields;  // added to {"id":1,"content":...}
    json expected;       // the single run's JSON, or the error text
  } cases[] = {
      {"", single({"--sentences", "1"})},
      {R"(,"length":3)", single({"-l", "3"})},
      {R"(,"chars":250)", single({"--chars", "250"})},
      {R"(,"sentences":2)", single({"--sentences", "2"})},
      {R"(,"sentences":2147483647)", single({"--sentences", "2147483647"})},
      {R"(,"ratio":0.001)", single({"--ratio", "0.001"})},
      {R"(,"ratio":100)", single({"--ratio", "100"})},
      {R"(,"ratio":25.5)", single({"--ratio", "25.5"})},
      {R"(,"chars":0)", R"("chars" is not an integer from 1 to )" + range},
      {R"(,"chars":1.5)", R"("chars" is not an integer from 1 to )" + range},
      {R"(,"chars":"300")", R"("chars" is not an integer from 1 to )" + range},
      {R"(,"sentences":0)", R"("sentences" is not an integer from 1 to )" + range},
      {R"(,"sentences":2147483648)", R"("sentences" is not an integer from 1 to )" + range},
      {R"(,"ratio":0)", R"("ratio" is not a number above 0 and at most 100)"},
      {R"(,"ratio":100.1)", R"("ratio" is not a number above 0 and at most 100)"},
      {R"(,"ratio":"10")", R"("ratio" is not a number above 0 and at most 100)"},
      {R"(,"ratio":null)", R"("ratio" is not a number above 0 and at most 100)"},
      {R"(,"length":1,"chars":300)",
       R"("length", "chars", "sentences" and "ratio" exclude each other)"},
      {R"(,"sentences":1,"ratio":10)",
       R"("length", "chars", "sentences" and "ratio" exclude each other)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fields);
    const std::string line = R"({"id":1,"content":)" + article + c.fields + "}";
    const std::optional<std::string> result = processRecordLine(line, oneSentence);
    ASSERT_TRUE(result);
    json expected =
        c.expected.is_string() ? json({{"id", 1}, {"error", c.expected}}) : json({{"id", 1}});
    if (!c.expected.is_string()) expected.update(c.expected);
    EXPECT_EQ(json::parse(*result), expected);
    EXPECT_TRUE(result->starts_with(R"({"id":1,)")) << "id first";
  }
}

}  // namespace
}  // namespace abrivo::cli
