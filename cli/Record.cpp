#include "cli/Record.h"

namespace abrivo::cli {

using Json = nlohmann::ordered_json;

void setLength(abrivo::Request& request, const Length& length) {
  request.length = length.index;
  request.chars = length.chars;
  request.sentences = length.sentences;
  request.ratio = length.ratio;
}

namespace {

void appendString(std::string& out, std::string_view text) {
  out += dumpJson(Json(text));
}

void appendNumber(std::string& out, std::int64_t number) {
  out += std::to_string(number);
}

}  // namespace

// Written member by member rather than through a document tree: a tree of a
// long article's sentence table costs several times the article's size.
void appendSummaryMembers(std::string& out, const abrivo::Summary& summary) {
  out += "\"language\":";
  if (!summary.language)
    out += "null";
  else
    out += *summary.language == abrivo::Language::Chinese ? "\"zh\"" : "\"en\"";
  out += ",\"summary\":";
  appendString(out, summary.summary);
  out += ",\"keywords\":[";
  for (std::size_t i = 0; i < summary.keywords.size(); ++i) {
    if (i > 0) out += ',';
    appendString(out, summary.keywords[i]);
  }
  out += "],\"keyword_line\":";
  appendString(out, summary.keywordLine);
  out += ",\"status\":";
  appendString(out, summary.status);
  out += ",\"sizes\":{\"article\":";
  appendNumber(out, summary.articleSize);
  out += ",\"summary\":";
  appendNumber(out, summary.summarySize);
  out += "},\"terms\":[";
  for (std::size_t i = 0; i < summary.terms.size(); ++i) {
    out += i > 0 ? ",{\"term\":" : "{\"term\":";
    appendString(out, summary.terms[i].term);
    out += ",\"weight\":";
    appendNumber(out, summary.terms[i].weight);
    out += '}';
  }
  out += "],\"sentences\":[";
  for (std::size_t i = 0; i < summary.sentences.size(); ++i) {
    const abrivo::Sentence& sentence = summary.sentences[i];
    out += i > 0 ? ",{\"text\":" : "{\"text\":";
    appendString(out, sentence.text);
    out += ",\"rank\":";
    appendNumber(out, sentence.rank);
    out += ",\"position\":";
    appendNumber(out, sentence.position);
    out += sentence.selected ? ",\"selected\":true}" : ",\"selected\":false}";
  }
  out += ']';
}

std::string summaryJson(const abrivo::Summary& summary) {
  std::string out = "{";
  appendSummaryMembers(out, summary);
  out += '}';
  return out;
}

std::string formatSummary(const abrivo::Summary& summary, Format format) {
  if (format == Format::Text) return summary.summary + '\n';
  return summaryJson(summary) + '\n';
}

std::string dumpJson(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace abrivo::cli
