// The page's entry into the engine: abrivo::summarise behind a C function
// that takes UTF-8 and returns the summary as one JSON text, which
// Module.summarise (summarise.post.js) hands to the worker as an object.
// Progress texts go to Module.onProgress as they appear.
#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include <abrivo/abrivo.h>

#include "abrivo/internal/text/Encoding.h"

// Hands one progress text (UTF-8) to the worker's handler, if it set one.
// clang-format off
EM_JS(void, abrivo_web_progress, (const char* text, int size), {
  if (Module.onProgress) Module.onProgress(UTF8ToString(text, size));
});
// clang-format on

namespace {

void appendJson(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void appendField(std::string& out, const char* name) {
  if (out.size() > 1) out += ',';
  appendJson(out, name);
  out += ':';
}

std::string toJson(const abrivo::Summary& s) {
  std::string out = "{";
  appendField(out, "language");
  out += !s.language ? "null" : *s.language == abrivo::Language::Chinese ? "\"zh\"" : "\"en\"";
  appendField(out, "summary");
  appendJson(out, s.summary);
  appendField(out, "status");
  appendJson(out, s.status);
  appendField(out, "keywordLine");
  appendJson(out, s.keywordLine);
  appendField(out, "keywords");
  out += '[';
  for (std::size_t i = 0; i < s.keywords.size(); ++i) {
    if (i) out += ',';
    appendJson(out, s.keywords[i]);
  }
  out += ']';
  appendField(out, "articleSize");
  out += std::to_string(s.articleSize);
  appendField(out, "summarySize");
  out += std::to_string(s.summarySize);
  appendField(out, "terms");
  out += '[';
  for (std::size_t i = 0; i < s.terms.size(); ++i) {
    if (i) out += ',';
    out += '[';
    appendJson(out, s.terms[i].term);
    out += ',' + std::to_string(s.terms[i].weight) + ']';
  }
  out += ']';
  appendField(out, "sentences");
  out += '[';
  for (std::size_t i = 0; i < s.sentences.size(); ++i) {
    const abrivo::Sentence& x = s.sentences[i];
    if (i) out += ',';
    out += '[';
    appendJson(out, x.text);
    out += ',' + std::to_string(x.rank) + ',' + std::to_string(x.position) + ',' +
           (x.selected ? "true" : "false") + ']';
  }
  out += "]}";
  return out;
}

std::string errorJson(const char* kind, const char* message) {
  std::string out = "{";
  appendField(out, "error");
  appendJson(out, kind);
  appendField(out, "message");
  appendJson(out, message);
  out += '}';
  return out;
}

// The reason a text did not convert. Module.summarise hands over only
// well-formed text, so the character at the offset is valid UTF-8 that the
// browser's GB18030 has no code for: U+E5E5, whose code the browser reads as
// U+3000.
std::string invalidTextMessage(const abrivo::Request& request, const abrivo::InvalidText& e) {
  const std::string& text = e.field() == "title" ? request.title : request.article;
  std::uint32_t c = 0;
  if (e.offset() < text.size()) {
    const auto lead = static_cast<unsigned char>(text[e.offset()]);
    const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length && e.offset() + i < text.size(); ++i)
      c = c << 6 | (static_cast<unsigned char>(text[e.offset() + i]) & 0x3F);
  }
  char message[128];
  std::snprintf(message, sizeof message, "%s中的字符U+%04X在浏览器的GB18030中没有编码",
                e.field() == "title" ? "标题" : "正文", static_cast<unsigned>(c));
  return message;
}

}  // namespace

extern "C" {

// Summarises title and article (UTF-8, NUL-terminated) at the length list's
// index length (-1..3). With progress non-zero, each progress text reaches
// Module.onProgress. Returns the result as JSON, valid until the next call:
// the Summary's fields, or {"error": kind, "message": text}.
EMSCRIPTEN_KEEPALIVE const char* abrivo_web_summarise(const char* title, const char* article,
                                                      int length, int progress) {
  static std::string result;
  abrivo::Request request;
  request.title = title;
  request.article = article;
  request.length = length;
  if (progress)
    request.progress = [](std::string_view text) {
      abrivo_web_progress(text.data(), static_cast<int>(text.size()));
    };
  try {
    result = toJson(abrivo::summarise(request));
  } catch (const abrivo::InvalidText& e) {
    result = errorJson("invalid-text", invalidTextMessage(request, e).c_str());
  } catch (const std::exception& e) {
    result = errorJson("invalid-request", e.what());
  }
  return result.c_str();
}

// The page's GB18030 conversions, for the tests that compare them with
// glibc's. encode: the bytes the engine sees for a UTF-8 text, two hex digits
// a byte, or "-" when the text does not convert. decode: UTF-8 of the bytes
// given as hex; strict, "-" when they do not decode, or lenient, as the
// boundary reads the engine's results, U+FFFD for each byte that does not.
EMSCRIPTEN_KEEPALIVE const char* abrivo_web_encode_hex(const char* utf8) {
  static std::string result;
  const auto gb = abrivo::utf8ToGb18030(utf8);
  if (!gb) return "-";
  result.clear();
  for (const char c : *gb) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(c));
    result += hex;
  }
  return result.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* abrivo_web_decode_hex(const char* hex, int lenient) {
  static std::string result;
  const auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  std::string bytes;
  for (const char* p = hex; p[0] && p[1]; p += 2)
    bytes += static_cast<char>(digit(p[0]) << 4 | digit(p[1]));
  if (lenient) {
    result = abrivo::gb18030ToUtf8Lenient(bytes);
  } else {
    const auto utf8 = abrivo::gb18030ToUtf8(bytes);
    result = utf8 ? *utf8 : "-";
  }
  return result.c_str();
}

}  // extern "C"
