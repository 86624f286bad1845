#include "Engine.h"

namespace abrivo {

void Engine::normaliseEnglish() {}

}  // namespace abrivo
