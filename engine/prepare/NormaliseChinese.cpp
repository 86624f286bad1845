#include "Engine.h"

namespace abrivo {

void Engine::normaliseChinese() {}

}  // namespace abrivo
