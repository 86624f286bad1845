// The built-in headline and article pairs, compiled into both front ends.
// Texts are UTF-8 with "\n" line breaks; front ends convert them for the
// engine like anything a user types.
#pragma once

#include <string_view>

namespace abrivo::samples {

struct SamplePair {
  std::string_view title;
  std::string_view article;
};

inline constexpr int kCount = 3;

// Pair 1 is the default the window opens with; 2 and 3 are loaded by the
// sample buttons. n outside 1..3 gives pair 1.
SamplePair sample(int n);

}  // namespace abrivo::samples
