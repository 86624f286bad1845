#include "Engine.h"

namespace abrivo {

void Engine::prepareChineseTermText() {}
void Engine::prepareEnglishTermText() {}

}  // namespace abrivo
