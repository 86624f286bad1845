// Edge rules of the text operations: byte lengths, 1-based positions, -1 for
// nothing found, character stepping and ASCII-only case folding.
#include "abrivo/internal/text/TermSearch.h"
#include "abrivo/internal/text/TextOps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <string>

#include "support/Gbk.h"

namespace abrivo {
namespace {

using testing::gbk;

struct FindCase {
  const char* name;
  std::string t;
  std::string sub;
  std::optional<int> start;
  bool ignoreCase;
  int expected;
};

TEST(FindText, Cases) {
  const std::string zhong = gbk("中");  // D6 D0
  const FindCase cases[] = {
      {"empty text", "", "a", {}, true, -1},
      {"empty sub in empty text", "", "", {}, true, -1},
      {"empty sub", "abc", "", {}, true, 1},
      {"empty sub with start", "abc", "", 3, true, 1},
      {"empty sub past end", "abc", "", 4, true, -1},
      {"first of two", "abcabc", "bc", {}, true, 2},
      {"ignore case finds capital", "TREE", "e", {}, true, 3},
      {"exact misses capital", "TREE", "e", {}, false, -1},
      {"never inside a two-byte char", zhong, "\xD0", {}, true, -1},
      {"chinese not across chars", gbk("中国"), "\xD0\xB9", {}, true, -1},
      {"chinese", gbk("我爱中国"), gbk("中国"), {}, true, 5},
      {"second bytes are folded", "\x81\x41", "\x81\x61", {}, true, 1},
      {"start skips earlier", "abcabc", "bc", 3, true, 5},
      {"start 0 is whole text", "abc", "a", 0, true, 1},
      {"negative start is whole text", "abc", "a", -5, true, 1},
      {"start past end", "abc", "c", 4, true, -1},
      {"start on second byte steps from there", zhong + "\xD0", "\xD0", 2, true, 2},
      {"sub longer than text", "ab", "abc", {}, true, -1},
      {"lone lead byte at end", "a\xD6", "\xD6", {}, true, 2},
      {"lone lead byte not read past end", "a\xD6", "\xD6\xD0", {}, true, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(findText(c.t, c.sub, c.start, c.ignoreCase), c.expected) << c.name;
}

// findTerms must say for every term what findText says: the direct method.
std::vector<std::uint8_t> findTermsDirectly(std::string_view text,
                                            const std::vector<std::string_view>& terms) {
  std::vector<std::uint8_t> found;
  for (const std::string_view term : terms) found.push_back(findText(text, term) != -1);
  return found;
}

TEST(FindTerms, AgreesWithFindTextOnNamedCases) {
  const std::string fourByte = "\x81\x30\x81\x30";
  const struct {
    const char* name;
    std::string text;
    std::vector<std::string> terms;
  } cases[] = {
      {"case folded both ways", "Tree Of life", {"tree", "OF", "LIFE", "x", "e o"}},
      {"empty text", "", {"", "a"}},
      {"empty term", "a", {"", "a", "ab"}},
      {"term longer than text", "ab", {"abc", "ab"}},
      {"never inside a two-byte character", gbk("中国"), {"\xD0\xB9", gbk("国"), "\xD6"}},
      {"lone lead byte at the end", "a\xD6", {"\xD6", "\xD6\xD0"}},
      {"three bytes of a four-byte sequence",
       fourByte + "a",
       {"\x81\x30\x81", "\x81\x30", "\x81", "\x30\x81\x30"}},
      {"same term twice, in other case", "ABC", {"abc", "aBc", "bc", "BC"}},
      {"nested suffixes", "aaaaaaaa", {"a", "aa", "aaa", "aaaaaaaa", "aaaaaaaaa"}},
      {"second bytes folded", "\x81\x41", {"\x81\x61", "\x41", "\x61"}},
  };
  for (const auto& c : cases) {
    const std::vector<std::string_view> terms(c.terms.begin(), c.terms.end());
    EXPECT_EQ(findTerms(c.text, terms), findTermsDirectly(c.text, terms)) << c.name;
  }
}

// Random texts over pieces that make every kind of step (ASCII of either
// case, digits, two-byte characters, four-byte sequences, lone lead bytes),
// and terms cut from them at any byte, on a step or not.
TEST(FindTerms, AgreesWithFindTextOnRandomTexts) {
  const std::string_view pieces[] = {"a",
                                     "A",
                                     "b",
                                     "1",
                                     " ",
                                     "\x81",
                                     "\x30",
                                     "\xD6\xD0",
                                     "\xB9\xFA",
                                     "\xD0\xD6",
                                     "\x81\x30\x81\x30",
                                     "\x81\x41"};
  std::mt19937 random(7);
  const auto pick = [&](std::size_t n) {
    return static_cast<std::size_t>(std::uniform_int_distribution<std::size_t>(0, n - 1)(random));
  };
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const std::size_t length = pick(24);
    for (std::size_t k = 0; k < length; ++k) text += pieces[pick(std::size(pieces))];
    std::vector<std::string> owned;
    for (int t = 0; t < 24; ++t) {
      if (!text.empty() && t % 3 != 0) {
        const std::size_t from = pick(text.size());
        owned.push_back(text.substr(from, 1 + pick(std::min<std::size_t>(12, text.size() - from))));
        if (t % 3 == 2 && !owned.back().empty())
          owned.back()[0] = static_cast<char>(toupper(owned.back()[0]));
      } else {
        std::string term;
        for (std::size_t k = pick(4); k > 0; --k) term += pieces[pick(std::size(pieces))];
        owned.push_back(term);
      }
    }
    const std::vector<std::string_view> terms(owned.begin(), owned.end());
    ASSERT_EQ(findTerms(text, terms), findTermsDirectly(text, terms)) << "round " << round;
  }
}

TEST(FindTextReverse, Cases) {
  const FindCase cases[] = {
      {"last of two", "abcabc", "bc", {}, false, 5},
      {"overlapping occurrences", "aaa", "aa", {}, false, 2},
      {"none", "abc", "x", {}, false, -1},
      {"empty sub", "abc", "", {}, false, 1},
      {"empty sub empty text", "", "", {}, false, -1},
      {"exact by default", "ABC", "b", {}, false, -1},
      {"folded on request", "ABC", "b", {}, true, 2},
      {"limit ends the match", "abcabc", "bc", 5, false, 2},
      {"limit covers the match", "abcabc", "bc", 7, false, 5},
      {"start 1 gives limit 0", "abc", "a", 1, false, -1},
      {"chinese steps", gbk("的的"), gbk("的"), {}, false, 3},
      {"not inside a character", gbk("中"), "\xD0", {}, false, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(findTextReverse(c.t, c.sub, c.start, c.ignoreCase), c.expected) << c.name;
}

struct ReplaceCase {
  const char* name;
  std::string t, find, repl;
  std::optional<int> start, count;
  bool caseSensitive;
  std::string expected;
};

TEST(ReplaceText, Cases) {
  const ReplaceCase cases[] = {
      {"four spaces halve", "a    b", "  ", " ", {}, {}, true, "a  b"},
      {"three spaces become two", "a   b", "  ", " ", {}, {}, true, "a  b"},
      {"replacement not rescanned",
       gbk("改革改革"),
       gbk("改革"),
       gbk(" 改革 "),
       {},
       {},
       true,
       gbk(" 改革  改革 ")},
      {"replacement holds find", "aXa", "a", "aa", {}, {}, true, "aaXaa"},
      {"empty text", "", "a", "b", {}, {}, true, ""},
      {"empty find", "abc", "", "x", {}, {}, true, "abc"},
      {"delete", "a,b,c", ",", "", {}, {}, true, "abc"},
      {"count 0", "aaa", "a", "b", {}, 0, true, "aaa"},
      {"count 2", "aaa", "a", "b", {}, 2, true, "bba"},
      {"negative count is no limit", "aaa", "a", "b", {}, -1, true, "bbb"},
      {"start copies prefix", "aaa", "a", "b", 2, {}, true, "abb"},
      {"start past end", "aaa", "a", "b", 4, {}, true, "aaa"},
      {"case sensitive", "AaA", "a", "x", {}, {}, true, "AxA"},
      {"case folded", "AaA", "a", "x", {}, {}, false, "xxx"},
      {"no match across characters", gbk("中国"), "\xD0\xB9", "x", {}, {}, true, gbk("中国")},
      {"ascii not matched by a second byte", "\x81,a,", ",", "", {}, {}, true, "\x81,a"},
      {"lone lead byte at end", "a\xB5", "\xB5", "x", {}, {}, true, "ax"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(replaceText(c.t, c.find, c.repl, c.start, c.count, c.caseSensitive), c.expected)
        << c.name;
}

TEST(ReplaceText, TwoCallsLeaveRunsOfFiveToEightAtTwo) {
  for (int n = 5; n <= 8; ++n) {
    std::string t = "a" + std::string(n, ' ') + "b";
    t = replaceText(replaceText(t, "  ", " "), "  ", " ");
    EXPECT_EQ(t, "a  b") << n;
  }
  EXPECT_EQ(replaceText(replaceText("a    b", "  ", " "), "  ", " "), "a b");
}

TEST(SplitText, Cases) {
  struct Case {
    const char* name;
    std::string t, delim;
    std::optional<int> maxPieces;
    TextList expected;
  } cases[] = {
      {"plain", "a,b,c", ",", {}, {"a", "b", "c"}},
      {"ends with delimiter", "a,b,", ",", {}, {"a", "b"}},
      {"begins with delimiter", ",a", ",", {}, {"", "a"}},
      {"adjacent delimiters", "a,,b", ",", {}, {"a", "", "b"}},
      {"no delimiter", "abc", ",", {}, {"abc"}},
      {"empty text", "", ",", {}, {}},
      {"only delimiter", ",", ",", {}, {""}},
      {"empty delimiter", "abc", "", {}, {"abc"}},
      {"max pieces", "a,b,c", ",", 2, {"a", "b"}},
      {"max pieces 0", "a,b", ",", 0, {}},
      {"exact case", "aXbxc", "x", {}, {"aXb", "c"}},
      {"two-byte delimiter", gbk("甲〓乙〓"), gbk("〓"), {}, {gbk("甲"), gbk("乙")}},
      {"not inside characters",
       "\xA1\xFE"
       "a",
       "\xFE"
       "a",
       {},
       {"\xA1\xFE"
        "a"}},
  };
  for (const auto& c : cases) EXPECT_EQ(splitText(c.t, c.delim, c.maxPieces), c.expected) << c.name;
  EXPECT_EQ(splitText("a,b"), (TextList{"a", "b"})) << "comma is the default delimiter";
}

TEST(LeftRightText, ClampAndCutBytes) {
  EXPECT_EQ(leftText("abc", 5), "abc");
  EXPECT_EQ(leftText("abc", 0), "");
  EXPECT_EQ(leftText("abc", -1), "");
  EXPECT_EQ(rightText("abc", 2), "bc");
  EXPECT_EQ(rightText("abc", 9), "abc");
  EXPECT_EQ(rightText("abc", -3), "");
  EXPECT_EQ(leftText(gbk("中国"), 3), gbk("中国").substr(0, 3)) << "may split a character";
  EXPECT_EQ(textLength(gbk("中a")), 3);
}

TEST(ToText, IntegersAndReals) {
  EXPECT_EQ(toText(-7), "-7");
  EXPECT_EQ(toText(0), "0");
  EXPECT_EQ(toText(6.0), "6");
  EXPECT_EQ(toText(2.5), "2.5");
  EXPECT_EQ(toText(12.5), "12.5");
  EXPECT_EQ(toText(0.1 + 0.2), "0.3");
  EXPECT_EQ(toText(1.0 / 3.0), "0.3333333333333");
  EXPECT_EQ(toText(20.0 / 9.0), "2.222222222222");
  EXPECT_EQ(toText(1e13), "1e+13");
  EXPECT_EQ(toText(9999999999999.0), "9999999999999");
  EXPECT_EQ(toText(-0.0), "-0");
  EXPECT_EQ(toText(-42.0), "-42");
  EXPECT_EQ(toText(123456789012.0), "123456789012");
  EXPECT_EQ(toText(0.0001), "0.0001");
  EXPECT_EQ(toText(0.00001), "1e-05");
  EXPECT_EQ(toNumber(toText(1e13)), 1e13) << "exponent form reads back";
}

TEST(ToNumber, Cases) {
  struct Case {
    std::string t;
    double expected;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"12.5x", 12.5},
      {"  -3", -3},
      {"+4", 4},
      {".5", 0.5},
      {"5.", 5},
      {"1e3", 1000},
      {"1e", 1},
      {"2E-1", 0.2},
      {"-", 0},
      {".", 0},
      {"0x10", 0},
      {"inf", 0},
      {"nan", 0},
      {"\t7", 7},
      {gbk("１２３"), 123},
      {gbk("－１．５"), -1.5},
      {gbk("　４２"), 42},
      {gbk("中1"), 0},
      {"3" + gbk("中"), 3},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(toNumber(c.t), c.expected) << testing::utf8(c.t);
  EXPECT_TRUE(std::isinf(toNumber("1e999")));
  EXPECT_TRUE(std::signbit(toNumber("-0")));
  EXPECT_EQ(toNumber("123456789012345"), 123456789012345.0);
  EXPECT_EQ(toNumber("1234567890123456789"), 1234567890123456789.0) << "past the direct path";
}

TEST(ToInt, TextsAndReals) {
  struct Case {
    std::string t;
    int expected;
  } cases[] = {
      {"2.9", 2},
      {"", 0},
      {"-12abc", -12},
      {" +5", 5},
      {"x1", 0},
      {gbk("９"), 9},
      {"99999999999", 2147483647},
      {"-99999999999", -2147483648},
  };
  for (const auto& c : cases) EXPECT_EQ(toInt(c.t), c.expected) << c.t;
  EXPECT_EQ(toInt(-1.5), -1);
  EXPECT_EQ(toInt(2.9), 2);
  EXPECT_EQ(toInt(1e300), 2147483647);
}

TEST(FloorToInt, SnapsNearIntegers) {
  EXPECT_EQ(floorToInt(400.5), 400);
  EXPECT_EQ(floorToInt(-0.5), -1);
  EXPECT_EQ(floorToInt(-2.5), -3);
  EXPECT_EQ(floorToInt(2.9999999999995), 3);
  EXPECT_EQ(floorToInt(2.999999999), 2);
  EXPECT_EQ(floorToInt(-2.9999999999995), -3);
  EXPECT_EQ(floorToInt(7.0), 7);
}

// Patterns longer than 16 bytes take the linear search; they must follow the
// same rules as short ones: matches on character steps only, ASCII case
// folded only when asked, overlapping matches seen by the reverse search,
// replacements never searched again.
std::string repeat(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(LongPatterns, FollowTheRulesOfShortOnes) {
  const std::string zhong = gbk("中");  // D6 D0
  const std::string word = "abcdefghijklmnopqrst";
  const std::string upper = "ABCDEFGHIJKLMNOPQRST";
  const std::string zWord = repeat(zhong, 9);  // 18 bytes
  const std::string shifted = "\xD0" + repeat(zhong, 8) + "\xD6";

  const struct {
    const char* name;
    std::string t, sub;
    bool ignoreCase;
    int find, findReverse;
  } cases[] = {
      {"once", "xx" + word + "yy", word, false, 3, 3},
      {"twice", word + "-" + word, word, false, 1, 22},
      {"case folded", "x" + upper, word, true, 2, 2},
      {"case kept", "x" + upper, word, false, -1, -1},
      {"overlapping", repeat("a", 40), repeat("a", 20), false, 1, 21},
      {"two-byte characters", "a" + repeat(zhong, 10), zWord, false, 2, 4},
      {"not inside a two-byte character", "\xB0" + shifted, shifted, false, -1, -1},
      {"on a step after a lone one-byte start", "a" + shifted, shifted, false, 2, 2},
      {"longer than the text", word, word + "k", false, -1, -1},
      {"near misses only", repeat("a", 100), repeat("a", 19) + "b", true, -1, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(findText(c.t, c.sub, std::nullopt, c.ignoreCase), c.find) << c.name;
    EXPECT_EQ(findTextReverse(c.t, c.sub, std::nullopt, c.ignoreCase), c.findReverse) << c.name;
  }

  EXPECT_EQ(replaceText(repeat("a", 45), repeat("a", 20), repeat("a", 21)), repeat("a", 47));
  EXPECT_EQ(
      replaceText("1" + word + "2" + upper + "3", word, "", std::nullopt, std::nullopt, false),
      "123");
  EXPECT_EQ(replaceText(word + word + word, word, "-", 2, 1), word + "-" + word);
  EXPECT_EQ(splitText("1" + word + "2" + word, word), (TextList{"1", "2"}));
  EXPECT_EQ(splitText("1" + word + "2" + word + "3", word, 1), (TextList{"1"}));
  EXPECT_EQ(findText("x" + word + word, word, 3), 22);
  EXPECT_EQ(findTextReverse(word + word, word, 41), 21);
  EXPECT_EQ(findTextReverse(word + word, word, 40), 1);
}

}  // namespace
}  // namespace abrivo
