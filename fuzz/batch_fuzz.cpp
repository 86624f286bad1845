// The command-line batch parser on arbitrary lines.
//
// Checked: a blank line gives no result and any other line exactly one line
// of valid JSON, an object that starts with "id" and holds either "error" or
// a summary; a record that is a JSON object with a string "content" and
// valid options is summarised, with its id copied. The record reader agrees
// with a general JSON parser on which lines are JSON, on the keys of a
// record and on the text of its strings.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "cli/Batch.h"
#include "cli/JsonLine.h"

namespace {

using Json = nlohmann::ordered_json;
using abrivo::cli::JsonKind;

void fail(const char* what) {
  std::fprintf(stderr, "batch_fuzz: %s\n", what);
  std::abort();
}

// Whether value nests arrays and objects at most `levels` deep.
bool nestsAtMost(const Json& value, int levels) {
  if (!value.is_structured()) return true;
  if (levels == 0) return false;
  for (const Json& element : value)
    if (!nestsAtMost(element, levels - 1)) return false;
  return true;
}

// Whether the line is a record that must be summarised: an object nested at
// most 512 levels deep with a string "content", a string "title" if any and
// at most one length mode: "length" an integer from -1 to 3, "chars" or
// "sentences" an integer from 1 to INT_MAX, or "ratio" a number above 0 and
// at most 100.
bool isGoodRecord(const Json& record) {
  if (!record.is_object() || !nestsAtMost(record, 512)) return false;
  const auto content = record.find("content");
  if (content == record.end() || !content->is_string()) return false;
  const auto title = record.find("title");
  if (title != record.end() && !title->is_string()) return false;
  // Compared in the number's own type: a large unsigned value must not wrap
  // around.
  const auto integerIn = [](const Json& v, std::int64_t low, std::int64_t high) {
    if (v.is_number_unsigned()) {
      const auto u = v.get<std::uint64_t>();
      return u >= static_cast<std::uint64_t>(std::max<std::int64_t>(low, 0)) &&
             u <= static_cast<std::uint64_t>(high);
    }
    return v.is_number_integer() && v.get<std::int64_t>() >= low && v.get<std::int64_t>() <= high;
  };
  int modes = 0;
  for (const auto& [key, value] : record.items()) {
    if (key == "length") modes += integerIn(value, -1, 3) ? 1 : 2;
    if (key == "chars" || key == "sentences") modes += integerIn(value, 1, INT_MAX) ? 1 : 2;
    if (key == "ratio") modes += value.is_number() && value > 0 && value <= 100 ? 1 : 2;
  }
  return modes <= 1;
}

// The record reader against the general parser. That one refuses numbers
// beyond the range of a double, which the reader takes as written, and takes
// a NUL byte for the end of its input, where JSON allows none; the reader
// refuses nesting deeper than 512 levels.
void compareReaders(std::string_view line) {
  abrivo::cli::JsonLineError error;
  const std::optional<abrivo::cli::JsonLine> mine = abrivo::cli::parseJsonLine(line, &error);
  if (line.find('\0') != std::string_view::npos) {
    if (mine) fail("the reader took a NUL byte");
    return;
  }
  Json theirs;
  try {
    theirs = Json::parse(line);
  } catch (const Json::out_of_range&) {
    return;  // a number that overflows a double
  } catch (const Json::exception&) {
    if (mine) fail("the reader took a line that is not JSON");
    return;
  }
  if (!mine) {
    if (!error.tooDeep || nestsAtMost(theirs, 512)) fail("the reader refused valid JSON");
    return;
  }
  if (mine->kind == JsonKind::Object) {
    if (!theirs.is_object()) fail("the reader took a value for an object");
    std::set<std::string> keys;
    for (const auto& member : mine->members) {
      keys.insert(member.key);
      const auto found = theirs.find(member.key);
      if (found == theirs.end()) fail("a key decoded differently");
      if (abrivo::cli::findMember(*mine, member.key) == &member &&
          member.kind == JsonKind::String && abrivo::cli::decodeJsonString(member.text) != *found)
        fail("a string decoded differently");
    }
    if (keys.size() != theirs.size()) fail("the records have different keys");
  } else if (theirs.is_object()) {
    fail("the reader missed an object");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const bool blank = line.find_first_not_of(" \t\r\n") == std::string_view::npos;
  abrivo::cli::Length length;
  length.index = 1;
  const std::optional<std::string> result = abrivo::cli::processRecordLine(line, length);
  if (blank != !result.has_value()) fail("a blank line gave a result, or another line none");
  if (!result) return 0;
  if (result->find_first_of("\r\n") != std::string::npos) fail("the result is not one line");
  compareReaders(line);

  Json out;
  try {
    out = Json::parse(*result);
  } catch (const Json::out_of_range&) {
    // An id copied as written may hold a number beyond a double.
    return 0;
  } catch (const Json::exception&) {
    fail("the result is not valid JSON");
  }
  if (!out.is_object() || out.empty() || out.begin().key() != "id")
    fail("the result is not an object that starts with \"id\"");
  if (out.contains("error") == out.contains("summary")) fail("neither an error nor a summary");

  Json record;
  if (line.find('\0') != std::string_view::npos) return 0;
  try {
    record = Json::parse(line);
  } catch (const Json::exception&) {
    return 0;
  }
  if (isGoodRecord(record)) {
    if (out.contains("error")) fail("a good record was refused");
    const auto id = record.find("id");
    if (out["id"] != (id == record.end() ? Json() : *id)) fail("the id was not copied");
  }
  return 0;
}
