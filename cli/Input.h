// The byte boundary of abrivo-cli: reading files and standard input, turning
// the user's encoding into the engine's GB18030 bytes and back.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "cli/Options.h"
#include "abrivo/internal/text/Encoding.h"

namespace abrivo::cli {

// "UTF-8", "GBK" or "GB18030", for messages.
std::string_view encodingName(Encoding encoding);

// The engine bytes of text in the given encoding, or nullopt and the offset
// of the first byte that is not valid in it. UTF-8 is converted (a leading
// byte order mark is dropped); GBK and GB18030 are checked strictly and kept
// as they are. Line breaks are left alone.
std::optional<std::string> toEngineBytes(std::string_view text, Encoding encoding,
                                         ConversionError* error);

// Engine bytes as the user's encoding, with "\n" line breaks: decoded to
// UTF-8 (a cut character shows as U+FFFD), or the bytes themselves.
std::string fromEngineBytes(std::string_view engineBytes, Encoding encoding);

// UTF-8 text (a JSON document) in the output encoding.
std::string encodeUtf8Output(std::string_view utf8, Encoding encoding);

struct ReadResult {
  std::string bytes;
  std::string error;  // why the input could not be read; empty on success
};

ReadResult readFile(const std::string& path);
ReadResult readStream(std::istream& in);

// Drops one final line break, which ends a one-line file but is not part of
// its text.
std::string_view withoutFinalLineBreak(std::string_view text);

}  // namespace abrivo::cli
