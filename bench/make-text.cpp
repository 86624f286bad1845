// make-text: writes a generated article to a file, the same text that the
// benchmarks run on, so that abrivo-cli can be measured on it.
//
//   make-text zh 10485760 article.txt [title.txt] [-e gbk]
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "TextGenerator.h"
#include "abrivo/internal/text/Encoding.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: make-text zh|en BYTES ARTICLE_FILE [TITLE_FILE] [-e utf-8|gbk] [--seed N]\n"
    "Writes a generated article of at most BYTES bytes of GBK (its UTF-8 form by\n"
    "default) and optionally its headline.\n";

bool writeFile(const std::string& path, std::string_view gbk, bool utf8) {
  std::ofstream out(path, std::ios::binary);
  const std::string bytes = utf8 ? abrivo::gb18030ToUtf8Lenient(gbk) : std::string(gbk);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  std::string positional[4];
  int count = 0;
  bool utf8 = true;
  std::uint64_t seed = abrivo::bench::kBenchSeed;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if ((arg == "-e" || arg == "--seed") && i + 1 < argc) {
      const std::string_view value = argv[++i];
      if (arg == "--seed")
        seed = std::strtoull(value.data(), nullptr, 10);
      else if (value == "gbk")
        utf8 = false;
      else if (value != "utf-8")
        count = -1;
    } else if (count >= 0 && count < 4 && !arg.starts_with("-")) {
      positional[count++] = std::string(arg);
    } else {
      count = -1;
    }
    if (count < 0) break;
  }
  if ((count != 3 && count != 4) || (positional[0] != "zh" && positional[0] != "en")) {
    std::cerr << kUsage;
    return 2;
  }

  const auto language =
      positional[0] == "zh" ? abrivo::Language::Chinese : abrivo::Language::English;
  const std::size_t bytes = std::strtoull(positional[1].c_str(), nullptr, 10);
  const abrivo::bench::Article article =
      abrivo::bench::TextGenerator(language, seed).article(bytes);
  if (!writeFile(positional[2], article.content, utf8) ||
      (count == 4 && !writeFile(positional[3], article.title, utf8))) {
    std::cerr << "make-text: cannot write the output\n";
    return 1;
  }
  return 0;
}
