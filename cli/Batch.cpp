#include "cli/Batch.h"

#include <climits>
#include <istream>
#include <ostream>

#include "cli/Options.h"
#include "cli/Record.h"

namespace abrivo::cli {
namespace {

using Json = nlohmann::ordered_json;

// Copying and writing a JSON value recurse once per level of nesting, and
// the parser copies an object's earlier members when it grows, so a record
// nested a hundred thousand levels deep would overflow the stack. Lines
// nested deeper than this are refused before they are parsed.
constexpr int kMaxNesting = 512;

bool isBlank(std::string_view line) {
  return line.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Whether the line opens more than kMaxNesting arrays and objects at once,
// counting brackets outside strings.
bool nestedTooDeeply(std::string_view line) {
  int depth = 0;
  bool inString = false;
  bool escaped = false;
  for (const char c : line) {
    if (inString) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxNesting) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

std::string errorLine(const Json& id, std::string message) {
  Json json;
  json["id"] = id;
  json["error"] = std::move(message);
  return dumpJson(json);
}

}  // namespace

std::optional<std::string> processRecordLine(std::string_view line, const Length& defaultLength) {
  if (isBlank(line)) return std::nullopt;
  if (nestedTooDeeply(line)) {
    return errorLine(
        nullptr, "the record is nested more than " + std::to_string(kMaxNesting) + " levels deep");
  }

  Json input;
  try {
    input = Json::parse(line);
  } catch (const Json::parse_error& e) {
    // e.byte counts from 1 and points at the last byte read.
    const std::size_t offset = e.byte > 0 ? e.byte - 1 : 0;
    return errorLine(nullptr, "not valid JSON (at byte " + std::to_string(offset) + ")");
  } catch (const Json::exception&) {
    return errorLine(nullptr, "not valid JSON");
  }
  if (!input.is_object()) return errorLine(nullptr, "the record is not a JSON object");

  const Json id = input.contains("id") ? input["id"] : Json();
  const auto content = input.find("content");
  if (content == input.end()) return errorLine(id, "\"content\" is missing");
  if (!content->is_string()) return errorLine(id, "\"content\" is not a string");

  abrivo::Request request;
  request.article = content->get_ref<const std::string&>();
  if (const auto title = input.find("title"); title != input.end()) {
    if (!title->is_string()) return errorLine(id, "\"title\" is not a string");
    request.title = title->get_ref<const std::string&>();
  }
  // A record with a length mode of its own replaces the default mode.
  Length length = defaultLength;
  const auto index = input.find("length"), chars = input.find("chars"),
             sentences = input.find("sentences"), ratio = input.find("ratio");
  const int modes = (index != input.end()) + (chars != input.end()) + (sentences != input.end()) +
                    (ratio != input.end());
  if (modes > 1) {
    return errorLine(id, "\"length\", \"chars\", \"sentences\" and \"ratio\" exclude each other");
  }
  if (modes == 1) length = {};
  if (index != input.end()) {
    const bool valid = index->is_number_integer() && *index >= -1 && *index <= 3;
    if (!valid) return errorLine(id, "\"length\" is not an integer from -1 to 3");
    length.index = index->get<int>();
  }
  for (const auto& [count, name] : {std::pair{chars, "chars"}, std::pair{sentences, "sentences"}}) {
    if (count == input.end()) continue;
    const bool valid = count->is_number_integer() && *count >= 1 && *count <= INT_MAX;
    if (!valid) {
      return errorLine(id, "\"" + std::string(name) + "\" is not an integer from 1 to " +
                               std::to_string(INT_MAX));
    }
    (count == chars ? length.chars : length.sentences) = count->get<int>();
  }
  if (ratio != input.end()) {
    const bool valid = ratio->is_number() && *ratio > 0 && *ratio <= 100;
    if (!valid) return errorLine(id, "\"ratio\" is not a number above 0 and at most 100");
    length.ratio = ratio->get<double>();
  }
  setLength(request, length);

  Json result;
  result["id"] = id;
  try {
    result.update(summaryJson(abrivo::summarise(request)));
  } catch (const std::invalid_argument& e) {
    return errorLine(id, e.what());
  }
  return dumpJson(result);
}

int runBatch(std::istream& in, std::ostream& out, std::ostream& err, const Length& defaultLength) {
  std::string line;
  while (std::getline(in, line)) {
    const std::optional<std::string> result = processRecordLine(line, defaultLength);
    if (!result) continue;
    out << *result << '\n';
    out.flush();
    if (!out) {
      err << "abrivo-cli: cannot write the results\n";
      return 1;
    }
  }
  if (in.bad()) {
    err << "abrivo-cli: <stdin>: read error\n";
    return 1;
  }
  return 0;
}

}  // namespace abrivo::cli
