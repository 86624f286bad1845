// make-corpus: writes a JSON Lines corpus of generated articles, one
// abrivo-cli --jsonl record a line, for measuring batch throughput.
//
//   make-corpus zh 10000 4096 corpus.jsonl [--seed N]
//
// Each record is {"id": N, "title": "...", "content": "..."}: the next
// article of one generator, at most BYTES bytes of GBK, as UTF-8 with "\n"
// line breaks. The same arguments give the same file on every machine.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "TextGenerator.h"
#include "abrivo/internal/text/Encoding.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: make-corpus zh|en COUNT BYTES OUT_FILE [--seed N]\n"
    "Writes COUNT generated articles of at most BYTES bytes of GBK each as JSON\n"
    "Lines records with an id, a title and the content.\n";

// A JSON string literal of UTF-8 text.
void appendJsonString(std::string& out, std::string_view text) {
  out += nlohmann::json(text).dump();
}

std::string utf8(std::string_view engineBytes) {
  return abrivo::fromEngineLineBreaks(abrivo::gb18030ToUtf8Lenient(engineBytes));
}

}  // namespace

int main(int argc, char** argv) {
  std::string positional[4];
  int count = 0;
  std::uint64_t seed = abrivo::bench::kBenchSeed;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--seed" && i + 1 < argc) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (count < 4 && !arg.starts_with("-")) {
      positional[count++] = std::string(arg);
    } else {
      count = -1;
      break;
    }
  }
  if (count != 4 || (positional[0] != "zh" && positional[0] != "en")) {
    std::cerr << kUsage;
    return 2;
  }
  const auto language =
      positional[0] == "zh" ? abrivo::Language::Chinese : abrivo::Language::English;
  const long records = std::strtol(positional[1].c_str(), nullptr, 10);
  const std::size_t bytes = std::strtoull(positional[2].c_str(), nullptr, 10);

  abrivo::bench::TextGenerator generator(language, seed);
  std::ofstream out(positional[3], std::ios::binary);
  std::string line;
  for (long n = 0; n < records && out; ++n) {
    const abrivo::bench::Article article = generator.article(bytes);
    line = "{\"id\":" + std::to_string(n) + ",\"title\":";
    appendJsonString(line, utf8(article.title));
    line += ",\"content\":";
    appendJsonString(line, utf8(article.content));
    line += "}\n";
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
  }
  if (!out) {
    std::cerr << "make-corpus: cannot write " << positional[3] << '\n';
    return 1;
  }
  return 0;
}
