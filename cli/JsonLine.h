// The reader of one --jsonl line: checks that the line is one JSON value and
// gives the members of a top-level object with their values as written, in
// one pass (time linear in the length of the line, whatever its shape).
// Values stay text: an id is copied exactly as it was given, and a field is
// converted only when it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace abrivo::cli {

// Arrays and objects nested deeper than this are refused, so that nothing
// that walks a value recurses without bound.
inline constexpr int kMaxJsonNesting = 512;

enum class JsonKind { Null, False, True, Number, String, Array, Object };

struct JsonMember {
  std::string key;        // decoded UTF-8
  JsonKind kind;          //
  std::string_view text;  // the value's JSON text as written in the line
};

struct JsonLine {
  JsonKind kind;                    // of the top-level value
  std::vector<JsonMember> members;  // of a top-level object, in order
};

struct JsonLineError {
  std::size_t offset = 0;  // of the first byte that cannot be read
  bool tooDeep = false;    // nested more than kMaxJsonNesting levels
};

// Reads a line holding one JSON value with optional whitespace around it and
// an optional UTF-8 byte order mark before it. Strings must be valid UTF-8.
// Numbers of any size are taken as written.
std::optional<JsonLine> parseJsonLine(std::string_view line, JsonLineError* error = nullptr);

// The last member named key (a later duplicate replaces an earlier one), or
// nullptr.
const JsonMember* findMember(const JsonLine& line, std::string_view key);

// The UTF-8 text of a string value that parseJsonLine accepted.
std::string decodeJsonString(std::string_view text);

// A number written without fraction or exponent that fits in 64 bits.
std::optional<std::int64_t> jsonInteger(std::string_view text);

// A value's text without the whitespace between its tokens.
std::string compactJson(std::string_view text);

}  // namespace abrivo::cli
