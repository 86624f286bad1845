// Term stages of both languages, the character array and row ordering.
#include <gtest/gtest.h>

#include <memory>

#include "abrivo/internal/Engine.h"
#include "abrivo/internal/Stages.h"
#include "abrivo/internal/terms/ChineseTerms.h"
#include "abrivo/internal/terms/EnglishTerms.h"
#include "abrivo/internal/terms/RowOrdering.h"
#include "support/Gbk.h"

namespace abrivo {
namespace {

using testing::gbk;
using testing::utf8;

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows termRows(const Engine& engine) {
  Rows rows;
  for (int r = 0; r < engine.termTable().rowCount(); ++r)
    rows.emplace_back(utf8(engine.termTable().cell(r, 0)), engine.termTable().cell(r, 1));
  return rows;
}

// Runs the Chinese term stage on a term text as the driver would.
std::unique_ptr<Engine> chineseTerms(const std::string& termText) {
  auto engine = std::make_unique<Engine>();
  Stages(*engine).workText() = gbk(termText);
  Stages(*engine).extractChineseTerms();
  return engine;
}

TEST(CharArray, OneElementPerCharacter) {
  CharArray chars;
  chars.assign(gbk("中 a") + "\xB5");  // a lone lead byte at the end stays one byte
  EXPECT_EQ(std::vector<std::string>(chars.begin(), chars.end()),
            (std::vector<std::string>{gbk("中"), " ", "a", "\xB5"}));
  chars.assign("");
  EXPECT_TRUE(chars.empty());
}

TEST(ChineseTerms, TheStageKeepsTheCharactersOfTheCutText) {
  const auto engine = chineseTerms("甲乙丙 甲乙丙 甲乙丙 丁");
  EXPECT_EQ(std::vector<std::string>(engine->charArray().begin(), engine->charArray().end()),
            (std::vector<std::string>{" ", " ", " ", " ", " ", " ", gbk("丁")}));
}

TEST(ChineseTerms, LongerTermHandsItsWeightToTheShorterOne) {
  const auto engine = chineseTerms("市场经济 市场经济 市场 市场经济 市场 市场经济 市场 ");
  EXPECT_EQ(termRows(*engine), (Rows{{"市场", "7"}, {"经济", "4"}}));
  EXPECT_EQ(utf8(engine->controls.标签3), "关键词： 市场 经济  ");
  EXPECT_EQ(utf8(engine->workText()), std::string(14, ' ')) << "every term cut out";
}

TEST(ChineseTerms, ACutLowersLaterCandidatesOfTheSamePass) {
  const auto engine = chineseTerms("经济学 经济 济学 经济 济学 ");
  EXPECT_EQ(termRows(*engine), (Rows{{"经济", "3"}}));
}

TEST(ChineseTerms, CountsAreNonOverlappingAndNeedThree) {
  EXPECT_TRUE(termRows(*chineseTerms("哈哈哈哈 甲乙 甲乙 ")).empty());
  EXPECT_EQ(termRows(*chineseTerms("甲乙 甲乙 甲乙 ")), (Rows{{"甲乙", "3"}}));
  EXPECT_EQ(termRows(*chineseTerms("甲乙 甲乙 甲乙")), Rows{})
      << "an occurrence at the very end is not counted";
}

TEST(ChineseTerms, RunsOfEighteenCountOnlyByTheirParts) {
  const std::string run18 = "一二三四五六七八九十甲乙丙丁戊己庚辛";
  const auto engine = chineseTerms(run18 + " " + run18 + " " + run18 + " ");
  ASSERT_EQ(engine->termTable().rowCount(), 1);
  EXPECT_EQ(utf8(engine->termTable().cell(0, 0)), "一二三四五六七八九十甲乙丙丁戊己庚");
}

TEST(ChineseTerms, MergeFindsIgnoringCaseButRemovesExactBytes) {
  const auto engine = chineseTerms("xAB xAB xAB ab ab ab ");
  EXPECT_EQ(termRows(*engine), (Rows{{"ab", "6"}, {"xAB", "3"}}));
}

TEST(ChineseTerms, TermOfCopiesBecomesEmptyAndKeepsItsWeight) {
  const auto engine = chineseTerms("甲乙甲乙 甲乙甲乙 甲乙甲乙 甲乙 甲乙 甲乙 ");
  EXPECT_EQ(termRows(*engine), (Rows{{"甲乙", "6"}, {"", "3"}}));
  EXPECT_EQ(utf8(engine->controls.标签3), "关键词： 甲乙   ");
}

TEST(ChineseTerms, TermsHoldingZhegeAreDroppedEvenWhenAdjacent) {
  const auto engine =
      chineseTerms("这个甲乙 这个甲乙 这个甲乙 这个丙丁 这个丙丁 这个丙丁 市场 市场 市场 ");
  EXPECT_EQ(termRows(*engine), (Rows{{"市场", "3"}}));
}

TEST(ChineseTerms, EmptyTextStillWritesProgressAndKeywordLine) {
  Engine engine;
  std::vector<std::string> progress;
  engine.processEventsHook = [&] {
    const std::string& shown = engine.controls.标签2;
    if (!shown.empty() && (progress.empty() || progress.back() != shown)) progress.push_back(shown);
  };
  Stages(engine).extractChineseTerms();
  EXPECT_EQ(progress,
            (std::vector<std::string>{"6%", "12%", "18%", "25%", "31%", "37%", "43%", "50%", "56%",
                                      "62%", "68%", "75%", "81%", "87%", "93%", "100%"}));
  EXPECT_EQ(utf8(engine.controls.标签3), "关键词：    ");
}

TEST(StripSuffix, FirstMatchingRuleOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"darkness", "dark"},
      {"business", "busi"},
      {"unless", "un"},
      {"countries", "country"},
      {"series", "sery"},
      {"quickly", "quick"},
      {"building", "build"},
      {"news", "new"},
      {"this", "thi"},
      {"DARKNESS", "DARKNESS"},
      {"Countries", "Country"},
      {"nesses", "nesse"},
      {"ness", ""},
      {"ly", ""},
      {"s", ""},
      {"plan", "plan"},
      {"", ""},
  };
  for (const auto& [word, stem] : cases) EXPECT_EQ(stripSuffix(word), stem) << word;
  EXPECT_EQ(stripSuffix("\xB5s"), "\xB5s") << "an s that is a second byte is no suffix";
}

TEST(CountRepeats, FirstOccurrenceOrderExactBytes) {
  const auto counts = countRepeats({"", "plan", "rail", "plan", "", "Rail", "plan", "rail", "x"});
  std::vector<std::pair<std::string, int>> actual;
  for (const auto& c : counts) actual.emplace_back(c.word, c.repeats);
  EXPECT_EQ(actual, (std::vector<std::pair<std::string, int>>{
                        {"plan", 2}, {"rail", 1}, {"Rail", 0}, {"x", 0}}));
}

TEST(EnglishTerms, RepeatsAfterTheFirstOccurrenceAndKeywordLine) {
  Engine engine;
  Stages(engine).workText() =
      "plan plans plan plans rail rail rail EU EU EU EU EU countries countries countries "
      "countries tide tide tide tide ";
  Stages(engine).extractEnglishTerms();
  // country, plan and tide occur 4 times (weight 3); rail 3 times and EU (two bytes) give none.
  EXPECT_EQ(termRows(engine), (Rows{{"plan", "3"}, {"country", "3"}, {"tide", "3"}}));
  EXPECT_EQ(utf8(engine.controls.标签3), "关键词： plan tide ") << "country is not in the text";
  EXPECT_EQ(engine.controls.标签2, "100%");
}

TEST(EnglishTerms, EmptyTextAndTextWithoutTerms) {
  Engine engine;
  Stages(engine).extractEnglishTerms();
  EXPECT_EQ(utf8(engine.controls.标签3), "关键词： ");
  Stages(engine).workText() = "one two three ";
  Stages(engine).extractEnglishTerms();
  EXPECT_EQ(utf8(engine.controls.标签3), "关键词：    ");
}

TEST(SortRows, ByIntegerPartHighestFirstStable) {
  Table table({{"t"}, {"a"}});
  const std::pair<const char*, const char*> rows[] = {{"w3", "3"},   {"w2.9", "2.9"}, {"w10", "10"},
                                                      {"empty", ""}, {"w2.1", "2.1"}, {"w7", "7"},
                                                      {"w12", "12"}, {"w9", "9"}};
  for (const auto& [term, weight] : rows) table.setCellText(table.insertRow(term), 1, weight);
  sortRows(table, 1);
  std::vector<std::string> order;
  for (int r = 0; r < table.rowCount(); ++r) order.push_back(table.cell(r, 0));
  EXPECT_EQ(order,
            (std::vector<std::string>{"w12", "w10", "w9", "w7", "w3", "w2.9", "w2.1", "empty"}));
  EXPECT_EQ(table.cell(5, 1), "2.9") << "cells move with their rows, unchanged";
}

}  // namespace
}  // namespace abrivo
