// Tested by tests/terms_test.cpp.
#include "terms/ChineseTerms.h"

#include <vector>

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
  termTable.clearRows();
  m_chineseTermCounter->countAndCut(*this);
  m_chineseTermCounter->mergeTerms(*this);

  // Terms holding 这个 are no terms of the subject; the others keep their order.
  std::vector<int> kept;
  const int rows = termTable.rowCount();
  for (int row = 0; row < rows; ++row) {
    if (findText(termTable.cell(row, 0), kExcluded) == -1) kept.push_back(row);
    processEvents();
  }
  if (static_cast<int>(kept.size()) < rows) termTable.permuteRows(kept);

  sortTermTable();

  controls.标签3 = std::string(gbk::kKeywordPrefix);
  for (int r = 1; r <= 3; ++r) controls.标签3 += termTable.cell(r - 1, 0) + " ";
}

}  // namespace abrivo
