// One summary: a fresh engine run on one headline and article, and the
// result as the text or JSON that abrivo-cli writes.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "abrivo/internal/Engine.h"
#include "cli/Options.h"

namespace abrivo::cli {

// Engine bytes (GB18030) of one record; line breaks may be of any kind.
struct Record {
  std::string title;
  std::string content;
  int length = 0;
};

// Sets the controls the window would set and runs the start button once. The
// line breaks become "\r\n" and NUL bytes go, as the window delivers text.
void runRecord(Engine& engine, const Record& record);

// The result of a run as JSON with UTF-8 strings: language, summary, status,
// keywords, terms and sentences, in that order.
nlohmann::ordered_json resultJson(const Engine& engine);

// The complete output for one record in the given format and encoding,
// ending with a newline. Runs a fresh engine.
std::string summarise(const Record& record, Format format, Encoding encoding);

// Compact JSON text; never throws on the strings resultJson builds.
std::string dumpJson(const nlohmann::ordered_json& json);

}  // namespace abrivo::cli
