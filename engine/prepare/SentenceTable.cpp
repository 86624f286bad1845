// The sentence table: one row per distinct piece of at least 15 bytes between
// sentence-break marks, then each sentence tidied of bracketed asides and a
// short lead-in that ends in a comma.
//
// Tested by tests/sentence_table_test.cpp.
#include "prepare/SentenceTable.h"

#include <span>
#include <string_view>
#include <unordered_set>

#include "Engine.h"
#include "text/Gbk.h"
#include "text/TextOps.h"

namespace abrivo {

void blankRepeats(std::vector<std::string>& pieces) {
  std::unordered_set<std::string_view> seen;
  seen.reserve(pieces.size());
  for (std::string& piece : pieces) {
    if (piece.empty()) continue;
    if (!seen.insert(piece).second) piece.clear();
  }
}

std::string removeBracketed(std::string_view text, std::string_view open, std::string_view close) {
  const int p = findText(text, open);
  if (p == -1) return std::string(text);
  const int q = findText(text, close);
  // Without a closing bracket after the opening one there is no aside to
  // remove; joining around a missing bracket would only duplicate text.
  if (q < p) return std::string(text);
  const int length = textLength(text);
  return concatText(leftText(text, p - 1), rightText(text, length - q - (textLength(close) - 1)));
}

std::string cutLeadIn(std::string_view text, std::string_view comma) {
  const int q = findText(text, comma);
  if (q == -1) return std::string(text);
  std::size_t from = static_cast<std::size_t>(q - 1) + comma.size();
  // After the one-byte comma a one-byte character goes too; a two-byte
  // character there stays whole, so no character is split.
  if (comma.size() == 1 && from < text.size() && charSize(text, from) == 1) ++from;
  return std::string(text.substr(from));
}

void Engine::buildSentenceTable() {
  m_sentenceTable.clearRows();
  std::vector<std::string> pieces = splitText(m_workText, gbk::kBreakMark);
  processEvents();
  blankRepeats(pieces);
  processEvents();
  std::size_t rows = 0;
  for (const std::string& piece : pieces) rows += textLength(piece) >= kMinSentenceBytes;
  m_sentenceTable.reserveRows(rows);
  std::size_t done = 0;
  for (std::string& piece : pieces) {
    if (++done % kRowsBetweenEvents == 0) processEvents();
    if (textLength(piece) < kMinSentenceBytes) continue;
    const int row = m_sentenceTable.insertRow(std::move(piece));
    m_sentenceTable.setCellText(row, 2, toText(row));
    m_sentenceTable.setCellText(row, 1, "1");
  }
}

void Engine::cleanSentences(Language language) {
  struct Brackets {
    std::string_view open, close;
  };
  static constexpr Brackets kChineseSteps[] = {{gbk::kOpenParen, gbk::kCloseParen},
                                               {gbk::kOpenParen, gbk::kCloseParen},
                                               {"(", ")"},
                                               {"(", ")"},
                                               {"(", ")"},
                                               {"(", ")"}};
  const bool chinese = language == Language::Chinese;
  const std::span<const Brackets> steps = chinese
                                              ? std::span<const Brackets>(kChineseSteps)
                                              : std::span<const Brackets>(kChineseSteps).subspan(2);
  const int prefixLength = chinese ? 10 : 20;
  const std::string_view comma = chinese ? gbk::kComma : ",";

  const int rows = m_sentenceTable.rowCount();
  for (int i = 1; i <= rows; ++i) {
    const int r = i - 1;
    if (i % kRowsBetweenEvents == 0) processEvents();
    m_sentenceTable.setCellText(r, 1, "1");
    std::string s = m_sentenceTable.cellText(r, 0);
    for (const Brackets& step : steps) {
      if (findText(s, step.open) == -1) continue;
      s = removeBracketed(s, step.open, step.close);
      m_sentenceTable.setCellText(r, 0, s);
    }
    if (findText(leftText(s, prefixLength), comma) != -1) {
      s = cutLeadIn(s, comma);
      m_sentenceTable.setCellText(r, 0, s);
    }
  }
}

}  // namespace abrivo
