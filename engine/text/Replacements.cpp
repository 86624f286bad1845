#include "text/Replacements.h"

#include "text/TextOps.h"

namespace abrivo {

void applyReplacements(std::string& text, std::span<const Replacement> steps) {
  for (const Replacement& step : steps) replaceAll(text, step.find, step.replace);
}

}  // namespace abrivo
