#include "Engine.h"

namespace abrivo {

void Engine::weightTitleTerms() {}

}  // namespace abrivo
