// The text operations against plain models that step through the text one
// character at a time and compare bytes at every step, on arbitrary bytes.
//
// Input: a flag byte, three option bytes (start, count, maxPieces, each a
// signed byte), the lengths of the pattern and the replacement, an offset,
// then the pattern, the replacement and the text. With the "from text" flag
// the pattern is cut from the text at the offset instead, so that long
// patterns match often.
//
// Also checked: the Unicode boundary (engine/api/Boundary.h) gives back what
// it was given but for line breaks and NUL bytes, refuses bad UTF-8 at the
// first bad byte, and reads any engine bytes back as well-formed text; the
// lenient encoding always gives well-formed GB18030.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "abrivo/internal/api/Boundary.h"
#include "abrivo/internal/text/Encoding.h"
#include "abrivo/internal/text/TextOps.h"

namespace {

using abrivo::charSize;
using abrivo::foldAscii;

void fail(const char* what) {
  std::fprintf(stderr, "text_ops_fuzz: %s\n", what);
  std::abort();
}

bool matchAt(std::string_view t, std::size_t i, std::string_view sub, bool fold) {
  if (i + sub.size() > t.size()) return false;
  for (std::size_t k = 0; k < sub.size(); ++k) {
    const auto a = static_cast<unsigned char>(t[i + k]);
    const auto b = static_cast<unsigned char>(sub[k]);
    if (fold ? foldAscii(a) != foldAscii(b) : a != b) return false;
  }
  return true;
}

std::size_t regionStart(std::optional<int> start) {
  return start && *start > 1 ? static_cast<std::size_t>(*start) - 1 : 0;
}

int modelFind(std::string_view t, std::string_view sub, std::optional<int> start, bool fold) {
  const std::size_t b = regionStart(start);
  if (b >= t.size()) return -1;
  if (sub.empty()) return 1;
  for (std::size_t i = b; i < t.size(); i += charSize(t, i))
    if (matchAt(t, i, sub, fold)) return static_cast<int>(i + 1);
  return -1;
}

int modelFindReverse(std::string_view t, std::string_view sub, std::optional<int> start,
                     bool fold) {
  const std::size_t limit = start ? std::min(regionStart(start), t.size()) : t.size();
  if (sub.empty()) return limit > 0 ? 1 : -1;
  const std::string_view region = t.substr(0, limit);
  int last = -1;
  for (std::size_t i = 0; i < region.size(); i += charSize(region, i))
    if (matchAt(region, i, sub, fold)) last = static_cast<int>(i + 1);
  return last;
}

std::string modelReplace(std::string_view t, std::string_view find, std::string_view replacement,
                         std::optional<int> start, std::optional<int> count, bool caseSensitive) {
  const std::size_t b = regionStart(start);
  if (t.empty() || find.empty() || (count && *count == 0) || b >= t.size()) return std::string(t);
  int left = count && *count > 0 ? *count : -1;
  std::string out(t.substr(0, b));
  for (std::size_t i = b; i < t.size();) {
    if (left != 0 && matchAt(t, i, find, !caseSensitive)) {
      out += replacement;  // never looked at again
      i += find.size();
      if (left > 0) --left;
    } else {
      out += t.substr(i, charSize(t, i));
      i += charSize(t, i);
    }
  }
  return out;
}

abrivo::TextList modelSplit(std::string_view t, std::string_view delimiter,
                            std::optional<int> maxPieces) {
  abrivo::TextList pieces;
  if (t.empty() || (maxPieces && *maxPieces <= 0)) return pieces;
  if (delimiter.empty()) return {std::string(t)};
  int left = maxPieces ? *maxPieces : -1;
  std::size_t pieceStart = 0;
  for (std::size_t i = 0; i < t.size();) {
    if (!matchAt(t, i, delimiter, false)) {
      i += charSize(t, i);
      continue;
    }
    pieces.emplace_back(t.substr(pieceStart, i - pieceStart));
    i += delimiter.size();
    pieceStart = i;
    if (left > 0 && --left == 0) return pieces;
  }
  if (pieceStart < t.size()) pieces.emplace_back(t.substr(pieceStart));
  return pieces;
}

void checkSearches(std::string_view t, std::string_view sub, std::string_view replacement,
                   std::optional<int> start, std::optional<int> count, std::optional<int> maxPieces,
                   bool flag) {
  if (abrivo::findText(t, sub, start, flag) != modelFind(t, sub, start, flag))
    fail("findText differs from the model");
  if (abrivo::findTextReverse(t, sub, start, flag) != modelFindReverse(t, sub, start, flag))
    fail("findTextReverse differs from the model");
  if (abrivo::replaceText(t, sub, replacement, start, count, flag) !=
      modelReplace(t, sub, replacement, start, count, flag))
    fail("replaceText differs from the model");

  const abrivo::TextList pieces = abrivo::splitText(t, sub, maxPieces);
  if (pieces != modelSplit(t, sub, maxPieces)) fail("splitText differs from the model");
  if (!maxPieces && !sub.empty() && !t.empty()) {
    // The pieces joined by the delimiter give the text back, less a final
    // delimiter; a final delimiter gives no piece.
    std::string joined;
    for (std::size_t k = 0; k < pieces.size(); ++k)
      joined += (k ? std::string(sub) : "") + pieces[k];
    const bool endsWithDelimiter =
        joined.size() + sub.size() == t.size() && t.substr(joined.size()) == sub;
    if (joined != t && !endsWithDelimiter) fail("splitText pieces do not join to the text");
  }
}

void checkCuts(std::string_view t, int n) {
  const std::size_t k = n <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), t.size());
  if (abrivo::leftText(t, n) != t.substr(0, k)) fail("leftText");
  if (abrivo::rightText(t, n) != t.substr(t.size() - k)) fail("rightText");
  for (std::size_t i = 0; i < t.size(); i += charSize(t, i))
    if (i + charSize(t, i) > t.size()) fail("charSize reaches past the end");
}

// What the engine's bytes give back: line breaks of every kind as "\n" and
// no NUL bytes.
std::string tidied(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\0') continue;
    if (utf8[i] == '\r') {
      out += '\n';
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
      continue;
    }
    out += utf8[i];
  }
  return out;
}

void checkBoundary(std::string_view bytes) {
  namespace boundary = abrivo::boundary;
  std::optional<std::string> engine;
  try {
    engine = boundary::toEngineText(bytes, "text");
  } catch (const abrivo::InvalidText& e) {
    // Refused at the first bad byte: everything before it is taken.
    if (e.offset() >= bytes.size()) fail("bad UTF-8 reported past the end of the text");
    try {
      boundary::toEngineText(bytes.substr(0, e.offset()), "text");
    } catch (const abrivo::InvalidText&) {
      fail("the text before the reported offset was refused");
    }
  }
  if (engine) {
    for (std::size_t i = 0; i < engine->size(); ++i) {
      const char c = (*engine)[i];
      if (c == '\0') fail("a NUL byte reached the engine");
      if (c == '\r' && (i + 1 == engine->size() || (*engine)[i + 1] != '\n'))
        fail("a lone CR reached the engine");
      if (c == '\n' && (i == 0 || (*engine)[i - 1] != '\r')) fail("a lone LF reached the engine");
    }
    if (boundary::fromEngineText(*engine) != tidied(bytes))
      fail("UTF-8 did not come back unchanged but for line breaks and NUL");
  }
  // Any engine bytes read back as text that the boundary takes again.
  try {
    boundary::toEngineText(boundary::fromEngineText(bytes), "text");
  } catch (const abrivo::InvalidText&) {
    fail("engine bytes read back as bad UTF-8");
  }
  if (!abrivo::gb18030ToUtf8(abrivo::utf8ToGb18030Lenient(bytes)))
    fail("lenient encoding gave bad GB18030");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kHeader = 7;
  if (size < kHeader) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const unsigned flags = data[0];
  const auto option = [&](int bit, std::size_t at) -> std::optional<int> {
    if (!(flags & (1u << bit))) return std::nullopt;
    return static_cast<int>(static_cast<std::int8_t>(data[at]));
  };
  const std::optional<int> start = option(0, 1);
  const std::optional<int> count = option(1, 2);
  const std::optional<int> maxPieces = option(2, 3);
  const bool flag = flags & (1u << 3);
  const bool subFromText = flags & (1u << 4);

  std::string_view rest = input.substr(kHeader);
  std::string_view sub;
  if (!subFromText) {
    sub = rest.substr(0, std::min<std::size_t>(data[4], rest.size()));
    rest.remove_prefix(sub.size());
  }
  const std::string_view replacement = rest.substr(0, std::min<std::size_t>(data[5], rest.size()));
  rest.remove_prefix(replacement.size());
  const std::string_view t = rest;
  if (subFromText) sub = t.substr(std::min<std::size_t>(data[6], t.size()), data[4]);

  checkSearches(t, sub, replacement, start, count, maxPieces, flag);
  checkCuts(t, start.value_or(static_cast<int>(t.size() / 2)));
  if (abrivo::toInt(abrivo::toText(start.value_or(0))) != start.value_or(0)) fail("toInt(toText)");
  (void)abrivo::toNumber(t);
  (void)abrivo::toInt(t);
  checkBoundary(t);
  return 0;
}
