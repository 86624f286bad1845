// Summarises JSON Lines records as abrivo-cli --jsonl reads them ({"id",
// "title", "content", "length"}) with the installed library, and writes one
// line per record: {"id", "language", "summary", "keyword_line", "status",
// "sizes"} or {"id", "error"}.
#include <abrivo/abrivo.h>

#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

int main() {
  using nlohmann::json;
  std::ios::sync_with_stdio(false);
  for (std::string line; std::getline(std::cin, line);) {
    if (line.empty()) continue;
    const json record = json::parse(line);
    json result = {{"id", record.value("id", json())}};
    abrivo::Request request;
    request.title = record.value("title", "");
    request.article = record.at("content").get<std::string>();
    request.length = record.value("length", 0);
    try {
      const abrivo::Summary s = abrivo::summarise(request);
      result["language"] = !s.language                                ? json()
                           : *s.language == abrivo::Language::Chinese ? json("zh")
                                                                      : json("en");
      result["summary"] = s.summary;
      result["keyword_line"] = s.keywordLine;
      result["status"] = s.status;
      result["sizes"] = {{"article", s.articleSize}, {"summary", s.summarySize}};
    } catch (const std::exception& e) {
      result["error"] = e.what();
    }
    std::cout << result.dump() << '\n';
  }
}
