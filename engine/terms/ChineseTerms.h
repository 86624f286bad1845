// The Chinese term stage: repeated runs of 2 to 17 characters, found longest
// first and cut out of the term text as they are found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "terms/ChineseTermCounter.h"
#include "terms/RepeatIndex.h"

namespace abrivo {

inline constexpr int kTermPasses = 16;  // run lengths 17 down to 2
inline constexpr int kMinTermOccurrences = 3;

// The progress text after pass p (1 to 16): "6%" ... "100%".
std::string progressText(int pass);

// The counting method an engine uses unless told otherwise.
const ChineseTermCounter& defaultChineseTermCounter();

// Counts each distinct candidate once over an index of the term text and
// merges terms by looking up the substrings of each term; about linear in the
// length of the text.
class FastChineseTermCounter final : public ChineseTermCounter {
 public:
  using Limits = FastCountLimits;

  FastChineseTermCounter() = default;
  explicit FastChineseTermCounter(Limits limits) : m_limits(limits) {}

  CountedTerms countAndCut(std::string termText, const TermStageHooks& hooks) const override;
  void mergeTerms(std::vector<TermRow>& rows, const TermStageHooks& hooks) const override;

 private:
  Limits m_limits;
};

}  // namespace abrivo
