// charArray: the characters of workText, one element each.
//
// Tested by tests/terms_test.cpp.
#include "Engine.h"

namespace abrivo {

void Engine::buildCharArray() {
  charArray.assign(workText);
}

}  // namespace abrivo
