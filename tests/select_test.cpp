// Headline weighting and summary selection: scores, penalties, ranking,
// budgets and the assembled summary.
#include <gtest/gtest.h>

#include "abrivo/internal/Engine.h"
#include "abrivo/internal/Stages.h"
#include "support/Gbk.h"

namespace abrivo {
namespace {

using testing::gbk;
using testing::utf8;

void addSentences(Engine& engine, const std::vector<std::string>& sentences) {
  for (const std::string& s : sentences) {
    const int row = Stages(engine).sentenceTable().insertRow(s);
    Stages(engine).sentenceTable().setCellText(row, 1, "1");
    Stages(engine).sentenceTable().setCellText(row, 2, std::to_string(row));
  }
}

void addTerms(Engine& engine, const std::vector<std::pair<std::string, std::string>>& terms) {
  for (const auto& [term, weight] : terms)
    Stages(engine).termTable().setCellText(Stages(engine).termTable().insertRow(term), 1, weight);
}

std::vector<std::string> sentenceOrder(const Engine& engine) {
  std::vector<std::string> order;
  for (int r = 0; r < engine.sentenceTable().rowCount(); ++r)
    order.push_back(utf8(engine.sentenceTable().cell(r, 0)));
  return order;
}

std::string filler(char c, int bytes) {
  return std::string(static_cast<std::size_t>(bytes), c);
}

TEST(WeightTitleTerms, DoublesTermsFoundInTheNormalisedHeadline) {
  Engine engine;
  engine.controls.标题框 = gbk("中国的发展，ABC与目的");
  addTerms(engine, {{gbk("国的"), "9"},
                    {gbk("中国"), "3"},
                    {gbk("发展"), "2.5"},
                    {"abc", "1"},
                    {gbk("目的"), "1"},
                    {gbk("中国"), "2"}});
  Stages(engine).weightTitleTerms();
  std::vector<std::pair<std::string, std::string>> rows;
  for (int r = 0; r < engine.termTable().rowCount(); ++r)
    rows.emplace_back(utf8(engine.termTable().cell(r, 0)), engine.termTable().cell(r, 1));
  EXPECT_EQ(rows, (std::vector<std::pair<std::string, std::string>>{{"国的", "9"},
                                                                    {"中国", "6"},
                                                                    {"发展", "5"},
                                                                    {"中国", "4"},
                                                                    {"abc", "2"},
                                                                    {"目的", "2"}}));
  EXPECT_EQ(utf8(engine.workText()), "中国 发展 ABC与目的");
}

TEST(WeightTitleTerms, EmptyTitleChangesNoWeightButOrders) {
  Engine engine;
  addTerms(engine, {{"", "1"}, {"b", "5"}});
  Stages(engine).weightTitleTerms();
  EXPECT_EQ(engine.termTable().cell(0, 1), "5");
  EXPECT_EQ(engine.termTable().cell(1, 1), "1")
      << "the empty term is found only in a non-empty title";
  engine.controls.标题框 = "x";
  Stages(engine).weightTitleTerms();
  EXPECT_EQ(engine.termTable().cell(1, 1), "2");
}

TEST(SelectChineseSummary, OpeningPenaltiesCompound) {
  Engine engine;
  addTerms(engine, {{"t1", "12"},
                    {"t2", "9"},
                    {"t3", "7"},
                    {"t4", "5"},
                    {"t5", "4"},
                    {"t6", "3"},
                    {"t7", "100"}});
  addSentences(engine, {gbk("一、t1 t3 两项相加共二十分"),  // 20 / 9 → key 2
                        gbk("第一t1 一项共十三分整"),       // 13 / 3 → key 4
                        gbk("九月t1 t3 被三除余下六分"),    // 20 / 3 → key 6
                        gbk("平常的句子只有t6四分"),        // 4
                        gbk("十二t1 t3 也被九除剩二"),      // 20 / 9 → key 2
                        gbk("只含第七项t7的句子"),          // seventh term: stays 1
                        gbk("一：t1 t3 除以六剩三分")});    // 20 / 6 → key 3
  engine.controls.组合框1 = 3;
  Stages(engine).selectChineseSummary();
  EXPECT_EQ(sentenceOrder(engine),
            (std::vector<std::string>{"九月t1 t3 被三除余下六分", "第一t1 一项共十三分整",
                                      "平常的句子只有t6四分", "一：t1 t3 除以六剩三分",
                                      "一、t1 t3 两项相加共二十分", "十二t1 t3 也被九除剩二",
                                      "只含第七项t7的句子"}));
  for (int k = 1; k <= engine.sentenceTable().rowCount(); ++k)
    EXPECT_EQ(engine.sentenceTable().cell(k - 1, 1), std::to_string(k)) << "ranks replace scores";
}

TEST(SelectChineseSummary, TermFoundInAnotherCaseEarnsItsWeight) {
  Engine engine;
  addTerms(engine, {{"GDP", "5"}});
  addSentences(engine, {filler('a', 20), "the gdp grew fast", filler('b', 20)});
  engine.controls.组合框1 = 0;
  Stages(engine).selectChineseSummary();
  EXPECT_EQ(sentenceOrder(engine).front(), "the gdp grew fast");
}

struct BudgetCase {
  const char* name;
  Language language;
  int index;
  std::vector<int> lengths;  // sentences in text and rank order, no terms
  int expectedSentences;
};

TEST(SelectSummary, Budgets) {
  const BudgetCase cases[] = {
      {"first misfit ends the choice", Language::Chinese, 0, {150, 180, 120, 60}, 2},
      {"exactly 2L bytes fits", Language::Chinese, 0, {200, 200}, 2},
      {"one byte over", Language::Chinese, 0, {200, 201}, 1},
      {"first is always taken", Language::Chinese, 0, {900, 10}, 1},
      {"index 3 is 1000 bytes", Language::Chinese, 3, {500, 500, 1}, 2},
      {"no selection is 600 bytes", Language::Chinese, -1, {300, 300, 1}, 2},
      {"English: 150 + 180 fits 400", Language::English, 0, {150, 180, 120, 60}, 2},
      {"English: exactly B fits", Language::English, 1, {300, 300, 1}, 2},
      {"English: no selection is 400 bytes", Language::English, -1, {200, 200, 1}, 2},
      {"English: out-of-range index is 400", Language::English, 7, {200, 201}, 1},
      {"every sentence fits", Language::English, 3, {100, 100, 100}, 3},
  };
  for (const auto& c : cases) {
    Engine engine;
    std::vector<std::string> sentences;
    char letter = 'a';
    for (int length : c.lengths) sentences.push_back(filler(letter++, length));
    addSentences(engine, sentences);
    engine.controls.组合框1 = c.index;
    c.language == Language::Chinese ? Stages(engine).selectChineseSummary()
                                    : Stages(engine).selectEnglishSummary();
    std::string expected;
    for (int k = 0; k < c.expectedSentences; ++k)
      expected += sentences[static_cast<std::size_t>(k)];
    EXPECT_EQ(engine.controls.编辑框1, expected) << c.name;
    EXPECT_EQ(engine.candidateTable().rowCount(), c.expectedSentences) << c.name;
  }
}

TEST(SelectSummary, ChosenSentencesComeBackInTextOrderWithoutQuotes) {
  Engine engine;
  addTerms(engine, {{gbk("港口"), "5"}});
  addSentences(engine, {gbk("第一句没有关键词但是很长。"), gbk("他说：“港口很忙；货很多。”"),
                        gbk("第三句也提到了“港口”。")});
  engine.controls.组合框1 = 0;
  Stages(engine).selectChineseSummary();
  EXPECT_EQ(utf8(engine.controls.编辑框1),
            "第一句没有关键词但是很长。他说：港口很忙。货很多。第三句也提到了港口。");
  EXPECT_EQ(engine.candidateTable().cell(0, 1), "999999");
  EXPECT_EQ(engine.candidateTable().cell(2, 1), "999997");
}

TEST(SelectSummary, EmptySentenceTableGivesEmptySummary) {
  for (Language language : {Language::Chinese, Language::English}) {
    Engine engine;
    engine.controls.编辑框1 = "old";
    language == Language::Chinese ? Stages(engine).selectChineseSummary()
                                  : Stages(engine).selectEnglishSummary();
    EXPECT_EQ(engine.controls.编辑框1, "");
    ASSERT_EQ(engine.candidateTable().rowCount(), 1);
    EXPECT_EQ(engine.candidateTable().cell(0, 0), "");
    EXPECT_EQ(engine.candidateTable().cell(0, 1), "999999");
  }
}

TEST(SelectEnglishSummary, NoOpeningPenaltyAndCurlyQuotesGo) {
  Engine engine;
  addTerms(engine, {{"tide", "12"}, {"plan", "7"}});
  addSentences(engine, {"A plain opening sentence here.", gbk("一、The tide plan was “approved”."),
                        " \"Tide\" rose."});
  engine.controls.组合框1 = 0;
  Stages(engine).selectEnglishSummary();
  EXPECT_EQ(sentenceOrder(engine).front(), "一、The tide plan was “approved”.");
  EXPECT_EQ(utf8(engine.controls.编辑框1),
            "A plain opening sentence here.一、The tide plan was approved. Tide rose.");
}

}  // namespace
}  // namespace abrivo
