// make-text: writes a generated article to a file, the same text that the
// benchmarks run on, so that abrivo-cli can be measured on it.
//
//   make-text zh 10485760 article.txt [title.txt] [-e gbk]
//
// Two further shapes stress the engine's memory: zh-repeat, one block of
// random Chinese characters repeated three times (every run of up to 17
// characters repeats), and zh-short, short distinct sentences (a row of the
// sentence table every 16 bytes).
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "TextGenerator.h"
#include "abrivo/internal/text/Encoding.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: make-text zh|en|zh-repeat|zh-short BYTES ARTICLE_FILE [TITLE_FILE]\n"
    "                 [-e utf-8|gbk] [--seed N]\n"
    "Writes a generated article of at most BYTES bytes of GBK (its UTF-8 form by\n"
    "default) and optionally its headline.\n";

// Random characters of the first level of GB2312, about one in thirty a 的.
class RandomChinese {
 public:
  explicit RandomChinese(std::uint64_t seed) : m_state(seed) {}
  std::string character() {
    if (next() % 30 == 0) return "\xB5\xC4";  // 的
    const auto lead = static_cast<char>(0xB0 + next() % 40);
    const auto trail = static_cast<char>(0xA1 + next() % (lead == '\xD7' ? 89 : 94));
    return {lead, trail};
  }

 private:
  std::uint64_t next() {
    m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
    return m_state >> 33;
  }
  std::uint64_t m_state;
};

std::string repeatedBlock(std::size_t bytes, std::uint64_t seed) {
  RandomChinese random(seed);
  std::string block;
  while (block.size() + 2 <= bytes / 3) block += random.character();
  return block + block + block;
}

std::string shortSentences(std::size_t bytes, std::uint64_t seed) {
  RandomChinese random(seed);
  std::string text;
  while (text.size() + 16 <= bytes) {
    for (int k = 0; k < 6; ++k) text += random.character();
    text += "\xB5\xC4\xA1\xA3";  // 的。
  }
  return text;
}

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
  const std::string& shape = positional[0];
  if ((count != 3 && count != 4) ||
      (shape != "zh" && shape != "en" && shape != "zh-repeat" && shape != "zh-short")) {
    std::cerr << kUsage;
    return 2;
  }

  const std::size_t bytes = std::strtoull(positional[1].c_str(), nullptr, 10);
  abrivo::bench::Article article;
  if (shape == "zh-repeat") {
    article.content = repeatedBlock(bytes, seed);
  } else if (shape == "zh-short") {
    article.content = shortSentences(bytes, seed);
  } else {
    const auto language = shape == "zh" ? abrivo::Language::Chinese : abrivo::Language::English;
    article = abrivo::bench::TextGenerator(language, seed).article(bytes);
  }
  if (!writeFile(positional[2], article.content, utf8) ||
      (count == 4 && !writeFile(positional[3], article.title, utf8))) {
    std::cerr << "make-text: cannot write the output\n";
    return 1;
  }
  return 0;
}
