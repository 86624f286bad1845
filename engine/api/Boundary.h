// The boundary between Unicode callers and the engine's GBK world: UTF-8 text
// in, "\r\n" line breaks and the controls filled, the results read back as
// UTF-8 and typed values. abrivo::summarise is built on it, and so is every
// front end that hands the engine UTF-8.
//
// Internal: not installed. Tested by tests/api_test.cpp.
#pragma once

#include <abrivo/abrivo.h>

#include <string>
#include <string_view>

#include "Engine.h"

namespace abrivo::boundary {

// UTF-8 text as engine bytes: GB18030 with "\r\n" line breaks and no NUL
// bytes. Throws InvalidText naming field when utf8 is not valid UTF-8.
std::string toEngineText(std::string_view utf8, const char* field);

// Engine bytes as UTF-8 with "\n" line breaks; a cut character shows as
// U+FFFD.
std::string fromEngineText(std::string_view engineBytes);

// The length mode of a request, checked: std::invalid_argument when a value
// is out of range or more than one mode is set.
void applyLength(const Request& request, Engine& engine);

// Title, article and length of a request into a fresh engine's controls.
void fillControls(const Request& request, Engine& engine);

// The results of a finished run.
Summary readSummary(const Engine& engine);

}  // namespace abrivo::boundary
