#include "reference/Reference.h"

#include "abrivo/internal/terms/ChineseTerms.h"
#include "abrivo/internal/text/TextOps.h"

namespace abrivo::reference {

namespace {

// A run of characters ends at a space, and at a lead byte that stands last
// without its second byte.
bool endsRun(std::string_view element) {
  return element == " " || (element.size() == 1 && static_cast<unsigned char>(element[0]) >= 0x80);
}

}  // namespace

CountedTerms DirectChineseTermCounter::countAndCut(std::string termText,
                                                   const TermStageHooks& hooks) const {
  const auto events = [&hooks] {
    if (hooks.events) hooks.events();
  };
  CountedTerms counted;
  std::string& text = counted.cutText;
  CharArray& chars = counted.charArray;
  text = std::move(termText);
  chars.assign(text);
  for (int p = 1; p <= kTermPasses; ++p) {
    const int n = 18 - p;
    std::vector<std::string> candidates;
    const int count = static_cast<int>(chars.size());
    for (int k = 1; k <= count - n + 1; ++k) {
      std::string run;
      bool hasSpace = false;
      for (int e = k; e < k + n && !hasSpace; ++e) {
        const std::string_view element = chars[static_cast<std::size_t>(e - 1)];
        hasSpace = endsRun(element);
        run += element;
      }
      if (!hasSpace) candidates.push_back(std::move(run));
      events();
    }
    for (const std::string& candidate : candidates) {
      const int occurrences = static_cast<int>(splitText(text, candidate).size()) - 1;
      if (occurrences >= kMinTermOccurrences) {
        counted.rows.push_back({candidate, toText(occurrences)});
        text = replaceText(text, candidate, " ");
        chars.assign(text);
      }
      events();
    }
    if (hooks.progress) hooks.progress(progressText(p));
    events();
  }
  return counted;
}

void DirectChineseTermCounter::mergeTerms(std::vector<TermRow>& rows,
                                          const TermStageHooks& hooks) const {
  const int count = static_cast<int>(rows.size());
  std::vector<std::string> terms;
  for (const TermRow& row : rows) terms.push_back(row.term);
  for (int a = 1; a <= count; ++a) {
    for (int b = 1; b <= count; ++b) {
      const std::string& inner = terms[static_cast<std::size_t>(a - 1)];
      const std::string& outer = terms[static_cast<std::size_t>(b - 1)];
      if (a != b && findText(outer, inner) != -1) {
        rows[b - 1].term = replaceText(outer, inner, "");
        rows[a - 1].weight = toText(toNumber(rows[a - 1].weight) + toNumber(rows[b - 1].weight));
      }
      if (hooks.events) hooks.events();
    }
  }
}

void blankRepeatsPairwise(std::vector<std::string>& pieces) {
  const std::size_t n = pieces.size();
  for (std::size_t a = 0; a < n; ++a)
    for (std::size_t k = 1; a + k < n; ++k)
      if (pieces[a] == pieces[a + k]) pieces[a + k].clear();
}

std::vector<WordCount> countRepeatsPairwise(std::vector<std::string> words) {
  std::vector<WordCount> counts;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string s = words[i];
    int repeats = 0;
    for (std::size_t j = i + 1; j < words.size(); ++j) {
      if (words[j].empty() || words[j] != s) continue;
      ++repeats;
      words[j].clear();
    }
    if (!s.empty()) counts.push_back({s, repeats});
  }
  return counts;
}

}  // namespace abrivo::reference
