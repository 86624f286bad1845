// Which of many terms occur in one text, in one pass over the text: the same
// answer as findText(text, term) != -1 for each term (ASCII case ignored, a
// match starts on a character step of the text), at a cost about linear in
// the length of the text plus the total length of the terms.
//
//   findTerms("Tree of life", {"tree", "e o", "ife", "x"}) == {1, 1, 1, 0}
//
// Tested by tests/text_ops_test.cpp against findText.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace abrivo {

// found[i] is 1 when terms[i] occurs in text. tick, when given, runs every
// few thousand steps of work, so that a front end's events can be let through.
std::vector<std::uint8_t> findTerms(std::string_view text, std::span<const std::string_view> terms,
                                    const std::function<void()>& tick = {});

}  // namespace abrivo
