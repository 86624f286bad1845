// The English term stage: words of at least three bytes that repeat at least
// three times after their first occurrence, once a suffix is stripped.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace abrivo {

// Strips the first of "ness", "less", "ies" (→ "y"), "ly", "ing", "s" that
// the word ends with, exactly and on a character boundary.
std::string stripSuffix(std::string_view word);

struct WordCount {
  std::string word;
  int repeats;  // occurrences after the first
};

// Every non-empty word with its number of repeats, in order of first
// occurrence. tick, when given, is called every few thousand words.
std::vector<WordCount> countRepeats(const std::vector<std::string>& words,
                                    const std::function<void()>& tick = {});

}  // namespace abrivo
