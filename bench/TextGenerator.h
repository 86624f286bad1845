// News-like articles of any size for the benchmarks, made from a fixed seed:
// the same language, seed and size give the same bytes on every machine.
//
// Words come from an invented vocabulary of several thousand entries drawn
// with Zipf-like weights (a few very frequent function words, a long tail of
// rare ones); sentences hold 8 to 35 words with commas, paragraphs end in
// "\r\n". Chinese words are 1 to 4 common characters with an occasional 的;
// English words have the lengths of running English text. Sentences repeat
// almost never, so the engine's repeat check keeps nearly all of them.
//
//   abrivo::bench::TextGenerator generator(abrivo::Language::Chinese, abrivo::bench::kBenchSeed);
//   const abrivo::bench::Article a = generator.article(1 << 20);
//   engine.controls.标题框 = a.title;
//   engine.controls.内容框 = a.content;
//
// Tested by bench/text_generator_test.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "abrivo/internal/Engine.h"

namespace abrivo::bench {

// The seed of the texts that tools/bench.sh measures.
inline constexpr std::uint64_t kBenchSeed = 20261211;

// GBK bytes with "\r\n" line breaks, as the engine reads its controls.
struct Article {
  std::string title;
  std::string content;
};

class TextGenerator {
 public:
  TextGenerator(Language language, std::uint64_t seed);

  // An article of at most `bytes` bytes, short of it by less than one
  // sentence, and a headline of a few of its more frequent content words.
  Article article(std::size_t bytes);

 private:
  std::uint64_t nextRandom();
  std::uint64_t pick(std::uint64_t n);  // uniform in [0, n)
  bool chance(int percent) { return pick(100) < static_cast<std::uint64_t>(percent); }
  const std::string& word();  // one word, by its Zipf weight

  void buildChineseVocabulary();
  void buildEnglishVocabulary();
  std::string sentence();
  std::string chineseSentence();
  std::string englishSentence();
  std::string number();

  Language m_language;
  std::uint64_t m_state;
  std::vector<std::string> m_words;         // in rank order
  std::vector<std::uint64_t> m_cumulative;  // running sum of the weights by rank
};

}  // namespace abrivo::bench
