#include "Engine.h"

namespace abrivo {

void Engine::selectChineseSummary() {}
void Engine::selectEnglishSummary() {}
void Engine::selectSummary(Language) {}

}  // namespace abrivo
