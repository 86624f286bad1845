// Tables of cases for a stage that rewrites workText: each input, in UTF-8,
// runs through the stage on a fresh engine and the workText it leaves is
// compared in UTF-8, the case named in a failure.
//
//   const WorkTextCase cases[] = {{"full stop gets a mark", "甲乙。丙丁", "甲乙。〓丙丁"}};
//   expectWorkText(&Stages::normaliseChinese, cases);
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "abrivo/internal/Engine.h"
#include "abrivo/internal/Stages.h"
#include "support/Gbk.h"

namespace abrivo::testing {

struct WorkTextCase {
  const char* name;
  std::string input;
  std::string expected;
};

inline void expectWorkText(void (Stages::*stage)(), std::span<const WorkTextCase> cases) {
  for (const WorkTextCase& c : cases) {
    Engine engine;
    Stages(engine).workText() = gbk(c.input);
    (Stages(engine).*stage)();
    EXPECT_EQ(utf8(engine.workText()), c.expected) << c.name;
  }
}

}  // namespace abrivo::testing
