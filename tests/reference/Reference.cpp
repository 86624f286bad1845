#include "reference/Reference.h"

#include "abrivo/internal/terms/ChineseTerms.h"
#include "abrivo/internal/text/TextOps.h"

namespace abrivo::reference {

namespace {

// A run of characters ends at a space, and at a lead byte that stands last
// without its second byte.
bool endsRun(std::string_view element) {
  return compareText(element, " ") == 0 ||
         (element.size() == 1 && static_cast<unsigned char>(element[0]) >= 0x80);
}

}  // namespace

void DirectChineseTermCounter::countAndCut(Engine& engine) const {
  for (int p = 1; p <= kTermPasses; ++p) {
    const int n = 18 - p;
    std::vector<std::string> candidates;
    const int count = static_cast<int>(engine.charArray.size());
    for (int k = 1; k <= count - n + 1; ++k) {
      std::string run;
      bool hasSpace = false;
      for (int e = k; e < k + n && !hasSpace; ++e) {
        const std::string_view element = engine.charArray[static_cast<std::size_t>(e - 1)];
        hasSpace = endsRun(element);
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

void blankRepeatsPairwise(std::vector<std::string>& pieces) {
  const std::size_t n = pieces.size();
  for (std::size_t a = 0; a < n; ++a)
    for (std::size_t k = 1; a + k < n; ++k)
      if (compareText(pieces[a], pieces[a + k]) == 0) pieces[a + k].clear();
}

std::vector<WordCount> countRepeatsPairwise(std::vector<std::string> words) {
  std::vector<WordCount> counts;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string s = words[i];
    int repeats = 0;
    for (std::size_t j = i + 1; j < words.size(); ++j) {
      if (words[j].empty() || compareText(words[j], s) != 0) continue;
      ++repeats;
      words[j].clear();
    }
    if (!s.empty()) counts.push_back({s, repeats});
  }
  return counts;
}

}  // namespace abrivo::reference
