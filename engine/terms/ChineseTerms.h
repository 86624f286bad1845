// The Chinese term stage: repeated runs of 2 to 17 characters, found longest
// first and cut out of the term text as they are found.
#pragma once

#include <string>

#include "Engine.h"

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
  void countAndCut(Engine& engine) const override;
  void mergeTerms(Engine& engine) const override;
};

}  // namespace abrivo
