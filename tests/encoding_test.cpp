// The Unicode boundary: nothing a user types is lost, bad bytes are reported
// or shown as U+FFFD, line breaks reach the engine as "\r\n".
#include "abrivo/internal/text/Encoding.h"

#include <gtest/gtest.h>

#include <optional>

namespace abrivo {
namespace {

TEST(Encoding, RoundTripsCharactersOutsideGbk) {
  const std::string text =
      "的 e \xF0\x9F\x98\x80 \xF0\xA0\x80\x80 \xE2\x82\xAC";  // emoji, ext-B, euro
  const auto gb = utf8ToGb18030(text);
  ASSERT_TRUE(gb);
  EXPECT_EQ(gb->substr(0, 2), "\xB5\xC4");
  EXPECT_EQ(gb18030ToUtf8(*gb), text);
}

TEST(Encoding, StrictConversionReportsOffsetOfFirstBadByte) {
  ConversionError error{};
  EXPECT_FALSE(utf8ToGb18030("ab\xC3(", &error));
  EXPECT_EQ(error.offset, 2u);
  EXPECT_FALSE(utf8ToGb18030("abc\xE4\xB8", &error)) << "truncated sequence at the end";
  EXPECT_EQ(error.offset, 3u);
  EXPECT_FALSE(gb18030ToUtf8("a\xB5", &error));
  EXPECT_EQ(error.offset, 1u);
  EXPECT_TRUE(isValidGbk("a\xB5\xC4"));
  EXPECT_FALSE(isValidGbk("ab\x81\x30\x81\x30", &error)) << "a four-byte GB18030 character";
  EXPECT_EQ(error.offset, 2u);
}

// GBK as the engine steps over it: ASCII, or a lead byte of 0x81..0xFE and a
// trail byte. iconv reads a lone 0x80 as the euro sign; the engine would take
// it for a lead byte and swallow the byte after it.
TEST(Encoding, GbkHoldsOnlyCharactersTheEngineStepsOver) {
  const struct {
    std::string text;
    std::optional<std::size_t> badAt;
  } cases[] = {
      {"a\xB5\xC4", std::nullopt},
      {"\x81\x40\xB5\x80", std::nullopt},
      {"\x80", 0},
      {"ab\x80\xB5\xC4", 2},
      {"\xB5\xC4\x80"
       "a",
       2},
      {"\xFF\xA1", 0},
      {"\xB5\x7F", 0},
      {"\xB5\xFF", 0},
      {"\xB5\x30", 0},
      {"\xB5", 0},
  };
  for (const auto& c : cases) {
    ConversionError error{};
    EXPECT_EQ(isValidGbk(c.text, &error), !c.badAt) << ::testing::PrintToString(c.text);
    if (c.badAt) {
      EXPECT_EQ(error.offset, *c.badAt) << ::testing::PrintToString(c.text);
    }
  }
}

TEST(Encoding, LenientDecodingShowsReplacementCharacter) {
  EXPECT_EQ(gb18030ToUtf8Lenient("a\xFF"
                                 "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(gb18030ToUtf8Lenient("a\xB5"), "a\xEF\xBF\xBD");
  EXPECT_EQ(gb18030ToUtf8Lenient(""), "");
  EXPECT_EQ(gb18030ToUtf8(utf8ToGb18030Lenient("x\xC3(")), "x\xEF\xBF\xBD(");
}

TEST(Encoding, LineBreaksAndNul) {
  EXPECT_EQ(toEngineLineBreaks("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(toEngineLineBreaks(std::string("a\0b", 3)), "ab");
  EXPECT_EQ(toEngineLineBreaks("\r\r\n"), "\r\n\r\n");
  EXPECT_EQ(fromEngineLineBreaks("a\r\nb\rc"), "a\nb\rc");
}

}  // namespace
}  // namespace abrivo
