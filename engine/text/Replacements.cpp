#include "text/Replacements.h"

#include "text/TextOps.h"

namespace abrivo {

void applyReplacements(std::string& text, std::span<const Replacement> steps,
                       const std::function<void()>& betweenSteps) {
  for (const Replacement& step : steps) {
    replaceAll(text, step.find, step.replace);
    if (betweenSteps) betweenSteps();
  }
}

}  // namespace abrivo
