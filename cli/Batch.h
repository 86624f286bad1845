// Batch mode: JSON Lines in, one JSON result per record out, in input order.
//
// A record is an object with "content" (a string) and optional "id" (any
// JSON value, copied to the result), "title" (a string) and "length" (an
// integer from -1 to 3). A line that is not such a record gives
// {"id": ..., "error": "..."} and the batch goes on. Blank lines are skipped.
// Input and output are UTF-8.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace abrivo::cli {

// The result line for one input line, without its newline; nullopt for a
// blank line. defaultLength applies to records without "length".
std::optional<std::string> processRecordLine(std::string_view line, int defaultLength = 0);

// Reads records line by line until the end of in and writes each result as
// soon as it is made, so memory stays bounded by the largest record. Returns
// 0, or 1 after reporting to err that reading or writing failed.
int runBatch(std::istream& in, std::ostream& out, std::ostream& err, int defaultLength = 0);

}  // namespace abrivo::cli
