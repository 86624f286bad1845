// The sentence table: which pieces become rows, and how clean-up tidies them.
#include <gtest/gtest.h>

#include "abrivo/internal/Engine.h"
#include "abrivo/internal/Stages.h"
#include "abrivo/internal/prepare/SentenceTable.h"
#include "support/Gbk.h"

namespace abrivo {
namespace {

using testing::gbk;
using testing::utf8;

std::vector<std::string> column(const Table& table, int c) {
  std::vector<std::string> cells;
  for (int r = 0; r < table.rowCount(); ++r) cells.push_back(utf8(table.cell(r, c)));
  return cells;
}

TEST(BuildSentenceTable, KeepsFirstCopyOfPiecesOfFifteenBytesOrMore) {
  Engine engine;
  // 14 and 15 bytes; a repeat; an empty piece; a long last piece without mark.
  Stages(engine).workText() =
      gbk("一二三四五六七〓一二三四五六七a〓〓第二句很长的句子。〓一二三四五六七a〓最后一句没有标点"
          "符号");
  Stages(engine).sentenceTable().insertRow("stale row");
  Stages(engine).buildSentenceTable();
  EXPECT_EQ(
      column(engine.sentenceTable(), 0),
      (std::vector<std::string>{"一二三四五六七a", "第二句很长的句子。", "最后一句没有标点符号"}));
  EXPECT_EQ(column(engine.sentenceTable(), 1), (std::vector<std::string>{"1", "1", "1"}));
  EXPECT_EQ(column(engine.sentenceTable(), 2), (std::vector<std::string>{"0", "1", "2"}));
}

TEST(BuildSentenceTable, EmptyOrShortTextGivesNoRows) {
  for (const char* text : {"", "短句。〓也短。〓"}) {
    Engine engine;
    Stages(engine).workText() = gbk(text);
    Stages(engine).buildSentenceTable();
    EXPECT_EQ(engine.sentenceTable().rowCount(), 0) << text;
  }
}

TEST(BlankRepeats, KeepsOnlyTheFirstCopy) {
  std::vector<std::string> pieces = {"a", "b", "a", "", "b", "", "A", "a"};
  blankRepeats(pieces);
  EXPECT_EQ(pieces, (std::vector<std::string>{"a", "b", "", "", "", "", "A", ""}));
}

TEST(RemoveBracketed, Cases) {
  struct Case {
    const char* name;
    std::string text, open, close, expected;
  } cases[] = {
      {"two asides take two steps", "A(B)C(D)E", "(", ")", "AC(D)E"},
      {"nested: first open to first close", "A(B(C)D)E", "(", ")", "AD)E"},
      {"no opening bracket", "ABC)", "(", ")", "ABC)"},
      {"no closing bracket: unchanged", "A(BC", "(", ")", "A(BC"},
      {"closing before opening: unchanged", "A)B(C", "(", ")", "A)B(C"},
      {"full-width", gbk("北京（记者）今天"), gbk("（"), gbk("）"), gbk("北京今天")},
      {"whole text is an aside", "(aside)", "(", ")", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(removeBracketed(c.text, c.open, c.close), c.expected) << c.name;
}

TEST(CutLeadIn, DropsThroughTheCommaAndKeepsCharactersWhole) {
  const struct {
    const char* name;
    std::string text, comma, expected;
  } cases[] = {
      {"space after the comma goes", "In May, the firm grew.", ",", "the firm grew."},
      {"comma first: comma and next byte go", ",x grew", ",", " grew"},
      {"letter after the comma goes", "In May,the firm grew.", ",", "he firm grew."},
      {"two-byte character after the comma stays", "May," + gbk("中") + " grew", ",",
       gbk("中") + " grew"},
      {"four-byte character after the comma stays", "May," + gbk("😀") + " grew", ",",
       gbk("😀") + " grew"},
      {"lone lead byte at the end goes", "May,\xD6", ",", ""},
      {"comma at the end", "In May,", ",", ""},
      {"no comma", "In May", ",", "In May"},
      {"full-width comma", gbk("今天，中国"), gbk("，"), gbk("中国")},
  };
  for (const auto& c : cases) EXPECT_EQ(cutLeadIn(c.text, c.comma), c.expected) << c.name;
}

TEST(CleanSentences, Chinese) {
  struct Case {
    const char* name;
    const char* sentence;
    const char* expected;
  } cases[] = {
      {"aside first, then the lead-in", "北京（记者）今天，会议开幕。", "会议开幕。"},
      {"comma at byte 11 is not a lead-in", "一二三四五，会议今天开幕。",
       "一二三四五，会议今天开幕。"},
      {"comma at byte 9 is", "一二三四，会议今天开幕。", "会议今天开幕。"},
      {"two full-width then four ASCII asides", "甲（一）乙（二）丙（三）(a)(b)(c)(d)(e)丁。",
       "甲乙丙（三）(e)丁。"},
      {"unbalanced brackets leave the sentence", "会议今天（开幕了没有结束。",
       "会议今天（开幕了没有结束。"},
      {"a sentence that was one aside stays, empty", "（这是一段很长的补充说明）", ""},
  };
  for (const auto& c : cases) {
    Engine engine;
    const int row = Stages(engine).sentenceTable().insertRow(gbk(c.sentence));
    Stages(engine).sentenceTable().setCellText(row, 1, "7");
    Stages(engine).cleanSentences(Language::Chinese);
    EXPECT_EQ(utf8(engine.sentenceTable().cell(row, 0)), c.expected) << c.name;
    EXPECT_EQ(engine.sentenceTable().cell(row, 1), "1") << c.name;
    EXPECT_EQ(engine.sentenceTable().rowCount(), 1);
  }
}

TEST(CleanSentences, English) {
  struct Case {
    const char* name;
    const char* sentence;
    const char* expected;
  } cases[] = {
      {"comma within 20 bytes", "In May, the firm grew.", "the firm grew."},
      {"comma at byte 20 is cut", "abcdefghijklmnopqrs, tail.", "tail."},
      {"comma at byte 21 is not", "abcdefghijklmnopqrst, tail.", "abcdefghijklmnopqrst, tail."},
      {"full-width brackets stay in English", "Note（aside）and more text here.",
       "Note（aside）and more text here."},
      {"four ASCII asides", "a(1)b(2)c(3)d(4)e(5)f is long enough.", "abcde(5)f is long enough."},
  };
  for (const auto& c : cases) {
    Engine engine;
    const int row = Stages(engine).sentenceTable().insertRow(gbk(c.sentence));
    Stages(engine).cleanSentences(Language::English);
    EXPECT_EQ(utf8(engine.sentenceTable().cell(row, 0)), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace abrivo
