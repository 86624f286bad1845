// The start button: language test, what a run leaves behind, status line.
#include <gtest/gtest.h>

#include "abrivo/internal/Engine.h"
#include "abrivo/internal/Stages.h"
#include "abrivo/internal/text/TextOps.h"
#include "support/Gbk.h"

namespace abrivo {
namespace {

using testing::gbk;

std::string statusLine(int n, int m) {
  return gbk("原文") + std::to_string(n) + gbk("字，摘要") + std::to_string(m) + gbk("字");
}

TEST(LanguageTest, DeWinsThenEThenNothing) {
  EXPECT_EQ(detectLanguage(gbk("Mostly English text here, with one 的.")), Language::Chinese);
  EXPECT_EQ(detectLanguage("ONLY CAPITAL E"), Language::English);
  EXPECT_EQ(detectLanguage("x\xB5\xC4"), Language::Chinese);
  EXPECT_EQ(detectLanguage(""), std::nullopt);
  EXPECT_EQ(detectLanguage("123 456"), std::nullopt);
  EXPECT_EQ(detectLanguage(gbk("中国人民今天很忙。")), std::nullopt);
  EXPECT_EQ(detectLanguage("\x81"
                           "e"),
            std::nullopt)
      << "an e that is a second byte is not a letter";
}

TEST(RunSummary, NoLanguageOnlyEmptiesTheOutputBox) {
  for (const std::string& content :
       {std::string(), std::string("123 456"), gbk("中国人民今天很忙。")}) {
    Engine engine;
    engine.controls.内容框 = content;
    engine.controls.编辑框1 = "old summary";
    engine.controls.标签2 = "old status";
    engine.controls.标签3 = "old keywords";
    Stages(engine).sentenceTable().insertRow("kept row");
    Stages(engine).termTable().insertRow("kept term");
    engine.runSummary();
    EXPECT_EQ(engine.controls.编辑框1, "");
    EXPECT_EQ(engine.controls.标签2, "old status");
    EXPECT_EQ(engine.controls.标签3, "old keywords");
    EXPECT_EQ(engine.sentenceTable().rowCount(), 1);
    EXPECT_EQ(engine.termTable().rowCount(), 1);
  }
}

TEST(RunSummary, StatusLineCountsHalvedBytesForChinese) {
  Engine engine;
  // 801 bytes: 400 Chinese characters and one ASCII letter.
  std::string content;
  for (int i = 0; i < 399; ++i) content += gbk("的");
  content += gbk("好") + "x";
  ASSERT_EQ(content.size(), 801u);
  engine.controls.内容框 = content;
  engine.runSummary();
  EXPECT_EQ(engine.controls.标签2,
            statusLine(400, floorToInt(textLength(engine.controls.编辑框1) / 2.0)));
}

TEST(RunSummary, StatusLineCountsBytesForEnglishAndLineBreaksAsTwo) {
  Engine engine;
  engine.controls.内容框 = "The first line.\r\nThe second line.";
  engine.runSummary();
  EXPECT_EQ(engine.controls.标签2, statusLine(33, textLength(engine.controls.编辑框1)));
}

TEST(RebuildWorkText, JoinsColumnZeroWithoutSeparators) {
  Engine engine;
  Stages(engine).workText() = "stale";
  Stages(engine).rebuildWorkText();
  EXPECT_EQ(engine.workText(), "") << "an empty sentence table leaves workText empty";
  Stages(engine).sentenceTable().insertRow("One. ");
  Stages(engine).sentenceTable().insertRow("Two.");
  Stages(engine).rebuildWorkText();
  EXPECT_EQ(engine.workText(), "One. Two.");
}

TEST(RunSummary, ProcessEventsHookDefaultsToNothingAndCanBeSet) {
  Engine engine;
  engine.processEvents();  // no hook: nothing happens
  int calls = 0;
  engine.processEventsHook = [&] { ++calls; };
  engine.processEvents();
  EXPECT_EQ(calls, 1);
}

TEST(RunSummary, SecondPressDuringARunIsIgnored) {
  Engine engine;
  engine.controls.内容框 = gbk("市场的经济很好。市场的经济很好吗？市场的经济不错！市场的经济。");
  int nested = 0;
  engine.processEventsHook = [&] {
    if (nested++ == 0) {
      engine.controls.内容框 = "nested run would see this";
      engine.runSummary();
      EXPECT_TRUE(engine.isRunning());
    }
  };
  engine.runSummary();
  EXPECT_FALSE(engine.isRunning());
}

}  // namespace
}  // namespace abrivo
