// Summary selection: sentences scored by the six heaviest terms they hold,
// ranked, taken best first while they fit the byte budget, and written out
// in text order.
//
// Tested by tests/select_test.cpp.
#include <algorithm>

#include "Engine.h"
#include "terms/RowOrdering.h"
#include "text/Gbk.h"
#include "text/Replacements.h"
#include "text/TextOps.h"

namespace abrivo {

namespace {

constexpr int kScoringTerms = 6;

// A numeral, 、 or ： in the first two characters marks an enumerated or
// labelled opening (一、, 第二, 三是), which rarely makes a good summary line.
struct OpeningPenalty {
  std::string_view text;
  double divisor;
};

constexpr OpeningPenalty kOpeningPenalties[] = {
    {"\xD2\xBB", 3},  // 一
    {"\xB6\xFE", 3},  // 二
    {"\xC8\xFD", 3},  // 三
    {"\xCB\xC4", 3},  // 四
    {"\xCE\xE5", 3},  // 五
    {"\xC1\xF9", 3},  // 六
    {"\xC6\xDF", 3},  // 七
    {"\xB0\xCB", 3},  // 八
    {"\xBE\xC5", 3},  // 九
    {"\xCA\xAE", 3},  // 十
    {"\xA1\xA2", 3},  // 、
    {"\xA3\xBA", 2},  // ：
};

// Quotation marks go, and a full-width semicolon ends a sentence.
constexpr Replacement kAssemblySteps[] = {
    {"\xA1\xB0", ""},          // “
    {"\xA1\xB1", ""},          // ”
    {"\"", ""},                // "
    {"\xA3\xBB", "\xA1\xA3"},  // ； → 。
};

// Byte budget for the current item of the length list.
double listBudgetBytes(int index, Language language) {
  if (index >= 0 && index <= 3) return 400 + 200 * index;
  return language == Language::Chinese ? 600 : 400;
}

// Byte budget of a length mode other than a sentence count. N characters
// are 2N bytes, the list's own rule; a share is of the article's size as
// the status line counts it (characters of Chinese, bytes of English).
double budgetBytes(const SummaryLength& length, int listIndex, int articleBytes,
                   Language language) {
  switch (length.mode) {
    case SummaryLength::Mode::Chars:
      return 2 * length.value;
    case SummaryLength::Mode::Ratio: {
      const double unit = language == Language::Chinese ? 2 : 1;
      const double size =
          language == Language::Chinese ? floorToInt(articleBytes / 2.0) : articleBytes;
      return unit * size * length.value / 100.0;
    }
    default:
      return listBudgetBytes(listIndex, language);
  }
}

bool exceedsBudget(int length, double budget, Language language) {
  if (language == Language::Chinese) return length - budget > 0.0000001;
  return length > budget;
}

}  // namespace

void Engine::selectChineseSummary() {
  selectSummary(Language::Chinese);
}

void Engine::selectEnglishSummary() {
  selectSummary(Language::English);
}

void Engine::selectSummary(Language language) {
  const int n = m_sentenceTable.rowCount();

  for (int i = 1; i <= n; ++i) {
    const std::string sentence = m_sentenceTable.cellText(i - 1, 0);
    for (int j = 1; j <= kScoringTerms; ++j) {
      if (findText(sentence, m_termTable.cell(j - 1, 0)) == -1) continue;
      const double score =
          toNumber(m_sentenceTable.cell(i - 1, 1)) + toNumber(m_termTable.cell(j - 1, 1));
      m_sentenceTable.setCellText(i - 1, 1, toText(score));
    }
  }

  if (language == Language::Chinese) {
    for (int i = 1; i <= n; ++i) {
      const std::string opening = leftText(m_sentenceTable.cell(i - 1, 0), 4);
      for (const OpeningPenalty& penalty : kOpeningPenalties) {
        if (findText(opening, penalty.text) == -1) continue;
        const double score = toNumber(m_sentenceTable.cell(i - 1, 1)) / penalty.divisor;
        m_sentenceTable.setCellText(i - 1, 1, toText(score));
      }
    }
  }

  sortRows(m_sentenceTable, 1);
  for (int k = 1; k <= n; ++k) m_sentenceTable.setCellText(k - 1, 1, toText(k));

  const int rows = m_sentenceTable.rowCount();
  int count = 0;
  if (summaryLength.mode == SummaryLength::Mode::Sentences) {
    count = std::min(rows, static_cast<int>(summaryLength.value));
  } else {
    const double budget =
        budgetBytes(summaryLength, controls.组合框1, textLength(controls.内容框), language);
    std::string chosen;
    for (int m = 1; m <= rows; ++m) {
      ++count;
      chosen += m_sentenceTable.cell(m - 1, 0);
      if (exceedsBudget(textLength(chosen), budget, language)) {
        --count;
        break;
      }
    }
  }
  if (count == 0) count = 1;

  m_candidateTable.clearRows();
  for (int w = 1; w <= count; ++w) {
    const int row = m_candidateTable.insertRow(m_sentenceTable.cellText(w - 1, 0));
    m_candidateTable.setCellText(row, 1, toText(999999 - toNumber(m_sentenceTable.cell(w - 1, 2))));
  }
  sortRows(m_candidateTable, 1);

  std::string summary;
  const int candidates = m_candidateTable.rowCount();
  for (int r = 0; r < candidates; ++r) summary += m_candidateTable.cell(r, 0);
  applyReplacements(summary, kAssemblySteps);
  controls.编辑框1 = std::move(summary);
}

}  // namespace abrivo
