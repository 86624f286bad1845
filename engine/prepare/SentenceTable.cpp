#include "Engine.h"

namespace abrivo {

void Engine::buildSentenceTable() {}
void Engine::cleanSentences(Language) {}

}  // namespace abrivo
