// Tested by tests/api_test.cpp.
#include "api/Boundary.h"

#include <string>

#include "text/Encoding.h"
#include "text/Gbk.h"
#include "text/TextOps.h"

namespace abrivo {

InvalidText::InvalidText(std::string field, std::size_t offset)
    : std::invalid_argument(field + " is not valid UTF-8 at byte " + std::to_string(offset)),
      m_field(std::move(field)),
      m_offset(offset) {}

Cancelled::Cancelled() : std::runtime_error("the run was cancelled") {}

std::string_view version() {
  return ABRIVO_VERSION;
}

namespace boundary {
namespace {

std::int64_t toInteger(std::string_view cell) {
  return static_cast<std::int64_t>(toNumber(cell));
}

// The terms of the keyword line: its text after the prefix, cut at spaces.
std::vector<std::string> keywordsOf(std::string_view line) {
  std::vector<std::string> keywords;
  if (line.substr(0, gbk::kKeywordPrefix.size()) != gbk::kKeywordPrefix) return keywords;
  line.remove_prefix(gbk::kKeywordPrefix.size());
  while (!line.empty()) {
    const std::size_t space = line.find(' ');
    const std::string_view term = line.substr(0, space);
    if (!term.empty()) keywords.push_back(fromEngineText(term));
    if (space == std::string_view::npos) break;
    line.remove_prefix(space + 1);
  }
  return keywords;
}

// The two numbers of the status line "原文N字，摘要M字".
void readSizes(std::string_view status, Summary& summary) {
  const std::size_t open = gbk::kStatusOriginal.size();
  const std::size_t middle = status.find(gbk::kStatusSummary, open);
  if (status.substr(0, open) != gbk::kStatusOriginal || middle == std::string_view::npos) return;
  const std::size_t second = middle + gbk::kStatusSummary.size();
  const std::size_t end = status.size() - gbk::kStatusChars.size();
  summary.articleSize = toInteger(status.substr(open, middle - open));
  summary.summarySize = toInteger(status.substr(second, end - second));
}

void checkRange(bool ok, const char* what) {
  if (!ok) throw std::invalid_argument(what);
}

}  // namespace

std::string toEngineText(std::string_view utf8, const char* field) {
  ConversionError error{};
  const auto gb = utf8ToGb18030(utf8, &error);
  if (!gb) throw InvalidText(field, error.offset);
  return toEngineLineBreaks(*gb);
}

std::string fromEngineText(std::string_view engineBytes) {
  return fromEngineLineBreaks(gb18030ToUtf8Lenient(engineBytes));
}

void applyLength(const Request& request, Engine& engine) {
  const int modes =
      request.chars.has_value() + request.sentences.has_value() + request.ratio.has_value();
  checkRange(modes <= 1, "length modes exclude each other: set one of chars, sentences and ratio");
  checkRange(modes == 0 || request.length == 0,
             "length modes exclude each other: length and chars, sentences or ratio");
  checkRange(request.length >= -1 && request.length <= 3, "length must be -1 to 3");
  using Mode = SummaryLength::Mode;
  if (request.chars) {
    checkRange(*request.chars >= 1, "chars must be at least 1");
    engine.summaryLength = {Mode::Chars, static_cast<double>(*request.chars)};
  } else if (request.sentences) {
    checkRange(*request.sentences >= 1, "sentences must be at least 1");
    engine.summaryLength = {Mode::Sentences, static_cast<double>(*request.sentences)};
  } else if (request.ratio) {
    checkRange(*request.ratio > 0 && *request.ratio <= 100,
               "ratio must be above 0 and at most 100");
    engine.summaryLength = {Mode::Ratio, *request.ratio};
  } else {
    engine.summaryLength = {};
  }
}

void fillControls(const Request& request, Engine& engine) {
  engine.controls.标题框 = toEngineText(request.title, "title");
  engine.controls.内容框 = toEngineText(request.article, "article");
  engine.controls.组合框1 = request.length;
  applyLength(request, engine);
}

Summary readSummary(const Engine& engine) {
  Summary summary;
  summary.language = detectLanguage(engine.controls.内容框);
  summary.summary = fromEngineText(engine.controls.编辑框1);
  summary.keywordLine = fromEngineText(engine.controls.标签3);
  summary.keywords = keywordsOf(engine.controls.标签3);
  summary.status = fromEngineText(engine.controls.标签2);
  readSizes(engine.controls.标签2, summary);

  const Table& terms = engine.termTable();
  summary.terms.reserve(static_cast<std::size_t>(terms.rowCount()));
  for (int r = 0; r < terms.rowCount(); ++r)
    summary.terms.push_back({fromEngineText(terms.cell(r, 0)), toInteger(terms.cell(r, 1))});

  // The first rows of the ranked table, as many as the candidate table took,
  // make the summary.
  const Table& sentences = engine.sentenceTable();
  const int selected = engine.candidateTable().rowCount();
  summary.sentences.reserve(static_cast<std::size_t>(sentences.rowCount()));
  for (int r = 0; r < sentences.rowCount(); ++r) {
    const int rank = static_cast<int>(toInteger(sentences.cell(r, 1)));
    summary.sentences.push_back({fromEngineText(sentences.cell(r, 0)), rank,
                                 static_cast<int>(toInteger(sentences.cell(r, 2))),
                                 summary.language.has_value() && rank <= selected});
  }
  return summary;
}

}  // namespace boundary

Summary summarise(const Request& request) {
  Engine engine;
  boundary::fillControls(request, engine);
  std::string lastProgress;
  if (request.progress || request.cancelled) {
    engine.processEventsHook = [&] {
      if (request.cancelled && request.cancelled()) throw Cancelled();
      if (request.progress && engine.controls.标签2 != lastProgress) {
        lastProgress = engine.controls.标签2;
        request.progress(boundary::fromEngineText(lastProgress));
      }
    };
  }
  engine.runSummary();
  // A cancellation that came after the last event point still holds: a
  // cancelled request never returns results.
  if (request.cancelled && request.cancelled()) throw Cancelled();
  return boundary::readSummary(engine);
}

}  // namespace abrivo
