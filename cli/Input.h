// The byte boundary of abrivo-cli: reading files and standard input, turning
// the user's encoding into the engine's GB18030 bytes and back.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "abrivo/internal/text/Encoding.h"
#include "cli/Options.h"

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

// Reads a whole input of at most maxBytes bytes. A larger one is refused
// before it is held whole: a file from its size, a stream as soon as it
// passes the limit. A read error is reported, never thrown.
ReadResult readFile(const std::string& path, std::size_t maxBytes = kDefaultMaxBytes);
ReadResult readStream(std::istream& in, std::size_t maxBytes = kDefaultMaxBytes);

// The error of an input longer than maxBytes.
std::string tooLargeMessage(std::size_t maxBytes);

// Drops one final line break, which ends a one-line file but is not part of
// its text.
std::string_view withoutFinalLineBreak(std::string_view text);

}  // namespace abrivo::cli
