// A normalisation step list: find/replace pairs of GBK bytes applied in order,
// each to every occurrence in the whole text (exact bytes, one pass each).
#pragma once

#include <functional>
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

}  // namespace abrivo
