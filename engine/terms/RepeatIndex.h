// The repeat index of the fast Chinese term stage: before the passes, one
// bottom-up sweep names every window of 2 to 17 characters that occurs at
// least three times in the term text, exactly and without hashing.
//
// Tested by tests/term_counting_test.cpp, through the term stage.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "terms/TermIndex.h"

namespace abrivo {

// Limits inside the fast method. They change its speed and memory, never its
// results; tests set them low to reach the paths that large texts take.
struct FastCountLimits {
  // Named windows kept for the passes: this many a character, plus a slack;
  // the passes hash the windows of the lengths beyond.
  double keptWindowsPerChar = 2.0;
  std::size_t keptWindowsSlack = 4096;
  // A window's key is the name of the window one shorter at its start and
  // the code of its last character: in 32 bits while the names fit this and
  // the codes 16 bits; beyond, with the position in one 64-bit word when it
  // fits and packWords is set, else as a 64-bit key beside the position.
  std::uint32_t narrowNameLimit = 0xFFFF;
  bool packWords = true;
};

// The windows of one run length that occur at least three times in the text
// as it was when the stage began, with exact names: two windows have the same
// name exactly when they hold the same characters.
struct NamedWindows {
  bool stored = false;
  std::uint32_t count = 0;               // names are 0 to count - 1
  std::vector<std::uint32_t> positions;  // ascending
  std::vector<std::uint32_t> names;      // aligned with positions
};

struct RepeatIndex {
  // For every position, the longest run length (2 to 17) whose window there
  // repeats; 0 when even two characters don't.
  std::vector<std::uint8_t> longest;
  // By run length, 3 to 17, as far as the memory allowance reached.
  std::array<NamedWindows, kLongestRun + 1> windows;
};

RepeatIndex buildRepeatIndex(const CharIndex& index, const FastCountLimits& limits,
                             EventPump& pump);

}  // namespace abrivo
