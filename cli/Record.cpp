#include "cli/Record.h"

namespace abrivo::cli {

using Json = nlohmann::ordered_json;

void setLength(abrivo::Request& request, const Length& length) {
  request.length = length.index;
  request.chars = length.chars;
  request.sentences = length.sentences;
  request.ratio = length.ratio;
}

Json summaryJson(const abrivo::Summary& summary) {
  Json json;
  if (!summary.language) {
    json["language"] = nullptr;
  } else {
    json["language"] = *summary.language == abrivo::Language::Chinese ? "zh" : "en";
  }
  json["summary"] = summary.summary;
  json["keywords"] = summary.keywords;
  json["keyword_line"] = summary.keywordLine;
  json["status"] = summary.status;
  Json sizes;
  sizes["article"] = summary.articleSize;
  sizes["summary"] = summary.summarySize;
  json["sizes"] = std::move(sizes);

  Json terms = Json::array();
  for (const abrivo::Term& t : summary.terms) {
    Json term;
    term["term"] = t.term;
    term["weight"] = t.weight;
    terms.push_back(std::move(term));
  }
  json["terms"] = std::move(terms);

  Json sentences = Json::array();
  for (const abrivo::Sentence& s : summary.sentences) {
    Json sentence;
    sentence["text"] = s.text;
    sentence["rank"] = s.rank;
    sentence["position"] = s.position;
    sentence["selected"] = s.selected;
    sentences.push_back(std::move(sentence));
  }
  json["sentences"] = std::move(sentences);
  return json;
}

std::string formatSummary(const abrivo::Summary& summary, Format format) {
  if (format == Format::Text) return summary.summary + '\n';
  return dumpJson(summaryJson(summary)) + '\n';
}

std::string dumpJson(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace abrivo::cli
