#include "Engine.h"

namespace abrivo {

void Engine::buildCharArray() {}

}  // namespace abrivo
