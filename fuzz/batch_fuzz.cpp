// The command-line batch parser on arbitrary lines.
//
// Checked: a blank line gives no result and any other line exactly one line
// of valid JSON, an object that starts with "id" and holds either "error" or
// a summary; a record that is a JSON object with a string "content" and
// valid options is summarised, with its id copied.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "cli/Batch.h"

namespace {

using Json = nlohmann::ordered_json;

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
  const auto integerIn = [](const Json& v, int low, int high) {
    return v.is_number_integer() && v >= low && v <= high;
  };
  int modes = 0;
  for (const auto& [key, value] : record.items()) {
    if (key == "length") modes += integerIn(value, -1, 3) ? 1 : 2;
    if (key == "chars" || key == "sentences") modes += integerIn(value, 1, INT_MAX) ? 1 : 2;
    if (key == "ratio") modes += value.is_number() && value > 0 && value <= 100 ? 1 : 2;
  }
  return modes <= 1;
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

  Json out;
  try {
    out = Json::parse(*result);
  } catch (const Json::exception&) {
    fail("the result is not valid JSON");
  }
  if (!out.is_object() || out.empty() || out.begin().key() != "id")
    fail("the result is not an object that starts with \"id\"");
  if (out.contains("error") == out.contains("summary")) fail("neither an error nor a summary");

  Json record;
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
