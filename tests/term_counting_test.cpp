// The engine's fast methods against the direct reference methods: the same
// term table, the same workText and charArray, the same summaries, on many
// generated texts and on the built-in samples.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "Samples.h"
#include "abrivo/internal/Engine.h"
#include "abrivo/internal/Stages.h"
#include "abrivo/internal/prepare/SentenceTable.h"
#include "abrivo/internal/terms/ChineseTerms.h"
#include "abrivo/internal/terms/EnglishTerms.h"
#include "abrivo/internal/terms/TermIndex.h"
#include "reference/Reference.h"
#include "support/Gbk.h"

namespace abrivo {
namespace {

using testing::gbk;
using testing::utf8;

// Texts over tiny alphabets, so that repeats, overlaps, nested terms, case
// variants and cuts that lower later counts are everywhere.
class TextGenerator {
 public:
  explicit TextGenerator(unsigned seed) : m_random(seed) {}

  std::string next(const std::vector<std::string>& alphabet, int maxChars) {
    std::string text;
    const int chars = pick(maxChars + 1);
    // Repeated phrases make long terms, and phrases cut from phrases make
    // terms nested in terms; single symbols fill between.
    std::vector<std::vector<std::string>> phrases;
    for (int p = 0; p < 4; ++p) {
      std::vector<std::string> phrase;
      if (p == 1 || p == 2) {
        const auto& longer = phrases.back();
        const int from = pick(static_cast<int>(longer.size()) - 1);
        const int length = 2 + pick(static_cast<int>(longer.size()) - from - 1);
        phrase.assign(longer.begin() + from, longer.begin() + from + length);
      } else {
        const int length = 4 + pick(8);
        for (int i = 0; i < length; ++i)
          phrase.push_back(alphabet[pick(static_cast<int>(alphabet.size()))]);
      }
      phrases.push_back(phrase);
    }
    for (int i = 0; i < chars;) {
      if (pick(3) == 0) {
        for (const std::string& symbol : phrases[pick(4)]) text += symbol;
        i += 4;
      } else {
        text += alphabet[pick(static_cast<int>(alphabet.size()))];
        ++i;
      }
    }
    return text;
  }

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

 private:
  std::mt19937 m_random;
};

std::vector<std::string> alphabet(const char* utf8Symbols) {
  std::vector<std::string> symbols;
  const std::string gb = gbk(utf8Symbols);
  for (std::size_t i = 0; i < gb.size();) {
    const std::size_t n = static_cast<unsigned char>(gb[i]) >= 0x80 ? 2 : 1;
    symbols.push_back(gb.substr(i, n));
    i += n;
  }
  return symbols;
}

std::string describe(const Engine& engine) {
  std::string out = "terms:";
  for (int r = 0; r < engine.termTable().rowCount(); ++r)
    out += " [" + utf8(engine.termTable().cell(r, 0)) + "|" + engine.termTable().cell(r, 1) + "]";
  out += "\nworkText: [" + utf8(engine.workText()) + "]\nkeywords: " + utf8(engine.controls.标签3);
  out += "\nsummary: " + utf8(engine.controls.编辑框1) + "\nstatus: " + utf8(engine.controls.标签2);
  std::string chars;
  for (const std::string_view c : engine.charArray()) chars += c;
  out += "\ncharArray: " + std::to_string(engine.charArray().size()) + " [" + utf8(chars) + "]";
  return out;
}

const reference::DirectChineseTermCounter kDirect;

// The fast method as it runs, and with its limits set so low that it takes
// the paths of large texts: hashed windows, names packed in 64-bit words or
// in 64-bit keys.
const FastChineseTermCounter kFastCounters[] = {
    FastChineseTermCounter(),
    FastChineseTermCounter({.keptWindowsPerChar = 0, .keptWindowsSlack = 0}),
    FastChineseTermCounter(
        {.keptWindowsPerChar = 0.3, .keptWindowsSlack = 0, .narrowNameLimit = 0}),
    FastChineseTermCounter({.keptWindowsPerChar = 0.3,
                            .keptWindowsSlack = 0,
                            .narrowNameLimit = 0,
                            .packWords = false}),
};

TEST(TermCounting, FastStageMatchesDirectOnGeneratedTermTexts) {
  TextGenerator generator(20261211);
  const std::vector<std::vector<std::string>> alphabets = {
      alphabet("市场经济学 "),
      alphabet("哈 "),
      alphabet("甲乙丙aAbB  "),
      alphabet("这个问题甲 "),
      alphabet("改革制度的目标 ab"),
      // Four-byte sequences make codes wider than 16 bits.
      {"\x81\x30\x81\x30", "\x81\x30\x81\x31", gbk("甲"), gbk("乙"), " "}};
  for (int i = 0; i < 200; ++i) {
    const std::string termText = generator.next(alphabets[i % alphabets.size()], 140);
    Engine direct;
    direct.setChineseTermCounter(&kDirect);
    Stages(direct).workText() = termText;
    Stages(direct).extractChineseTerms();
    for (const FastChineseTermCounter& counter : kFastCounters) {
      Engine fast;
      fast.setChineseTermCounter(&counter);
      Stages(fast).workText() = termText;
      Stages(fast).extractChineseTerms();
      ASSERT_EQ(describe(fast), describe(direct)) << "term text: [" << utf8(termText) << "]";
    }
  }
}

TEST(TermCounting, WholeRunsMatchOnGeneratedArticles) {
  TextGenerator generator(7);
  const std::vector<std::string> symbols = alphabet("港口经济的发展市场。，！？；（）“”、 ab1Ab");
  for (int i = 0; i < 120; ++i) {
    const std::string article = generator.next(symbols, 400);
    const std::string title = generator.next(symbols, 12);
    Engine fast;
    Engine direct;
    direct.setChineseTermCounter(&kDirect);
    for (Engine* engine : {&fast, &direct}) {
      engine->controls.内容框 = article;
      engine->controls.标题框 = title;
      engine->controls.组合框1 = i % 5 - 1;
      engine->runSummary();
    }
    ASSERT_EQ(describe(fast), describe(direct)) << "article: [" << utf8(article) << "]";
  }
}

TEST(TermCounting, SamplesMatch) {
  for (int n = 1; n <= samples::kCount; ++n) {
    const samples::SamplePair pair = samples::sample(n);
    Engine fast;
    Engine direct;
    direct.setChineseTermCounter(&kDirect);
    for (Engine* engine : {&fast, &direct}) {
      engine->controls.标题框 = gbk(pair.title);
      engine->controls.内容框 = gbk(pair.article);
      engine->runSummary();
    }
    EXPECT_EQ(describe(fast), describe(direct)) << "sample " << n;
    EXPECT_FALSE(fast.controls.编辑框1.empty()) << "sample " << n;
  }
}

TEST(TermCounting, LoneLeadByteAtTheEndEndsARun) {
  for (const std::string tail : {"", "\xB5"}) {
    const std::string termText = gbk("甲乙 甲乙 甲乙 甲乙") + tail;
    Engine fast;
    Engine direct;
    direct.setChineseTermCounter(&kDirect);
    for (Engine* engine : {&fast, &direct}) {
      Stages(*engine).workText() = termText;
      Stages(*engine).extractChineseTerms();
    }
    EXPECT_EQ(describe(fast), describe(direct));
    EXPECT_EQ(fast.termTable().cell(0, 1), tail.empty() ? "3" : "4");
  }
}

TEST(RepeatedValues, CollidingKeysAreSortedOutByValue) {
  // Every item has the same key, as if every hash collided; only the values
  // may group them.
  const std::vector<int> values = {5, 7, 5, 9, 7, 5, 7, 9, 1, 5};
  std::vector<KeyedPosition> items;
  for (std::uint32_t pos = 0; pos < values.size(); ++pos) items.push_back({42, pos});
  std::vector<KeyedPosition> scratch;
  std::vector<std::uint32_t> run;
  std::vector<std::vector<std::uint32_t>> groups;
  forEachRepeatedValue(
      items, scratch, run, false,
      [&](std::uint32_t a, std::uint32_t b) { return values[a] == values[b]; },
      [&](std::uint32_t a, std::uint32_t b) { return values[a] < values[b]; },
      [&](std::span<const std::uint32_t> positions) {
        groups.emplace_back(positions.begin(), positions.end());
      });
  EXPECT_EQ(groups, (std::vector<std::vector<std::uint32_t>>{{0, 2, 5, 9}, {1, 4, 6}}))
      << "sets of three or more, positions ascending; 9 and 1 repeat too rarely";
}

TEST(RepeatedValues, ManyValuesBehindOneKey) {
  std::vector<int> values;
  for (int v = 0; v < 20; ++v)
    for (int copies = 0; copies < 3 + v % 2; ++copies) values.push_back((v * 7) % 20);
  std::vector<KeyedPosition> items;
  for (std::uint32_t pos = 0; pos < values.size(); ++pos) items.push_back({0, pos});
  std::vector<KeyedPosition> scratch;
  std::vector<std::uint32_t> run;
  std::size_t grouped = 0;
  forEachRepeatedValue(
      items, scratch, run, false,
      [&](std::uint32_t a, std::uint32_t b) { return values[a] == values[b]; },
      [&](std::uint32_t a, std::uint32_t b) { return values[a] < values[b]; },
      [&](std::span<const std::uint32_t> positions) {
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
        for (const std::uint32_t p : positions) EXPECT_EQ(values[p], values[positions[0]]);
        grouped += positions.size();
      });
  EXPECT_EQ(grouped, values.size()) << "every value has three copies or more";
}

TEST(RepeatedValues, RadixSortIsStableOnLargeInputs) {
  std::vector<KeyedPosition> items;
  std::mt19937 random(1);
  for (std::uint32_t pos = 0; pos < 5000; ++pos)
    items.push_back({static_cast<std::uint32_t>(random() % 97) * 0x01010101u, pos});
  std::vector<KeyedPosition> expected = items;
  std::stable_sort(expected.begin(), expected.end(),
                   [](const auto& a, const auto& b) { return a.key < b.key; });
  std::vector<KeyedPosition> scratch;
  radixSortByKey(items, scratch);
  ASSERT_EQ(items.size(), expected.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    ASSERT_EQ(items[i].key, expected[i].key);
    ASSERT_EQ(items[i].pos, expected[i].pos);
  }
}

TEST(RepeatCheck, HashedMatchesPairwise) {
  TextGenerator generator(3);
  const std::vector<std::string> symbols = {"a", "b", "", "A"};
  for (int i = 0; i < 200; ++i) {
    std::vector<std::string> pieces;
    const int n = generator.pick(30);
    for (int k = 0; k < n; ++k) pieces.push_back(generator.next(symbols, 3));
    std::vector<std::string> expected = pieces;
    reference::blankRepeatsPairwise(expected);
    blankRepeats(pieces);
    ASSERT_EQ(pieces, expected);
  }
}

TEST(EnglishCounting, MapMatchesPairwise) {
  TextGenerator generator(5);
  const std::vector<std::string> symbols = {"ab", "b", "", "Ab", "s"};
  for (int i = 0; i < 200; ++i) {
    std::vector<std::string> words;
    const int n = generator.pick(40);
    for (int k = 0; k < n; ++k) words.push_back(generator.next(symbols, 3));
    const auto expected = reference::countRepeatsPairwise(words);
    const auto actual = countRepeats(words);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t k = 0; k < actual.size(); ++k) {
      EXPECT_EQ(actual[k].word, expected[k].word);
      EXPECT_EQ(actual[k].repeats, expected[k].repeats);
    }
  }
}

}  // namespace
}  // namespace abrivo
