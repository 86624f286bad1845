// The Chinese term stage: repeated runs of 2 to 17 characters, found longest
// first and cut out of the term text as they are found.
#pragma once

#include <cstddef>
#include <cstdint>
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
  // Limits inside the method. They change its speed and memory, never its
  // results; tests set them low to reach the paths that large texts take.
  struct Limits {
    // Named windows kept for the passes: this many a character, plus a slack;
    // the passes hash the windows of the lengths beyond.
    double keptWindowsPerChar = 2.0;
    std::size_t keptWindowsSlack = 4096;
    // Pairs of names are packed in 32-bit keys while the names fit this;
    // beyond, with the position in one 64-bit word when it fits and
    // packWords is set, else as a 64-bit key beside the position.
    std::uint32_t narrowNameLimit = 0xFFFF;
    bool packWords = true;
  };

  FastChineseTermCounter() = default;
  explicit FastChineseTermCounter(Limits limits) : m_limits(limits) {}

  void countAndCut(Engine& engine) const override;
  void mergeTerms(Engine& engine) const override;

 private:
  Limits m_limits;
};

}  // namespace abrivo
