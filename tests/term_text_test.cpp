// The term text: what becomes a space, and what survives for counting.
#include <gtest/gtest.h>

#include "abrivo/internal/Engine.h"
#include "support/Gbk.h"
#include "support/StageCases.h"

namespace abrivo {
namespace {

using testing::expectWorkText;
using testing::WorkTextCase;

TEST(PrepareChineseTermText, Cases) {
  const WorkTextCase cases[] = {
      {"particle becomes a space", "我的书", "我 书"},
      {"的确 stays", "的确", "的确"},
      {"both 的 put back", "目的地的确定", "目的地的确定"},
      {"标的 is put back by bytes", "目标的", "目标的"},
      {"digits fold to one space", "2016年", " 年"},
      {"comma before 的 leaves two spaces", "好，的书", "好  书"},
      {"改革 always set apart", "改革 制度改革", " 改革   制度  改革 "},
      {"marks deleted, punctuation spaced", "甲。〓乙！〓丙（丁）", "甲 乙 丙 丁 "},
      {"single ellipsis stays", "甲…乙……丙", "甲…乙 丙"},
  };
  expectWorkText(&Stages::prepareChineseTermText, cases);
}

TEST(PrepareEnglishTermText, Cases) {
  const WorkTextCase cases[] = {
      {"capitalised The stays", "The cat of the house", "The cat house"},
      {"second of two equal function words stays", "x a a y", "x a y"},
      {"different function words both go", "x of the y", "x y"},
      {"function word before the final full stop goes", "go to the.", "go "},
      {"function word at the very start stays", "the end", "the end"},
      {"expanded contraction", "don  not go", "don go"},
      {"hyphen stays in the word", "e-mail 3.5%", "e-mail %"},
      {"if goes after the folds", "x  if  y", "x y"},
      {"marks deleted", "One.〓 Two.〓", "One Two "},
  };
  expectWorkText(&Stages::prepareEnglishTermText, cases);
}

}  // namespace
}  // namespace abrivo
