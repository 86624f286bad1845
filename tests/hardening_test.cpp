// Input a user may paste or a pipeline may feed: every kind of text runs to
// the end, keeps its characters whole, and gives what the tables below say.
// The sanitizer build runs these too, so a read past the end fails them.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "abrivo/internal/Engine.h"
#include "abrivo/internal/prepare/SentenceTable.h"
#include "abrivo/internal/text/Encoding.h"
#include "abrivo/internal/text/TextOps.h"
#include "support/Gbk.h"

namespace abrivo {
namespace {

using testing::gbk;
using testing::utf8;

struct Outcome {
  std::string summary;  // UTF-8, "\n" line breaks
  std::string status;
};

// Engine bytes in, the way a front end hands them over.
Outcome runEngine(std::string title, std::string article, int length) {
  Engine engine;
  engine.controls.标题框 = std::move(title);
  engine.controls.内容框 = std::move(article);
  engine.controls.组合框1 = length;
  engine.runSummary();
  return {utf8(engine.controls.编辑框1), utf8(engine.controls.标签2)};
}

// UTF-8 text through the Unicode boundary: NUL bytes dropped, every line
// break made "\r\n", converted to GB18030; the summary converted back.
Outcome summarise(std::string_view title, std::string_view article, int length = 0) {
  return runEngine(gbk(title), gbk(article), length);
}

std::string repeat(std::string_view text, int times) {
  std::string out;
  out.reserve(text.size() * static_cast<std::size_t>(times));
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

struct Case {
  const char* name;
  std::string title;
  std::string article;
  std::string summary;
  std::string status;  // empty: no language, the status line is not written
};

TEST(HardInput, WhatTheUserGets) {
  const Case cases[] = {
      {"empty text", "", "", "", ""},
      {"empty text with a headline", "渔民的新船", "", "", ""},
      {"only spaces and line breaks", "", "   \n \t  \r\n   ", "", ""},
      {"only full-width punctuation", "", "。，！？……（）“”〓", "", ""},
      {"only ASCII punctuation", "", "...!!!???,;:\"'()", "", ""},
      {"Chinese without 的 is no language", "", "今天天气很好，我们去公园玩。", "", ""},
      {"English without an e is no language", "", "A cat sat on a mat; a dog ran.", "", ""},
      {"runs of the break mark end Chinese sentences", "",
       "渔民的新船今天下水〓〓〓〓渔民的旧船明天修理完毕",
       "渔民的新船今天下水渔民的旧船明天修理完毕", "原文24字，摘要20字"},
      {"runs of the break mark end English sentences", "",
       "The ferry runs every day〓〓〓 and the boat is new.",
       "The ferry runs every day and the boat is new.", "原文51字，摘要45字"},
      {"emoji and ideographs outside GBK, Chinese", "新船",
       "渔民的新船😀今天下水，𠀀号船也出海。\n渔民的旧船明天修理完毕。",
       "渔民的新船😀今天下水，𠀀号船也出海。渔民的旧船明天修理完毕。", "原文33字，摘要32字"},
      {"emoji and ideographs outside GBK, English", "Ferry",
       "The ferry 🚢 leaves at seven every evening. The 𠀀 boat returns at nine.",
       "The ferry 🚢 leaves at seven every evening. The 𠀀 boat returns at nine.",
       "原文76字，摘要76字"},
      {"a two-byte character after an English lead-in comma stays whole", "Ferry",
       "In May,中 the ferry runs every evening.", "中 the ferry runs every evening.",
       "原文39字，摘要32字"},
      {"an emoji after an English lead-in comma stays whole", "Ferry",
       "Today,😀 the ferry leaves at seven in the evening.",
       "😀 the ferry leaves at seven in the evening.", "原文52字，摘要46字"},
      {"NUL characters are dropped", "", std::string("The tree\0 is green and\0 tall.", 30),
       "The tree is green and tall.", "原文27字，摘要27字"},
      {"CRLF line breaks", "", "The tree is green.\r\nThe tree is tall and old.\r\n",
       "The tree is green.The tree is tall and old.", "原文47字，摘要43字"},
      {"LF line breaks", "", "The tree is green.\nThe tree is tall and old.\n",
       "The tree is green.The tree is tall and old.", "原文47字，摘要43字"},
      {"CR line breaks", "", "The tree is green.\rThe tree is tall and old.\r",
       "The tree is green.The tree is tall and old.", "原文47字，摘要43字"},
      {"unbalanced and nested brackets, both widths, Chinese", "",
       "渔民的新船（木制（松木）今天下水。渔民的旧船（明天修理完毕。"
       "船长的(英文(名字)叫)老王）。（（（的的的的的的的的的的",
       "渔民的新船今天下水。渔民的旧船（明天修理完毕。船长的叫)老王）。（（（的的的的的的的的的的",
       "原文57字，摘要44字"},
      {"unbalanced and nested brackets, English", "",
       "The ferry (new (and fast) leaves at seven. The boat ) returns (late at nine. "
       "The ((( fares ))) are low today.",
       "The ferry  leaves at seven. The boat ) returns (late at nine. The )) are low today.",
       "原文109字，摘要83字"},
  };
  for (const Case& c : cases) {
    const Outcome run = summarise(c.title, c.article);
    EXPECT_EQ(run.summary, c.summary) << c.name;
    EXPECT_EQ(run.status, c.status) << c.name;
  }
}

// Bytes that no front end delivers but the engine must still take: a lead
// byte with nothing after it stays a one-byte character, and nothing is
// read past the end of a text.
TEST(HardInput, LeadByteAtTheVeryEnd) {
  const struct {
    const char* name;
    std::string article;
    std::string summary;  // engine bytes
  } cases[] = {
      {"Chinese", gbk("渔民的新船今天下水了吗") + "\xB5", gbk("渔民的新船今天下水了吗") + "\xB5"},
      {"Chinese, after a full stop", gbk("渔民的新船今天下水了。") + "\xB5",
       gbk("渔民的新船今天下水了。")},
      {"English", "The tree is green and tall\xD6", "The tree is green and tall\xD6"},
      {"English, a comma lead-in before it", "In May the trees,\xD6", ""},
      {"only a lead byte", "\xB5", ""},
  };
  for (const auto& c : cases) {
    Engine engine;
    engine.controls.内容框 = c.article;
    engine.controls.标题框 = "\xC4";
    engine.runSummary();
    EXPECT_EQ(utf8(engine.controls.编辑框1), utf8(c.summary)) << c.name;
    EXPECT_EQ(engine.controls.编辑框1, c.summary) << c.name;
  }
}

// Large texts complete, and the summary of one sentence, however long, or of
// one sentence repeated, is that sentence once.
TEST(HardInput, LargeTexts) {
  std::string chineseSentence = "渔民的";
  for (char32_t c = U'一'; chineseSentence.size() < (1u << 20); ++c) {
    // Three-byte UTF-8 of the CJK block, no punctuation and no 的 beyond the first.
    chineseSentence += static_cast<char>(0xE0 | (c >> 12));
    chineseSentence += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    chineseSentence += static_cast<char>(0x80 | (c & 0x3F));
    if (c == U'龥') c = U'一';
  }
  const std::string englishSentence = repeat("the green ferry leaves the harbor ", 32768);
  const std::string copy = "青石港的渔民合作社今年试行了新的冷链运输办法。";

  const struct {
    const char* name;
    std::string article;
    std::string summary;
  } cases[] = {
      {"one Chinese sentence of 1 MB without punctuation", chineseSentence, chineseSentence},
      {"one English sentence of 1 MB without punctuation", englishSentence, englishSentence},
      {"10,000 copies of one sentence", repeat(copy, 10000), copy},
  };
  for (const auto& c : cases) {
    const Outcome run = summarise("", c.article, 3);
    EXPECT_TRUE(run.summary == c.summary) << c.name << ": " << run.summary.size() << " bytes";
  }
}

// A term of many bytes searched in long sentences: each search is linear in
// the sentence, so this finishes at once instead of comparing the term at
// every one of half a million positions.
TEST(HardInput, LongWordAsATerm) {
  const std::string word = std::string(100000, 'e') + "x";
  const std::string article =
      std::string(500000, 'e') + ". " + word + " " + word + " " + word + " " + word + ".";
  const Outcome run = summarise("", article, 0);
  EXPECT_EQ(run.summary.size(), 400009u);
  EXPECT_EQ(run.summary, " " + word + " " + word + " " + word + " " + word + ".");
}

// A character outside GBK is one character of four bytes to the term stage
// too: a term never holds half of one, and may hold a whole one.
TEST(HardInput, CharactersOutsideGbkStayWholeInTerms) {
  const struct {
    const char* name;
    std::string article;
    std::string keywords;
  } cases[] = {
      // U+10000, U+104EC and U+109D8 end in the same two bytes in GB18030.
      {"three characters sharing their last two bytes",
       "的\U00010000船长今天出海。\U000104EC船长明天回港。\U000109D8船长后天休息。"
       "\U00010000船长大后天修船。",
       "关键词： 船长   "},
      {"an emoji in a repeated run",
       "的😀船长今天出海。😀船长明天回港。😀船长后天休息。😀船长大后天修船。", "关键词： 😀船长   "},
  };
  for (const auto& c : cases) {
    Engine engine;
    engine.controls.内容框 = gbk(c.article);
    engine.runSummary();
    EXPECT_EQ(utf8(engine.controls.标签3), c.keywords) << c.name;
    for (int r = 0; r < engine.termTable().rowCount(); ++r)
      EXPECT_TRUE(gb18030ToUtf8(engine.termTable().cell(r, 0))) << c.name << ": term " << r;
  }
}

}  // namespace
}  // namespace abrivo
