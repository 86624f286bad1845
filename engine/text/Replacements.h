// A normalisation step list: find/replace pairs of GBK bytes applied in order,
// each to every occurrence in the whole text (exact bytes, one pass each).
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace abrivo {

struct Replacement {
  std::string_view find;
  std::string_view replace;
};

void applyReplacements(std::string& text, std::span<const Replacement> steps);

}  // namespace abrivo
