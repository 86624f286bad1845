// A normalisation step list: find/replace pairs of GBK bytes applied in order,
// each to every occurrence in the whole text (exact bytes, one pass each).
#pragma once

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace abrivo {

struct Replacement {
  std::string_view find;
  std::string_view replace;
};

// betweenSteps, when given, runs after every step: a front end's events can
// be let through during a long text.
void applyReplacements(std::string& text, std::span<const Replacement> steps,
                       const std::function<void()>& betweenSteps = {});
// The step lists one after the other, as one list.
void applyReplacements(std::string& text, std::initializer_list<std::span<const Replacement>> lists,
                       const std::function<void()>& betweenSteps = {});

// Step lists that several normalisations share.
// The digits 0 to 9, each to a space.
extern const std::span<const Replacement> kDigitSteps;
// Quotation marks, colon, exclamation mark, brackets, semicolon, question
// mark and the ASCII comma, each to a space.
extern const std::span<const Replacement> kPunctuationSteps;
// 的 to a space except inside 的确, 标的 and 目的, and 改革 / 制度 set apart.
extern const std::span<const Replacement> kParticleSteps;

}  // namespace abrivo
