// Building and tidying the sentence table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace abrivo {

// A piece of 14 bytes or fewer never becomes a sentence row.
inline constexpr int kMinSentenceBytes = 15;

// Long tables let the window's events through every so many rows.
inline constexpr int kRowsBetweenEvents = 2048;

// Empties every piece that equals an earlier piece (exact bytes), so that
// only the first copy of a repeated sentence is kept.
void blankRepeats(std::vector<std::string>& pieces);

// Removes one bracketed aside: from the first opening bracket through the
// first closing bracket. Unchanged when there is no opening bracket, or when
// no closing bracket follows it.
std::string removeBracketed(std::string_view text, std::string_view open, std::string_view close);

// Drops everything up to and including the first comma; for the one-byte ","
// a one-byte character after it (the space of "In May, the") goes too.
std::string cutLeadIn(std::string_view text, std::string_view comma);

}  // namespace abrivo
