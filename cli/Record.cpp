#include "cli/Record.h"

#include "cli/Input.h"
#include "abrivo/internal/text/Encoding.h"

namespace abrivo::cli {
namespace {

std::string utf8(std::string_view engineBytes) {
  return fromEngineBytes(engineBytes, Encoding::Utf8);
}

nlohmann::ordered_json tableRows(const Table& table, int columns) {
  nlohmann::ordered_json rows = nlohmann::ordered_json::array();
  for (int r = 0; r < table.rowCount(); ++r) {
    nlohmann::ordered_json row = nlohmann::ordered_json::array();
    for (int c = 0; c < columns; ++c) row.push_back(utf8(table.cell(r, c)));
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

void runRecord(Engine& engine, const Record& record) {
  engine.controls.标题框 = toEngineLineBreaks(record.title);
  engine.controls.内容框 = toEngineLineBreaks(record.content);
  engine.controls.组合框1 = record.length;
  engine.runSummary();
}

nlohmann::ordered_json resultJson(const Engine& engine) {
  nlohmann::ordered_json json;
  const auto language = detectLanguage(engine.controls.内容框);
  if (!language) {
    json["language"] = nullptr;
  } else {
    json["language"] = *language == Language::Chinese ? "zh" : "en";
  }
  json["summary"] = utf8(engine.controls.编辑框1);
  json["status"] = utf8(engine.controls.标签2);
  json["keywords"] = utf8(engine.controls.标签3);
  json["terms"] = tableRows(engine.termTable(), 2);
  json["sentences"] = tableRows(engine.sentenceTable(), 3);
  return json;
}

std::string summarise(const Record& record, Format format, Encoding encoding) {
  Engine engine;
  runRecord(engine, record);
  if (format == Format::Text) return fromEngineBytes(engine.controls.编辑框1, encoding) + '\n';
  return encodeUtf8Output(dumpJson(resultJson(engine)), encoding) + '\n';
}

std::string dumpJson(const nlohmann::ordered_json& json) {
  return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace abrivo::cli
