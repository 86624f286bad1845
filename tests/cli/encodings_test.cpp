// Encodings of abrivo-cli: every byte order mark, GBK, GB18030 and Big5 read
// into the same summary as UTF-8; invalid bytes in each fail with their
// offset; the output goes back out in each encoding, and a character the
// output encoding lacks is an error that names it, never a replacement.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "Articles.h"
#include "RunCli.h"
#include "abrivo/internal/text/Encoding.h"
#include "cli/Cli.h"

namespace abrivo::cli {
namespace {

using namespace abrivo::cli::testing;

std::string encoded(std::string_view utf8, Charset charset) {
  const auto bytes = encodeFromUtf8(utf8, charset);
  EXPECT_TRUE(bytes) << charsetName(charset);
  return bytes.value_or("");
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// Bytes written down by hand, so that the tables iconv uses are checked
// against known values in both directions.
TEST(Encodings, KnownBytes) {
  using namespace std::string_literals;
  const struct {
    Charset charset;
    std::string bytes;
    std::string_view utf8;
  } cases[] = {
      {Charset::Utf16Le, "A\0\x84\x76\x3D\xD8\x00\xDE"s, "A的😀"},
      {Charset::Utf16Be, "\0A\x76\x84\xD8\x3D\xDE\x00"s, "A的😀"},
      {Charset::Gbk, "a\xB5\xC4\xD6\xD0", "a的中"},
      {Charset::Gb18030, "\xB5\xC4\x94\x39\xFC\x36", "的😀"},
      {Charset::Big5Hkscs, "a\xA4\xA4\xA4\xE5\xAA\xBA", "a中文的"},
      {Charset::Utf8, "a\xE7\x9A\x84", "a的"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(charsetName(c.charset));
    EXPECT_EQ(decodeToUtf8(c.bytes, c.charset), std::string(c.utf8));
    EXPECT_EQ(encodeFromUtf8(c.utf8, c.charset), c.bytes);
  }
}

// The command line checks UTF-8 itself before handing it to the library,
// which converts it with iconv: both must refuse the same bytes, at the same
// offset, or a file that passes the first check would fail later.
TEST(Encodings, Utf8CheckAgreesWithTheLibrarysConversion) {
  const std::string seconds = {'\x00', '\x7F', '\x80', '\x8F', '\x90',
                               '\x9F', '\xA0', '\xBF', '\xC0', '\xFF'};
  int compared = 0;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (const char second : seconds) {
      for (const std::string tail : {"", "\x80", "\x80\x80", "A"}) {
        const std::string text = "a" + std::string(1, static_cast<char>(lead)) + second + tail;
        ConversionError error{};
        const bool converts = utf8ToGb18030(text, &error).has_value();
        const std::optional<std::size_t> bad = firstInvalidUtf8(text);
        ASSERT_EQ(bad.has_value(), !converts) << ::testing::PrintToString(text);
        if (bad) {
          EXPECT_EQ(*bad, error.offset) << ::testing::PrintToString(text);
        }
        ++compared;
      }
    }
  }
  EXPECT_EQ(compared, 128 * 10 * 4);
}

// Every encoding of the same article, with its title file in the same
// encoding, gives the output the UTF-8 article gives.
TEST(CliEncodings, EveryEncodingReadsAsTheSameText) {
  struct Article {
    std::string_view title, text;
  };
  const Article zh{kChineseTitle, kChineseArticle};
  const Article en{kEnglishTitle, kEnglishArticle};
  const Article hant{kTraditionalTitle, kTraditionalArticle};
  const auto bom = [](std::string_view mark, Charset charset) {
    return [=](std::string_view utf8) { return std::string(mark) + encoded(utf8, charset); };
  };
  const auto plain = [](Charset charset) {
    return [=](std::string_view utf8) { return encoded(utf8, charset); };
  };
  const struct {
    const char* name;
    Article article;
    std::vector<std::string> args;
    std::function<std::string(std::string_view)> encode;
  } cases[] = {
      {"UTF-8", zh, {}, plain(Charset::Utf8)},
      {"UTF-8 with a mark", zh, {}, bom(kUtf8Bom, Charset::Utf8)},
      {"UTF-8 with a mark, -e utf-8", zh, {"-e", "utf-8"}, bom(kUtf8Bom, Charset::Utf8)},
      {"UTF-16LE with a mark", zh, {}, bom(kUtf16LeBom, Charset::Utf16Le)},
      {"UTF-16BE with a mark", zh, {}, bom(kUtf16BeBom, Charset::Utf16Be)},
      {"UTF-16LE with a mark, English", en, {}, bom(kUtf16LeBom, Charset::Utf16Le)},
      {"UTF-16BE with a mark, traditional", hant, {}, bom(kUtf16BeBom, Charset::Utf16Be)},
      {"GBK", zh, {}, plain(Charset::Gbk)},
      {"GBK, -e gbk", zh, {"-e", "gbk"}, plain(Charset::Gbk)},
      {"GBK, traditional", hant, {}, plain(Charset::Gbk)},
      {"GB18030, -e gb18030", zh, {"-e", "gb18030"}, plain(Charset::Gb18030)},
      {"Big5, -e big5", hant, {"-e", "big5"}, plain(Charset::Big5Hkscs)},
      {"English, -e big5", en, {"-e", "big5"}, plain(Charset::Big5Hkscs)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string title(c.article.title), text(c.article.text);
    const Outcome reference = run({"-f", "json", "-t", title}, text);
    ASSERT_EQ(reference.code, 0) << reference.err;

    const std::string titleFile = ::testing::TempDir() + "/abrivo_encodings_title.txt";
    std::ofstream(titleFile, std::ios::binary) << c.encode(title + "\n");
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"-f", "json", "--title-file", titleFile});
    const Outcome r = run(args, c.encode(text));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, reference.out);
    std::remove(titleFile.c_str());
  }
}

TEST(CliEncodings, InvalidInputInEachEncoding) {
  using namespace std::string_literals;
  const std::string nor = ", nor GB18030 (name the encoding with -e)";
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    std::string message;
  } cases[] = {
      {"UTF-8 mark, then a bad byte",
       {},
       "\xEF\xBB\xBF"
       "ab\xFF",
       "not valid UTF-8 at byte 5"},
      {"UTF-8 mark, then a cut character", {}, "\xEF\xBB\xBF\xE4\xB8", "not valid UTF-8 at byte 3"},
      {"UTF-16LE mark, odd length",
       {},
       "\xFF\xFE"
       "A\0B"s,
       "not valid UTF-16LE at byte 4"},
      {"UTF-16LE mark, lone low surrogate",
       {},
       "\xFF\xFE"
       "A\0\x00\xDC"s,
       "not valid UTF-16LE at byte 4"},
      {"UTF-16LE mark, high surrogate before a letter",
       {},
       "\xFF\xFE\x3D\xD8"
       "A\0"s,
       "not valid UTF-16LE at byte 2"},
      {"UTF-16BE mark, high surrogate at the end",
       {},
       "\xFE\xFF\0A\xD8\x3D"s,
       "not valid UTF-16BE at byte 4"},
      {"neither UTF-8 nor GB18030", {}, "ab\xFF", "not valid UTF-8 at byte 2" + nor},
      {"GB18030 up to a bad byte: the offset is UTF-8's",
       {},
       "中文\xFF",
       "not valid UTF-8 at byte 6" + nor},
      {"-e utf-8 with a UTF-16 mark",
       {"-e", "utf-8"},
       "\xFF\xFE"
       "A\0"s,
       "not valid UTF-8 at byte 0"},
      {"GBK: a four-byte GB18030 character",
       {"-e", "gbk"},
       "\xB5\xC4\x81\x30\x81\x30",
       "not valid GBK at byte 2"},
      {"GB18030: cut four-byte character",
       {"-e", "gb18030"},
       "\xB5\xC4\x81\x30",
       "not valid GB18030 at byte 2"},
      {"Big5: cut character", {"-e", "big5"}, "\xA4\xA4\xA4", "not valid Big5-HKSCS at byte 2"},
      {"Big5: bad trail byte",
       {"-e", "big5"},
       "\xA4\xA4\xA4\x20",
       "not valid Big5-HKSCS at byte 2"},
      {"Big5: 0xFF", {"-e", "big5"}, "\xA4\xA4\xFF\xFF", "not valid Big5-HKSCS at byte 2"},
      {"Big5: trail byte below the range",
       {"-e", "big5"},
       "\xA4\x7F",
       "not valid Big5-HKSCS at byte 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome r = run(c.args, c.input);
    EXPECT_EQ(r.code, kExitInputError);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "abrivo-cli: <stdin>: " + c.message + "\n");
  }
  const Outcome title = run({"-e", "big5", "-t", "\xA4"}, "e");
  EXPECT_EQ(title.err, "abrivo-cli: --title: not valid Big5-HKSCS at byte 0\n");
}

// Read in an encoding and written in the same one, a summary keeps the
// article's bytes; the JSON is the UTF-8 JSON in that encoding.
TEST(CliEncodings, OutputRoundTrips) {
  const std::string withEmoji =
      "渔民的新船😀今天下水，𠀀号船也出海。\n" + std::string(kChineseArticle);
  const struct {
    const char* encoding;
    Charset charset;
    std::string article;
  } cases[] = {
      {"utf-8", Charset::Utf8, withEmoji},
      {"gbk", Charset::Gbk, std::string(kChineseArticle)},
      {"gb18030", Charset::Gb18030, withEmoji},
      {"big5", Charset::Big5Hkscs, std::string(kTraditionalArticle)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.encoding);
    for (const char* format : {"text", "json"}) {
      SCOPED_TRACE(format);
      const std::vector<std::string> args = {"-f", format, "--sentences", "2"};
      const Outcome utf8 = run(args, c.article);
      ASSERT_EQ(utf8.code, 0) << utf8.err;
      std::vector<std::string> both = args;
      both.insert(both.end(), {"-e", c.encoding, "--output-encoding", c.encoding});
      const Outcome r = run(both, encoded(c.article, c.charset));
      ASSERT_EQ(r.code, 0) << r.err;
      if (std::string_view(format) == "json" && c.charset == Charset::Big5Hkscs) {
        // "关键词" has no Big5 form: JSON writes it as \u escapes.
        EXPECT_EQ(nlohmann::json::parse(*decodeToUtf8(r.out, c.charset)),
                  nlohmann::json::parse(utf8.out));
        EXPECT_NE(r.out.find("\\u5173\\u952e\\u8bcd"), std::string::npos) << r.out;
      } else {
        EXPECT_EQ(r.out, encoded(utf8.out, c.charset));
      }
    }
  }
}

TEST(CliEncodings, ACharacterTheOutputEncodingLacksIsAnError) {
  const std::string hint = "; choose another --output-encoding\n";
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    std::string message;
  } cases[] = {
      {"an emoji in GBK",
       {"--output-encoding", "gbk"},
       "渔民的新船😀今天下水。",
       "U+1F600 (😀), which GBK lacks"},
      {"a rare ideograph in GBK",
       {"--output-encoding", "gbk"},
       "𠀀号的渔船今天出海。",
       "U+20000 (𠀀), which GBK lacks"},
      {"a simplified character in Big5",
       {"--output-encoding", "big5"},
       "这座桥的工程今天完成。",
       "U+8FD9 (这), which Big5-HKSCS lacks"},
      {"a control character is named by its code alone",
       {"--output-encoding", "gbk"},
       "The tree\xC2\x85 is green.",
       "U+0085, which GBK lacks"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome r = run(c.args, c.input);
    EXPECT_EQ(r.code, kExitInputError);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "abrivo-cli: the output holds " + c.message + hint);
    // The same text in UTF-8 and GB18030, which hold every character.
    EXPECT_EQ(run({"--output-encoding", "gb18030"}, c.input).code, 0);
    EXPECT_EQ(run({}, c.input).code, 0);
  }
}

}  // namespace
}  // namespace abrivo::cli
