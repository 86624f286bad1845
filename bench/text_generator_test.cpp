// The benchmark texts: reproducible, valid GBK in the right language, of the
// asked size, and made of sentences that the repeat check keeps.
#include <gtest/gtest.h>

#include <string>

#include "TextGenerator.h"
#include "abrivo/internal/Engine.h"
#include "abrivo/internal/Stages.h"
#include "abrivo/internal/text/Gbk.h"
#include "abrivo/internal/text/TextOps.h"

namespace abrivo::bench {
namespace {

constexpr std::size_t kBytes = 100 * 1024;

// Two-byte GBK only: no four-byte GB18030 sequences, no cut characters.
bool isGbk(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) continue;
    if (lead == 0x80 || lead == 0xFF || i + 1 >= text.size()) return false;
    const auto trail = static_cast<unsigned char>(text[++i]);
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
  }
  return true;
}

class TextGeneratorTest : public ::testing::TestWithParam<Language> {};

TEST_P(TextGeneratorTest, SameSeedSameBytesOtherSeedOtherBytes) {
  const Article a = TextGenerator(GetParam(), 1).article(kBytes);
  const Article b = TextGenerator(GetParam(), 1).article(kBytes);
  const Article c = TextGenerator(GetParam(), 2).article(kBytes);
  EXPECT_EQ(a.content, b.content);
  EXPECT_EQ(a.title, b.title);
  EXPECT_NE(a.content, c.content);
}

TEST_P(TextGeneratorTest, ValidGbkInItsLanguageAndOfTheAskedSize) {
  const Article a = TextGenerator(GetParam(), kBenchSeed).article(kBytes);
  EXPECT_TRUE(isGbk(a.content));
  EXPECT_TRUE(isGbk(a.title));
  EXPECT_EQ(detectLanguage(a.content), GetParam());
  EXPECT_LE(a.content.size(), kBytes);
  EXPECT_GT(a.content.size(), kBytes - 400);  // short by less than a sentence
  EXPECT_FALSE(a.title.empty());
}

TEST_P(TextGeneratorTest, RepeatCheckKeepsNearlyEverySentence) {
  Engine engine;
  Stages(engine).workText() = TextGenerator(GetParam(), kBenchSeed).article(kBytes).content;
  if (GetParam() == Language::Chinese)
    Stages(engine).normaliseChinese();
  else
    Stages(engine).normaliseEnglish();
  int pieces = 0;
  for (const std::string& piece : splitText(engine.workText(), gbk::kBreakMark))
    pieces += textLength(piece) >= 15;
  Stages(engine).buildSentenceTable();
  EXPECT_GT(pieces, 300);
  EXPECT_GE(engine.sentenceTable().rowCount(), pieces * 98 / 100);
}

INSTANTIATE_TEST_SUITE_P(Languages, TextGeneratorTest,
                         ::testing::Values(Language::Chinese, Language::English),
                         [](const auto& info) {
                           return info.param == Language::Chinese ? "Chinese" : "English";
                         });

}  // namespace
}  // namespace abrivo::bench
