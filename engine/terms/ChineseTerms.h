#pragma once

#include "Engine.h"

namespace abrivo {

// The counting method an engine uses unless told otherwise.
const ChineseTermCounter& defaultChineseTermCounter();

}  // namespace abrivo
