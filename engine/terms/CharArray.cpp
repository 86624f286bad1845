// charArray: the characters of workText, one element each.
//
// Tested by tests/terms_test.cpp.
#include "Engine.h"
#include "text/TextOps.h"

namespace abrivo {

void Engine::buildCharArray() {
  charArray.clear();
  for (std::size_t i = 0; i < workText.size();) {
    const std::size_t n = charSize(workText, i);
    charArray.emplace_back(workText, i, n);
    i += n;
  }
}

}  // namespace abrivo
