#include "Engine.h"

namespace abrivo {

void Engine::extractEnglishTerms() {}

}  // namespace abrivo
