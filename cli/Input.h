// The byte boundary of abrivo-cli: reading files and standard input, turning
// the user's encoding into UTF-8 for the library and UTF-8 results into the
// output encoding.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "abrivo/internal/text/Encoding.h"
#include "cli/Options.h"

namespace abrivo::cli {

// "UTF-8", "GBK", "GB18030" or "Big5-HKSCS", for messages.
std::string_view encodingName(Encoding encoding);

// Input bytes in the given encoding as UTF-8, checked strictly, or nullopt
// and why not (a message without the input's name, e.g. "not valid GBK at
// byte 7"). UTF-8 drops a leading byte order mark; Auto reads a byte order
// mark (UTF-8, UTF-16LE, UTF-16BE), else UTF-8, else GB18030. Line breaks
// are left alone.
std::optional<std::string> decodeInput(std::string bytes, Encoding encoding, std::string* whyNot);

// UTF-8 output in the output encoding, or nullopt and why not: the first
// character the encoding lacks, by its code point. Never replaces one. With
// jsonEscapes (utf8 is JSON, whose non-ASCII characters are all inside
// strings) such a character is written as a \u escape instead, which JSON
// reads as the same character.
std::optional<std::string> encodeOutput(std::string_view utf8, Encoding encoding,
                                        std::string* whyNot, bool jsonEscapes = false);

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
