// Expected results of an independent implementation for 100 generated texts,
// 50 Chinese and 50 English: summary, status line, keyword line and the term
// and sentence tables after one run on a fresh engine.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include <abrivo/abrivo.h>

namespace abrivo {
namespace {

using nlohmann::json;

// A run through the public API, in the shape the fixture stores: table cells
// as the texts the tables hold.
json runCase(const json& input) {
  Request request;
  request.title = input.at("title").get<std::string>();
  request.article = input.at("content").get<std::string>();
  request.length = input.at("length").get<int>();
  const Summary summary = summarise(request);

  json result;
  result["language"] = !summary.language
                           ? json(nullptr)
                           : json(*summary.language == Language::Chinese ? "zh" : "en");
  result["summary"] = summary.summary;
  result["status"] = summary.status;
  result["keywords"] = summary.keywordLine;
  result["terms"] = json::array();
  for (const Term& term : summary.terms)
    result["terms"].push_back({term.term, std::to_string(term.weight)});
  result["sentences"] = json::array();
  for (const Sentence& sentence : summary.sentences)
    result["sentences"].push_back(
        {sentence.text, std::to_string(sentence.rank), std::to_string(sentence.position)});
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
