// One summary through the public API, and the result as the text or JSON
// that abrivo-cli writes.
#pragma once

#include <abrivo/abrivo.h>

#include <string>

#include <nlohmann/json.hpp>

#include "cli/Options.h"

namespace abrivo::cli {

// Sets the length mode of request.
void setLength(abrivo::Request& request, const Length& length);

// The JSON of a summary. This is the one definition of the shape that
// `abrivo-cli -f json` and every `--jsonl` result carry (other front ends
// that write JSON mirror it), with members in this order:
//
//   {"language": "zh" | "en" | null, "summary": "...",
//    "keywords": ["...", ...],            up to three, heaviest first
//    "keyword_line": "关键词： ...",       as the window shows it
//    "status": "原文1133字，摘要177字",
//    "sizes": {"article": 1133, "summary": 177},
//    "terms": [{"term": "...", "weight": 16}, ...],
//    "sentences": [{"text": "...", "rank": 1, "position": 23, "selected": true}, ...]}
//
// Numbers are JSON numbers; terms are in table order, sentences in rank
// order ("rank" 1 is the best, "position" 0 the article's first sentence),
// and "selected" marks the sentences the summary holds.
nlohmann::ordered_json summaryJson(const abrivo::Summary& summary);

// The output for one summary in the given format, as UTF-8 ending with a
// newline: the summary text, or its JSON on one line.
std::string formatSummary(const abrivo::Summary& summary, Format format);

// Compact JSON text; never throws on the strings summaryJson builds.
std::string dumpJson(const nlohmann::ordered_json& json);

}  // namespace abrivo::cli
