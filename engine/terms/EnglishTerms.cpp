// Tested by tests/terms_test.cpp.
#include "terms/EnglishTerms.h"

#include <functional>
#include <string_view>
#include <unordered_map>

#include "Engine.h"
#include "text/Gbk.h"
#include "text/TextOps.h"

namespace abrivo {

namespace {

struct SuffixRule {
  std::string_view suffix;
  std::string_view replacement;
};

constexpr SuffixRule kSuffixRules[] = {
    {"ness", ""}, {"less", ""}, {"ies", "y"}, {"ly", ""}, {"ing", ""}, {"s", ""},
};

constexpr int kMinRepeats = 3;
constexpr int kMinTermBytes = 3;
// The window's events are let through at least this often while words are
// stripped and counted.
constexpr std::size_t kWordsBetweenEvents = 2048;

}  // namespace

std::string stripSuffix(std::string_view word) {
  const int length = textLength(word);
  for (const SuffixRule& rule : kSuffixRules) {
    const int stem = length - textLength(rule.suffix);
    if (stem >= 0 && findTextReverse(word, rule.suffix) == stem + 1)
      return concatText(leftText(word, stem), rule.replacement);
  }
  return std::string(word);
}

std::vector<WordCount> countRepeats(const std::vector<std::string>& words,
                                    const std::function<void()>& tick) {
  std::vector<WordCount> counts;
  std::unordered_map<std::string_view, std::size_t> index;  // word → entry in counts
  std::size_t done = 0;
  for (const std::string& word : words) {
    if (tick && ++done % kWordsBetweenEvents == 0) tick();
    if (word.empty()) continue;
    const auto [it, inserted] = index.try_emplace(word, counts.size());
    if (inserted)
      counts.push_back({word, 0});
    else
      ++counts[it->second].repeats;
  }
  return counts;
}

void Engine::extractEnglishTerms() {
  m_termTable.clearRows();
  std::vector<std::string> words = splitText(m_workText, " ");
  std::size_t done = 0;
  for (std::string& word : words) {
    word = stripSuffix(word);
    if (++done % kWordsBetweenEvents == 0) processEvents();
  }

  for (WordCount& entry : countRepeats(words, [this] { processEvents(); })) {
    if (entry.repeats >= kMinRepeats && textLength(entry.word) >= kMinTermBytes) {
      const int row = m_termTable.insertRow(std::move(entry.word));
      m_termTable.setCellText(row, 1, toText(entry.repeats));
    }
    if (++done % kWordsBetweenEvents == 0) processEvents();
  }
  processEvents();
  controls.标签2 = "100%";

  sortTermTable();

  controls.标签3 = std::string(gbk::kKeywordPrefix);
  for (int r = 1; r <= 3; ++r) {
    const std::string& term = m_termTable.cell(r - 1, 0);
    if (findText(m_workText, term) != -1) controls.标签3 += term + " ";
  }
}

}  // namespace abrivo
