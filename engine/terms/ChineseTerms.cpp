// Tested by tests/terms_test.cpp.
#include "terms/ChineseTerms.h"

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
  static const DirectChineseTermCounter counter;
  return counter;
}

void DirectChineseTermCounter::countAndCut(Engine& engine) const {
  for (int p = 1; p <= kTermPasses; ++p) {
    const int n = 18 - p;
    std::vector<std::string> candidates;
    const int count = static_cast<int>(engine.charArray.size());
    for (int k = 1; k <= count - n + 1; ++k) {
      std::string run;
      bool hasSpace = false;
      for (int e = k; e < k + n && !hasSpace; ++e) {
        const std::string& element = engine.charArray[static_cast<std::size_t>(e - 1)];
        hasSpace = compareText(element, " ") == 0;
        run += element;
      }
      if (!hasSpace) candidates.push_back(std::move(run));
      engine.processEvents();
    }
    for (const std::string& candidate : candidates) {
      const int occurrences = static_cast<int>(splitText(engine.workText, candidate).size()) - 1;
      if (occurrences >= kMinTermOccurrences) {
        const int row = engine.termTable.insertRow(candidate);
        engine.termTable.setCellText(row, 1, toText(occurrences));
        engine.workText = replaceText(engine.workText, candidate, " ");
        engine.buildCharArray();
      }
      engine.processEvents();
    }
    engine.controls.标签2 = progressText(p);
    engine.processEvents();
  }
}

void DirectChineseTermCounter::mergeTerms(Engine& engine) const {
  Table& table = engine.termTable;
  const int rows = table.rowCount();
  std::vector<std::string> terms;
  for (int i = 0; i < rows; ++i) terms.push_back(table.cellText(i, 0));
  for (int a = 1; a <= rows; ++a) {
    for (int b = 1; b <= rows; ++b) {
      const std::string& inner = terms[static_cast<std::size_t>(a - 1)];
      const std::string& outer = terms[static_cast<std::size_t>(b - 1)];
      if (a != b && findText(outer, inner) != -1) {
        table.setCellText(b - 1, 0, replaceText(outer, inner, ""));
        table.setCellText(a - 1, 1,
                          toText(toNumber(table.cell(a - 1, 1)) + toNumber(table.cell(b - 1, 1))));
      }
      engine.processEvents();
    }
  }
}

void Engine::extractChineseTerms() {
  termTable.clearRows();
  m_chineseTermCounter->countAndCut(*this);
  m_chineseTermCounter->mergeTerms(*this);

  // Terms holding 这个 are no terms of the subject.
  for (int row = 0; row < termTable.rowCount();) {
    if (findText(termTable.cell(row, 0), kExcluded) != -1)
      termTable.deleteRow(row);
    else
      ++row;
    processEvents();
  }

  sortTermTable();

  controls.标签3 = std::string(gbk::kKeywordPrefix);
  for (int r = 1; r <= 3; ++r) controls.标签3 += termTable.cell(r - 1, 0) + " ";
}

}  // namespace abrivo
