#include "cli/JsonLine.h"

#include <charconv>

namespace abrivo::cli {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A failed read: the offset of the byte that stopped it.
struct Failure {
  std::size_t offset;
  bool tooDeep;
};

class Reader {
 public:
  explicit Reader(std::string_view text) : m_t(text) {}

  JsonLine readLine() {
    if (m_t.starts_with(kUtf8Bom)) m_pos = kUtf8Bom.size();
    skipSpace();
    JsonLine line;
    line.kind = readValue(0, &line.members);
    skipSpace();
    if (m_pos != m_t.size()) fail();
    return line;
  }

 private:
  [[noreturn]] void fail(bool tooDeep = false) { throw Failure{m_pos, tooDeep}; }

  char peek() const { return m_pos < m_t.size() ? m_t[m_pos] : '\0'; }
  bool atEnd() const { return m_pos >= m_t.size(); }

  void skipSpace() {
    while (m_pos < m_t.size() && isSpace(m_t[m_pos])) ++m_pos;
  }

  void expect(char c) {
    if (atEnd() || m_t[m_pos] != c) fail();
    ++m_pos;
  }

  // Reads one value at the given depth of enclosing arrays and objects. The
  // members of an object are kept when members is not null.
  JsonKind readValue(int depth, std::vector<JsonMember>* members) {
    if (atEnd()) fail();
    switch (m_t[m_pos]) {
      case '{':
        readObject(depth + 1, members);
        return JsonKind::Object;
      case '[':
        readArray(depth + 1);
        return JsonKind::Array;
      case '"':
        readString();
        return JsonKind::String;
      case 't':
        readWord("true");
        return JsonKind::True;
      case 'f':
        readWord("false");
        return JsonKind::False;
      case 'n':
        readWord("null");
        return JsonKind::Null;
      default:
        readNumber();
        return JsonKind::Number;
    }
  }

  void readObject(int depth, std::vector<JsonMember>* members) {
    if (depth > kMaxJsonNesting) fail(true);
    ++m_pos;  // '{'
    skipSpace();
    if (peek() == '}') {
      ++m_pos;
      return;
    }
    for (;;) {
      if (peek() != '"') fail();
      const std::size_t keyStart = m_pos;
      readString();
      const std::string_view key = m_t.substr(keyStart, m_pos - keyStart);
      skipSpace();
      expect(':');
      skipSpace();
      const std::size_t valueStart = m_pos;
      const JsonKind kind = readValue(depth, nullptr);
      if (members) {
        members->push_back(
            {decodeJsonString(key), kind, m_t.substr(valueStart, m_pos - valueStart)});
      }
      skipSpace();
      if (peek() == ',') {
        ++m_pos;
        skipSpace();
        continue;
      }
      expect('}');
      return;
    }
  }

  void readArray(int depth) {
    if (depth > kMaxJsonNesting) fail(true);
    ++m_pos;  // '['
    skipSpace();
    if (peek() == ']') {
      ++m_pos;
      return;
    }
    for (;;) {
      readValue(depth, nullptr);
      skipSpace();
      if (peek() == ',') {
        ++m_pos;
        skipSpace();
        continue;
      }
      expect(']');
      return;
    }
  }

  void readWord(std::string_view word) {
    for (const char c : word) expect(c);
  }

  void readDigits() {
    if (!isDigit(peek())) fail();
    while (isDigit(peek())) ++m_pos;
  }

  void readNumber() {
    if (peek() == '-') ++m_pos;
    if (peek() == '0') {
      ++m_pos;
    } else {
      readDigits();
    }
    if (peek() == '.') {
      ++m_pos;
      readDigits();
    }
    if (peek() == 'e' || peek() == 'E') {
      ++m_pos;
      if (peek() == '+' || peek() == '-') ++m_pos;
      readDigits();
    }
  }

  // Four hex digits after "\u".
  unsigned readHex4() {
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      const int digit = hexValue(peek());
      if (digit < 0) fail();
      value = value * 16 + static_cast<unsigned>(digit);
      ++m_pos;
    }
    return value;
  }

  void readEscape() {
    ++m_pos;  // '\\'
    switch (peek()) {
      case '"':
      case '\\':
      case '/':
      case 'b':
      case 'f':
      case 'n':
      case 'r':
      case 't':
        ++m_pos;
        return;
      case 'u':
        break;
      default:
        fail();
    }
    ++m_pos;
    const unsigned unit = readHex4();
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      --m_pos;  // a low surrogate alone: its last digit is the fault
      fail();
    }
    if (unit < 0xD800 || unit > 0xDBFF) return;
    expect('\\');
    expect('u');
    const unsigned low = readHex4();
    if (low < 0xDC00 || low > 0xDFFF) {
      --m_pos;
      fail();
    }
  }

  // One UTF-8 character of two or more bytes; the lead byte is at m_pos.
  void readMultiByte() {
    const auto byte = [this](std::size_t k) {
      return k < m_t.size() ? static_cast<unsigned char>(m_t[k]) : 0u;
    };
    const unsigned lead = byte(m_pos);
    unsigned low = 0x80, high = 0xBF;  // the range of the second byte
    int size = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      size = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      size = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      size = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      fail();
    }
    ++m_pos;
    for (int i = 1; i < size; ++i) {
      const unsigned b = byte(m_pos);
      if (m_pos >= m_t.size() || b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF)) fail();
      ++m_pos;
    }
  }

  void readString() {
    ++m_pos;  // '"'
    for (;;) {
      if (atEnd()) fail();
      const auto c = static_cast<unsigned char>(m_t[m_pos]);
      if (c == '"') {
        ++m_pos;
        return;
      }
      if (c == '\\') {
        readEscape();
      } else if (c < 0x20) {
        fail();
      } else if (c < 0x80) {
        ++m_pos;
      } else {
        readMultiByte();
      }
    }
  }

  std::string_view m_t;
  std::size_t m_pos = 0;
};

void appendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

unsigned hex4(std::string_view text, std::size_t at) {
  unsigned value = 0;
  for (std::size_t i = at; i < at + 4; ++i)
    value = value * 16 + static_cast<unsigned>(hexValue(text[i]));
  return value;
}

}  // namespace

std::optional<JsonLine> parseJsonLine(std::string_view line, JsonLineError* error) {
  try {
    return Reader(line).readLine();
  } catch (const Failure& failure) {
    if (error) *error = {failure.offset, failure.tooDeep};
    return std::nullopt;
  }
}

const JsonMember* findMember(const JsonLine& line, std::string_view key) {
  for (auto it = line.members.rbegin(); it != line.members.rend(); ++it) {
    if (it->key == key) return &*it;
  }
  return nullptr;
}

std::string decodeJsonString(std::string_view text) {
  // text holds the quotes; escapes are known to be well formed.
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    const char c = text[i];
    if (c != '\\') {
      out += c;
      continue;
    }
    const char e = text[++i];
    switch (e) {
      case 'b':
        out += '\b';
        break;
      case 'f':
        out += '\f';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'u': {
        unsigned code = hex4(text, i + 1);
        i += 4;
        if (code >= 0xD800 && code <= 0xDBFF) {
          const unsigned low = hex4(text, i + 3);
          code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          i += 6;
        }
        appendUtf8(out, code);
        break;
      }
      default:  // '"', '\\' and '/' stand for themselves
        out += e;
    }
  }
  return out;
}

std::optional<std::int64_t> jsonInteger(std::string_view text) {
  if (text.find_first_of(".eE") != std::string_view::npos) return std::nullopt;
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::string compactJson(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool inString = false;
  bool escaped = false;
  for (const char c : text) {
    if (inString) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        inString = false;
    } else if (isSpace(c)) {
      continue;
    } else if (c == '"') {
      inString = true;
    }
    out += c;
  }
  return out;
}

}  // namespace abrivo::cli
