// Expected results of an independent implementation for 100 generated texts,
// 50 Chinese and 50 English: summary, status line, keyword line and the term
// and sentence tables after one run on a fresh engine.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "Engine.h"
#include "text/Encoding.h"

namespace abrivo {
namespace {

using nlohmann::json;

std::string toEngine(const std::string& utf8) {
  auto gb = utf8ToGb18030(toEngineLineBreaks(utf8));
  EXPECT_TRUE(gb) << "fixture text is not UTF-8";
  return gb.value_or("");
}

std::string fromEngine(std::string_view gb) {
  return gb18030ToUtf8Lenient(gb);
}

json tableRows(const Table& table, int columns) {
  json rows = json::array();
  for (int r = 0; r < table.rowCount(); ++r) {
    json row = json::array();
    for (int c = 0; c < columns; ++c) row.push_back(fromEngine(table.cell(r, c)));
    rows.push_back(row);
  }
  return rows;
}

json runCase(const json& input) {
  Engine engine;
  engine.controls.标题框 = toEngine(input.at("title").get<std::string>());
  engine.controls.内容框 = toEngine(input.at("content").get<std::string>());
  engine.controls.组合框1 = input.at("length").get<int>();
  engine.runSummary();

  json result;
  const auto language = detectLanguage(engine.controls.内容框);
  result["language"] =
      !language ? json(nullptr) : json(*language == Language::Chinese ? "zh" : "en");
  result["summary"] = fromEngine(engine.controls.编辑框1);
  result["status"] = fromEngine(engine.controls.标签2);
  result["keywords"] = fromEngine(engine.controls.标签3);
  result["terms"] = tableRows(engine.termTable, 2);
  result["sentences"] = tableRows(engine.sentenceTable, 3);
  return result;
}

TEST(Conformance, EveryCaseMatchesExpectedResults) {
  std::ifstream in(ABRIVO_CONFORMANCE_FILE);
  ASSERT_TRUE(in) << "cannot open " << ABRIVO_CONFORMANCE_FILE;
  int cases = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) continue;
    const json input = json::parse(line);
    const json& expected = input.at("expected");
    const json actual = runCase(input);
    ++cases;
    for (const char* field : {"language", "summary", "status", "keywords", "terms", "sentences"}) {
      if (actual.at(field) != expected.at(field)) {
        ADD_FAILURE() << input.at("id").get<std::string>() << ": field " << field
                      << " differs\n  expected: " << expected.at(field).dump().substr(0, 600)
                      << "\n  actual:   " << actual.at(field).dump().substr(0, 600);
        break;
      }
    }
  }
  EXPECT_EQ(cases, 100) << "the fixture holds 100 cases";
}

}  // namespace
}  // namespace abrivo
