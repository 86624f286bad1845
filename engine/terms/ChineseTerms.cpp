// Tested by tests/terms_test.cpp.
#include "terms/ChineseTerms.h"

#include <vector>

#include "Engine.h"

#include "text/Gbk.h"
#include "text/TextOps.h"

namespace abrivo {

namespace {
constexpr std::string_view kExcluded = "\xD5\xE2\xB8\xF6";  // 这个
}

std::string progressText(int pass) {
  return toText(floorToInt(pass / static_cast<double>(kTermPasses) * 100.0)) + "%";
}

const ChineseTermCounter& defaultChineseTermCounter() {
  static const FastChineseTermCounter counter;
  return counter;
}

void Engine::extractChineseTerms() {
  m_termTable.clearRows();
  const TermStageHooks hooks{[this] { processEvents(); },
                             [this](const std::string& progress) { controls.标签2 = progress; }};
  CountedTerms counted = m_chineseTermCounter->countAndCut(std::move(m_workText), hooks);
  m_workText = std::move(counted.cutText);
  m_charArray = std::move(counted.charArray);
  m_chineseTermCounter->mergeTerms(counted.rows, hooks);

  // Terms holding 这个 are no terms of the subject; the others keep their order.
  for (TermRow& row : counted.rows) {
    if (findText(row.term, kExcluded) == -1)
      m_termTable.setCellText(m_termTable.insertRow(std::move(row.term)), 1, std::move(row.weight));
    processEvents();
  }
  sortTermTable();

  controls.标签3 = std::string(gbk::kKeywordPrefix);
  for (int r = 1; r <= 3; ++r) controls.标签3 += m_termTable.cell(r - 1, 0) + " ";
}

}  // namespace abrivo
