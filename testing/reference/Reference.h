// The direct methods, written as plainly as the stages read, kept as the
// reference that the engine's fast methods must agree with.
#pragma once

#include <string>
#include <vector>

#include "abrivo/internal/terms/ChineseTermCounter.h"
#include "abrivo/internal/terms/EnglishTerms.h"

namespace abrivo::reference {

// Every candidate splits the whole text, every cut rebuilds the characters, and
// the merge compares all pairs of terms. Quadratic or worse; fine for tests.
class DirectChineseTermCounter final : public ChineseTermCounter {
 public:
  CountedTerms countAndCut(std::string termText, const TermStageHooks& hooks) const override;
  void mergeTerms(std::vector<TermRow>& rows, const TermStageHooks& hooks) const override;
};

// Compares every piece with every later piece and empties the later copy.
void blankRepeatsPairwise(std::vector<std::string>& pieces);

// Counts each word at its first occurrence by comparing it with every later
// word and blanking the copies.
std::vector<WordCount> countRepeatsPairwise(std::vector<std::string> words);

}  // namespace abrivo::reference
