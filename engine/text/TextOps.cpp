// Tested by tests/text_ops_test.cpp.
#include "text/TextOps.h"

#include <locale.h>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace abrivo {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool matchesAt(std::string_view t, std::size_t i, std::string_view sub, bool foldCase) {
  if (!foldCase) return std::memcmp(t.data() + i, sub.data(), sub.size()) == 0;
  for (std::size_t k = 0; k < sub.size(); ++k) {
    if (foldAscii(static_cast<unsigned char>(t[i + k])) !=
        foldAscii(static_cast<unsigned char>(sub[k])))
      return false;
  }
  return true;
}

// From i, the start of a step, the first step at or after j. Eight bytes at
// a time where all are below 0x80 (one-byte characters) or all are 0x80 or
// more (two-byte characters in pairs; a four-byte sequence holds digits and
// so never passes this way), one character at a time elsewhere.
std::size_t stepTo(std::string_view t, std::size_t i, std::size_t j) {
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  while (i + 8 <= j) {
    std::uint64_t block;
    std::memcpy(&block, t.data() + i, sizeof block);
    const std::uint64_t high = block & kHigh;
    i += (high == 0 || high == kHigh) ? 8 : charSize(t, i);
  }
  while (i < j) i += charSize(t, i);
  return i;
}

// The first step at or after j, given i, a step at or before j, found by
// looking back from j rather than walking forward from i. A byte below 0x80
// other than a digit always ends a character (a digit may be the second byte
// of a four-byte sequence), and from a step, bytes of 0x80 or more form
// two-byte characters in pairs; so the parity of the run of such bytes just
// before j tells whether j is a step. Where a digit bounds the run, the
// steps are walked instead.
std::size_t stepAt(std::string_view t, std::size_t i, std::size_t j) {
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  const auto high = [t](std::size_t k) { return static_cast<unsigned char>(t[k]) >= 0x80; };
  std::size_t p = j;
  while (p >= i + 8) {
    std::uint64_t block;
    std::memcpy(&block, t.data() + p - 8, sizeof block);
    if ((block & kHigh) != kHigh) break;
    p -= 8;
  }
  while (p > i && high(p - 1)) --p;
  if (p > i && t[p - 1] >= '0' && t[p - 1] <= '9') return stepTo(t, i, j);
  if ((j - p) % 2 == 0) return j;
  return j - 1 + charSize(t, j - 1);
}

bool hasAsciiLetter(std::string_view s) {
  for (const char c : s)
    if (foldAscii(static_cast<unsigned char>(c)) >= 'a' &&
        foldAscii(static_cast<unsigned char>(c)) <= 'z')
      return true;
  return false;
}

// Index of the first match of sub (non-empty) that starts on a character step
// at or after i, where i itself is the start of a step; npos when none. The
// bytes are found first (memchr for the first byte, or a scan for it in either
// case) and only then are the character steps walked up to them, so a match
// inside a character is skipped. Each candidate compares up to sub.size() bytes, so
// this is for short patterns.
std::size_t nextShortMatch(std::string_view t, std::size_t i, std::string_view sub, bool foldCase) {
  const std::size_t n = t.size();
  const std::size_t m = sub.size();
  // Folding changes nothing for a pattern without ASCII letters.
  if (!foldCase || !hasAsciiLetter(sub)) {
    std::size_t p = i;
    while (p + m <= n) {
      const void* hit = std::memchr(t.data() + p, sub[0], n - m + 1 - p);
      if (!hit) return npos;
      const auto j = static_cast<std::size_t>(static_cast<const char*>(hit) - t.data());
      if (std::memcmp(t.data() + j + 1, sub.data() + 1, m - 1) != 0) {
        p = j + 1;
        continue;
      }
      i = stepAt(t, i, j);
      if (i == j) return j;
      p = i;
    }
    return npos;
  }
  const unsigned char first = foldAscii(static_cast<unsigned char>(sub[0]));
  std::size_t p = i;
  while (p + m <= n) {
    if (foldAscii(static_cast<unsigned char>(t[p])) != first) {
      ++p;
      continue;
    }
    i = stepAt(t, i, p);
    if (i == p && matchesAt(t, p, sub, true)) return p;
    p = i == p ? p + 1 : i;
  }
  return npos;
}

// Patterns up to this many bytes are compared in place at every step, which
// costs at most this much per byte of text. A longer one (an English term is
// a word of any length) goes through a Knuth-Morris-Pratt automaton, so that
// searching a long text for a long term stays linear.
constexpr std::size_t kShortPattern = 16;

// The searches for one pattern: matches start on character steps, ASCII case
// folded or not.
class Matcher {
 public:
  Matcher(std::string_view sub, bool foldCase) : m_sub(sub), m_fold(foldCase) {
    if (sub.size() <= kShortPattern) return;
    m_pattern.reserve(sub.size());
    for (const char c : sub) m_pattern.push_back(static_cast<char>(byte(c)));
    // m_border[k]: length of the longest proper border of the first k + 1 bytes.
    m_border.assign(sub.size(), 0);
    for (std::size_t k = 1, b = 0; k < sub.size(); ++k) {
      while (b > 0 && m_pattern[k] != m_pattern[b]) b = m_border[b - 1];
      if (m_pattern[k] == m_pattern[b]) ++b;
      m_border[k] = b;
    }
  }

  // The first match at a step at or after i (i being a step); npos when none.
  std::size_t first(std::string_view t, std::size_t i) const {
    if (m_border.empty()) return nextShortMatch(t, i, m_sub, m_fold);
    return scan(t, i, false);
  }

  // The last match at a step from the start of t; npos when none.
  std::size_t last(std::string_view t) const {
    if (!m_border.empty()) return scan(t, 0, true);
    std::size_t found = npos;
    for (std::size_t i = first(t, 0); i != npos; i = first(t, i + charSize(t, i))) found = i;
    return found;
  }

 private:
  unsigned char byte(char c) const {
    const auto b = static_cast<unsigned char>(c);
    return m_fold ? foldAscii(b) : b;
  }

  // One pass over t from byte i that sees every occurrence, overlapping ones
  // included, and keeps those that start on a step.
  std::size_t scan(std::string_view t, std::size_t i, bool wantLast) const {
    const std::size_t m = m_pattern.size();
    std::size_t step = i;  // the first step not before any start still to come
    std::size_t matched = 0;
    std::size_t found = npos;
    for (std::size_t p = i; p < t.size(); ++p) {
      const char c = static_cast<char>(byte(t[p]));
      while (matched > 0 && m_pattern[matched] != c) matched = m_border[matched - 1];
      if (m_pattern[matched] == c) ++matched;
      if (matched < m) continue;
      const std::size_t start = p + 1 - m;
      step = stepTo(t, step, start);
      if (step == start) {
        if (!wantLast) return start;
        found = start;
      }
      matched = m_border[m - 1];
    }
    return found;
  }

  std::string_view m_sub;
  bool m_fold;
  std::string m_pattern;  // folded when m_fold; only for long patterns
  std::vector<std::size_t> m_border;
};

// Full-width forms of GBK folded to ASCII, read one byte at a time, so that a
// number is read only as far as it goes.
class FoldedReader {
 public:
  explicit FoldedReader(std::string_view t) : m_t(t) {}

  int peek() {
    if (m_pos >= m_t.size()) return -1;
    const auto b0 = static_cast<unsigned char>(m_t[m_pos]);
    if (b0 < 0x80 || m_pos + 1 >= m_t.size()) {
      m_step = 1;
      return b0;
    }
    m_step = 2;
    const auto b1 = static_cast<unsigned char>(m_t[m_pos + 1]);
    if (b0 == 0xA3 && b1 >= 0xA1 && b1 <= 0xFE) return b1 - 0x80;
    if (b0 == 0xA1 && b1 == 0xA1) return ' ';
    if (b0 == 0xA1 && b1 == 0xAB) return '~';
    if (b0 == 0xA1 && (b1 == 0xEE || b1 == 0xEF)) return '*';
    return 0x100;  // any other two-byte character: never part of a number
  }
  void next() { m_pos += m_step; }

  // Appends the next character to out and steps past it when it is one of
  // chars (ASCII); true when it was.
  bool takeOneOf(std::string_view chars, std::string& out) {
    const int c = peek();
    if (c < 0 || c >= 0x80 || chars.find(static_cast<char>(c)) == std::string_view::npos)
      return false;
    out.push_back(static_cast<char>(c));
    next();
    return true;
  }
  // Appends the digits that follow to out; true when there was one.
  bool takeDigits(std::string& out) {
    bool any = false;
    while (peek() >= '0' && peek() <= '9') {
      out.push_back(static_cast<char>(peek()));
      next();
      any = true;
    }
    return any;
  }

 private:
  std::string_view m_t;
  std::size_t m_pos = 0;
  std::size_t m_step = 1;
};

bool isSpace(int c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(int c) {
  return c >= '0' && c <= '9';
}

int clampToInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(x);
}

}  // namespace

int textLength(std::string_view t) {
  return t.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(t.size());
}

Text concatText(std::string_view a, std::string_view b) {
  Text r;
  r.reserve(a.size() + b.size());
  r.append(a).append(b);
  return r;
}

Text leftText(std::string_view t, int n) {
  if (n <= 0) return {};
  return Text(t.substr(0, std::min<std::size_t>(static_cast<std::size_t>(n), t.size())));
}

Text rightText(std::string_view t, int n) {
  if (n <= 0) return {};
  const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(n), t.size());
  return Text(t.substr(t.size() - k));
}

int findText(std::string_view t, std::string_view sub, std::optional<int> start, bool ignoreCase) {
  std::size_t b = 0;
  if (start && *start > 1) b = static_cast<std::size_t>(*start) - 1;
  if (b >= t.size()) return -1;  // empty region
  if (sub.empty()) return 1;
  const std::size_t i = Matcher(sub, ignoreCase).first(t, b);
  return i == npos ? -1 : static_cast<int>(i + 1);
}

int findTextReverse(std::string_view t, std::string_view sub, std::optional<int> start,
                    bool ignoreCase) {
  std::size_t limit = t.size();
  if (start) {
    const std::size_t b = *start > 1 ? static_cast<std::size_t>(*start) - 1 : 0;
    limit = std::min(b, t.size());
  }
  if (sub.empty()) return limit > 0 ? 1 : -1;
  // A match must end within the first `limit` bytes; stepping in the prefix
  // sees the same character steps as stepping in the whole text.
  const std::size_t last = Matcher(sub, ignoreCase).last(t.substr(0, limit));
  return last == npos ? -1 : static_cast<int>(last + 1);
}

namespace {

// The replacement loop from the first match i on; limit < 0 is no limit.
Text replaceFrom(std::string_view t, std::size_t i, const Matcher& matcher, std::string_view find,
                 std::string_view replacement, long long limit) {
  Text result;
  result.reserve(t.size() + (replacement.size() > find.size() ? t.size() / 4 : 0));
  std::size_t copied = 0;
  while (i != npos) {
    result.append(t.substr(copied, i - copied));
    result.append(replacement);
    copied = i + find.size();
    if (limit > 0 && --limit == 0) break;
    i = matcher.first(t, copied);
  }
  result.append(t.substr(copied));
  return result;
}

}  // namespace

Text replaceText(std::string_view t, std::string_view find, std::string_view replacement,
                 std::optional<int> start, std::optional<int> count, bool caseSensitive) {
  std::size_t b = 0;
  if (start && *start > 1) b = static_cast<std::size_t>(*start) - 1;
  if (t.empty() || find.empty() || (count && *count == 0) || b >= t.size()) return Text(t);
  const long long limit = (count && *count > 0) ? *count : -1;
  const Matcher matcher(find, !caseSensitive);
  const std::size_t i = matcher.first(t, b);
  if (i == npos) return Text(t);
  return replaceFrom(t, i, matcher, find, replacement, limit);
}

void replaceAll(Text& t, std::string_view find, std::string_view replacement) {
  if (t.empty() || find.empty()) return;
  const Matcher matcher(find, false);
  const std::size_t i = matcher.first(t, 0);
  if (i != npos) t = replaceFrom(t, i, matcher, find, replacement, -1);
}

TextList splitText(std::string_view t, std::string_view delimiter, std::optional<int> maxPieces) {
  TextList pieces;
  if (t.empty() || (maxPieces && *maxPieces <= 0)) return pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(t);
    return pieces;
  }
  long long left = maxPieces ? *maxPieces : -1;
  std::size_t pieceStart = 0;
  const Matcher matcher(delimiter, false);
  for (std::size_t i = matcher.first(t, 0); i != npos; i = matcher.first(t, pieceStart)) {
    pieces.emplace_back(t.substr(pieceStart, i - pieceStart));
    pieceStart = i + delimiter.size();
    if (left > 0 && --left == 0) return pieces;
  }
  if (pieceStart < t.size()) pieces.emplace_back(t.substr(pieceStart));
  return pieces;
}

Text toText(int n) {
  return std::to_string(n);
}

Text toText(double x) {
  // A whole number of up to 13 digits is written as the integer it is; this
  // is what weights and scores mostly are.
  if (x == std::trunc(x) && std::fabs(x) < 1e13 && !(x == 0 && std::signbit(x)))
    return std::to_string(static_cast<long long>(x));
  char buf[64];
#ifdef __EMSCRIPTEN__
  // The browser build's C++ library has no to_chars for doubles; its printf
  // always writes the C locale's form.
  const int n = std::snprintf(buf, sizeof buf, "%.13g", x);
  return Text(buf, static_cast<std::size_t>(n));
#else
  // to_chars with a precision writes exactly what printf's "%.13g" writes in
  // the C locale, whatever locale the program runs in.
  const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 13);
  return Text(buf, r.ptr);
#endif
}

double toNumber(std::string_view t) {
  // Plain decimal integers, as toText writes counts and whole weights, are
  // read directly; anything else goes the long way.
  if (!t.empty() && t.size() <= 15) {
    std::size_t i = t[0] == '-' ? 1 : 0;
    long long value = 0;
    while (i < t.size() && isDigit(static_cast<unsigned char>(t[i])))
      value = value * 10 + (t[i++] - '0');
    if (i == t.size() && i > (t[0] == '-' ? 1u : 0u))
      return t[0] == '-' ? -static_cast<double>(value) : static_cast<double>(value);
  }
  FoldedReader in(t);
  while (isSpace(in.peek())) in.next();
  std::string num;
  in.takeOneOf("+-", num);
  bool digits = in.takeDigits(num);
  if (in.takeOneOf(".", num)) digits = in.takeDigits(num) || digits;
  if (!digits) return 0.0;
  if (in.peek() == 'e' || in.peek() == 'E') {
    std::string exp = "e";
    in.next();
    in.takeOneOf("+-", exp);
    if (in.takeDigits(exp)) num += exp;
  }
  // strtod in the C locale: the program's locale must not change the decimal
  // point, and overflow gives infinity as the C library defines it.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  return strtod_l(num.c_str(), nullptr, cLocale);
}

int toInt(std::string_view t) {
  FoldedReader in(t);
  while (isSpace(in.peek())) in.next();
  bool negative = false;
  if (in.peek() == '+' || in.peek() == '-') {
    negative = in.peek() == '-';
    in.next();
  }
  long long value = 0;
  while (isDigit(in.peek())) {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (in.peek() - '0');
    in.next();
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int toInt(double x) {
  return clampToInt(std::trunc(x));
}

int floorToInt(double x) {
  if (std::isnan(x)) return 0;
  double i = 0.0;
  const double f = std::modf(x, &i);
  if (std::fabs(f) > 0.999999999999) x = (i >= 0.0) ? i + 1.0 : i - 1.0;
  return clampToInt(std::floor(x));
}

}  // namespace abrivo
