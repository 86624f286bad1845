// Sentence marking of both languages: what ends a sentence, what folds, and
// the byte-level quirks a user can see in the sentence table.
#include <gtest/gtest.h>

#include "abrivo/internal/Engine.h"
#include "support/Gbk.h"
#include "support/StageCases.h"

namespace abrivo {
namespace {

using testing::expectWorkText;
using testing::WorkTextCase;

TEST(NormaliseChinese, Cases) {
  const WorkTextCase cases[] = {
      {"full stop gets a mark", "甲乙。丙丁", "甲乙。〓丙丁"},
      {"run of four full stops folds to one", "甲。。。。乙", "甲。〓乙"},
      {"run of five leaves two", "甲。。。。。乙", "甲。〓。〓乙"},
      {"user's own marks fold up to four", "甲〓〓〓〓乙", "甲〓乙"},
      {"five marks leave two", "甲〓〓〓〓〓乙", "甲〓〓乙"},
      {"closing quote stays with its sentence", "他说：“好。”后来", "他说，“好。”〓后来"},
      {"quote after ！ opens the next piece", "好！”后来", "好！〓”后来"},
      {"reporting word with full-width comma ends a sentence", "他说，好", "他说。〓好"},
      {"matched as bytes, not words", "小说，好", "小说。〓好"},
      {"ASCII comma after reporting word only widens", "他说,好", "他说，好"},
      {"colon after reporting word becomes a comma last", "他指出：好", "他指出，好"},
      {"meanwhile is deleted", "甲。与此同时，乙", "甲。〓乙"},
      {"line break ends a sentence", "甲\r\n\r\n乙", "甲。〓乙"},
      {"full stop and space ends a sentence", "No. 1", "No。〓1"},
      {"decimal point does not", "3.5", "3.5"},
      {"spaces become breaks after folding", "甲。 乙　丙", "甲。〓〓乙〓丙"},
      {"doubled ellipsis ends, single does not", "甲……乙…丙", "甲……〓乙…丙"},
      {"ASCII ! ? ; do not end a sentence", "a!b?c;d", "a!b?c;d"},
      {"question mark and semicolon", "甲？乙；丙", "甲？〓乙；〓丙"},
  };
  expectWorkText(&Stages::normaliseChinese, cases);
}

TEST(NormaliseEnglish, Cases) {
  const WorkTextCase cases[] = {
      {"contraction 's", "It's done", "It is done"},
      {"possessive too", "the firm's car", "the firm is car"},
      {"'t gets two spaces", "don't go", "don  not go"},
      {"contraction before a full stop stays", "It's.", "It's.〓"},
      {"attribution clause", "The plan will work, said the minister.",
       "The plan will work.〓 the minister.〓"},
      {"said with comma", "He said, the plan", "He  said.〓 the plan"},
      {"says and say", "She says, yes; they say, no", "She says.〓 yes;〓 they say.〓 no"},
      {"essay ends a sentence", "An essay, then", "An essay.〓 then"},
      {"capitalised words unchanged", "That, Said, Says, ok", "That, Said, Says, ok"},
      {"that with comma", "so that, then", "so that.〓 then"},
      {"line break", "One\r\nTwo", "One.〓Two"},
      {"three dots fold to one", "Wait... more", "Wait.〓 more"},
      {"five dots leave two", "a.....b", "a.〓.〓b"},
      {"closing quote kept", "\"Yes.\" Then", "\"Yes.\"〓 Then"},
      {"quote after ? opens next", "\"Yes?\" Then", "\"Yes?〓\" Then"},
      {"every full stop cuts", "U.S. 3.5", "U.〓S.〓 3.〓5"},
      {"colon becomes comma", "At 10:30 today", "At 10,30 today"},
  };
  expectWorkText(&Stages::normaliseEnglish, cases);
}

}  // namespace
}  // namespace abrivo
