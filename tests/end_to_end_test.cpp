// Whole runs on short articles: summary, status line and keyword line
// together, as a user sees them.
#include <gtest/gtest.h>

#include "abrivo/internal/Engine.h"
#include "support/Gbk.h"

namespace abrivo {
namespace {

using testing::gbk;
using testing::utf8;

struct Outcome {
  std::string summary, status, keywords;
};

Outcome summarise(const std::string& title, const std::string& article, int length) {
  Engine engine;
  engine.controls.标题框 = gbk(title);
  engine.controls.内容框 = gbk(article);
  engine.controls.组合框1 = length;
  engine.runSummary();
  return {utf8(engine.controls.编辑框1), utf8(engine.controls.标签2), utf8(engine.controls.标签3)};
}

TEST(EndToEnd, ChineseArticle) {
  const std::string article =
      "青石港的渔民合作社今年试行了新的冷链运输办法，渔获从码头到城区市场的时间缩短了一半。\n"
      "合作社负责人陈海生说，冷链运输让渔获保鲜期延长了两天，渔民的收入因此明显增加。\n"
      "过去渔民只能在清晨把渔获低价卖给收购商，如今合作社统一收购、统一冷链运输，城区市场的订单越来"
      "越多。\n"
      "据统计，试行冷链运输的三个月里，合作社共运送渔获四百多吨，渔民人均增收一千二百元。\n"
      "一、合作社计划明年再添置两辆冷藏车；二、在城区市场开设直销摊位。\n"
      "陈海生表示，冷链运输只是第一步，合作社还要帮助渔民学习网上销售。";
  const Outcome run = summarise("青石港渔民合作社试行冷链运输", article, -1);
  EXPECT_EQ(
      run.summary,
      "青石港的渔民合作社今年试行了新的冷链运输办法，渔获从码头到城区市场的时间缩短了一半。"
      "合作社负责人陈海生说。冷链运输让渔获保鲜期延长了两天，渔民的收入因此明显增加。"
      "过去渔民只能在清晨把渔获低价卖给收购商，如今合作社统一收购、统一冷链运输，"
      "城区市场的订单越来越多。试行冷链运输的三个月里，合作社共运送渔获四百多吨，"
      "渔民人均增收一千二百元。一、合作社计划明年再添置两辆冷藏车。二、在城区市场开设直销摊位。"
      "冷链运输只是第一步，合作社还要帮助渔民学习网上销售。");
  EXPECT_EQ(run.status, "原文240字，摘要225字");
  EXPECT_EQ(run.keywords, "关键词： 合作社 冷链运输 渔民 ");

  // At 200 characters the numbered plans and the sentence after them no
  // longer fit; the reported-speech lead-in has become its own sentence.
  const Outcome shorter = summarise("青石港渔民合作社试行冷链运输", article, 0);
  EXPECT_EQ(shorter.status, "原文240字，摘要193字");
  EXPECT_EQ(shorter.summary.find("一、"), std::string::npos);
}

TEST(EndToEnd, EnglishArticle) {
  const std::string article =
      "The harbor ferry service in Marlow Point will run every twenty minutes from next month, the "
      "ferry operator said on Tuesday.\n"
      "Commuters have asked for more frequent ferry crossings since the bridge repairs began in "
      "spring.\n"
      "\"We listened to the commuters, and the new ferry timetable doubles the morning "
      "crossings,\" said Ana Reyes, who manages the ferry service.\n"
      "Two new ferry boats arrive in May, and the operator expects the harbor crossings to carry "
      "4,000 commuters a day.\n"
      "Critics say the fares are still too high for students and commuters.\n"
      "The council will review the ferry fares for commuters in the autumn.";
  const Outcome run =
      summarise("Marlow Point ferry service to double harbor crossings", article, 0);
  EXPECT_EQ(run.summary,
            "Commuters have asked for more frequent ferry crossings since the bridge repairs began "
            "in spring.We listened to the commuters, and the new ferry timetable doubles the "
            "morning crossings, said Ana Reyes, who manages the ferry service.Two new ferry boats "
            "arrive in May, and the operator expects the harbor crossings to carry 4,000 commuters "
            "a day.");
  EXPECT_EQ(run.status, "原文614字，摘要343字");
  EXPECT_EQ(run.keywords, "关键词： ferry commuter  ");
}

}  // namespace
}  // namespace abrivo
