// Batch mode: JSON Lines in, one JSON result per record out, in input order.
//
// A record is an object with "content" (a string) and optional "id" (any
// JSON value, copied to the result exactly as written), "title" (a string)
// and one length mode: "length" (an integer from -1 to 3), "chars" or
// "sentences" (an integer of at least 1) or "ratio" (a number above 0 and at
// most 100). A line that is not such a record, is longer than --max-bytes or
// does not fit in memory gives
// {"id": ..., "error": "..."} and the batch goes on. Blank lines are skipped.
// Input and output are UTF-8.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "cli/Options.h"

namespace abrivo::cli {

// The result line for one input line, without its newline; nullopt for a
// blank line. defaultLength applies to records without a length mode.
std::optional<std::string> processRecordLine(std::string_view line,
                                             const Length& defaultLength = {});

// Reads records line by line until the end of in and writes each result as
// soon as it and every result before it are made, each line with its newline
// in one write. With options.jobs other than 1, that many threads (0: one per
// core) summarise records at once, with a bounded number of records held;
// the output is the same. Memory stays bounded by the largest record.
// options.length applies to records without a length mode. Returns 0, or 1
// after reporting to err that reading or writing failed.
int runBatch(std::istream& in, std::ostream& out, std::ostream& err, const Options& options = {});

}  // namespace abrivo::cli
