#include "Engine.h"

namespace abrivo {

void Engine::sortTermTable() {}

}  // namespace abrivo
