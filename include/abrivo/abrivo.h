// Abrivo: extractive summaries of Chinese and English news texts.
//
// Give it a headline and an article; it picks the article's best sentences
// and returns them in article order within the length you choose, with the
// keywords, the term and sentence tables and the status line the window
// shows. No dictionary, network or settings are needed.
//
// Usage:
//
//   #include <abrivo/abrivo.h>
//
//   abrivo::Request request;
//   request.title = "Headline";           // UTF-8, any line breaks
//   request.article = articleText;        // UTF-8, any line breaks
//   request.length = 1;                   // the length list: -1..3
//   abrivo::Summary s = abrivo::summarise(request);
//   std::cout << s.summary << '\n' << s.status << '\n';
//
// Lengths. Exactly one length mode applies to a request:
//
//   request.length = 2;        // the list: 200, 300, 400 or 500 characters
//   request.chars = 250;       // at most 250 Chinese characters (500 bytes of English)
//   request.sentences = 3;     // the three best sentences, in text order
//   request.ratio = 10;        // at most 10 % of the article's size
//
// chars 200, 300, 400 and 500 give exactly what the list's four items give.
// Every mode keeps at least one sentence when the article has any. Setting
// more than one mode, or a value out of range, throws std::invalid_argument.
//
// Results. Summary holds the summary text, up to three keywords, the
// keyword line and status line exactly as the window writes them, the two
// sizes of the status line, and the term and sentence tables:
//
//   if (!s.language) { /* neither Chinese nor English: nothing to summarise */ }
//   for (const abrivo::Term& t : s.terms) use(t.term, t.weight);
//   for (const abrivo::Sentence& x : s.sentences)   // best first
//     if (x.selected) use(x.text, x.rank, x.position);
//
// Errors. Text that is not valid UTF-8 throws abrivo::InvalidText, which
// names the field and the byte offset of the first bad byte. Nothing is
// ever silently replaced. A NUL byte is dropped, as a text box drops it.
//
// Progress and cancellation. A long article takes a while (about 90 ms a
// megabyte). request.progress receives the progress texts the status line
// shows during a run (a Chinese run reports its term passes, "6%" to "100%";
// an English run shows none). request.cancelled is asked at the same points
// and once more at the end; the first check that returns true stops the run
// by throwing abrivo::Cancelled, and a cancelled run never returns results:
//
//   std::atomic<bool> stop{false};
//   request.progress = [](std::string_view text) { showStatus(text); };
//   request.cancelled = [&] { return stop.load(); };
//   try { s = abrivo::summarise(request); } catch (const abrivo::Cancelled&) {}
//
// Threads. summarise keeps no shared state: any number of threads may call
// it at once. The callbacks run on the calling thread.
//
// Building. The header needs C++17 or later. Link with the CMake target
// Abrivo::abrivo (find_package(Abrivo 1.2)) or with
// `pkg-config --cflags --libs abrivo`; both give libabrivo.so.1.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Marks what libabrivo.so exports; everything else in it is hidden.
#if defined(__GNUC__)
#define ABRIVO_API __attribute__((visibility("default")))
#else
#define ABRIVO_API
#endif

namespace abrivo {

enum class Language { Chinese, English };

struct Request {
  std::string title;    // UTF-8
  std::string article;  // UTF-8

  // The length list's index: 0..3 for 200, 300, 400 or 500 characters, -1
  // for none selected (300 characters of Chinese, 200 of English).
  int length = 0;
  // Other length modes; at most one may be set, and then length stays 0.
  std::optional<int> chars;      // N >= 1: at most N Chinese characters or 2N bytes of English
  std::optional<int> sentences;  // N >= 1: the N best sentences
  std::optional<double> ratio;   // 0 < P <= 100: at most P % of the article's size

  // Called with each progress text (UTF-8) during a run; may be empty.
  std::function<void(std::string_view)> progress;
  // Asked often during a run; returning true cancels it. May be empty.
  std::function<bool()> cancelled;
};

struct Term {
  std::string term;     // UTF-8
  std::int64_t weight;  // occurrences; doubled when the headline holds the term
};

struct Sentence {
  std::string text;  // UTF-8, as the sentence table holds it
  int rank;          // 1 for the best sentence
  int position;      // 0 for the first sentence of the article
  bool selected;     // part of the summary
};

struct Summary {
  std::optional<Language> language;   // nullopt: neither Chinese nor English
  std::string summary;                // UTF-8, "\n" line breaks
  std::vector<std::string> keywords;  // up to three terms, heaviest first
  std::string keywordLine;            // "关键词： " and the keywords
  std::string status;                 // "原文1133字，摘要177字"
  std::int64_t articleSize = 0;       // the two numbers of the status line:
  std::int64_t summarySize = 0;       // characters of Chinese, bytes of English
  std::vector<Term> terms;            // in table order
  std::vector<Sentence> sentences;    // in rank order
};

// Text of a request that is not valid UTF-8.
class ABRIVO_API InvalidText : public std::invalid_argument {
 public:
  InvalidText(std::string field, std::size_t offset);
  const std::string& field() const { return m_field; }  // "title" or "article"
  std::size_t offset() const { return m_offset; }       // byte offset of the first bad byte

 private:
  std::string m_field;
  std::size_t m_offset;
};

// Thrown by summarise when request.cancelled returned true.
class ABRIVO_API Cancelled : public std::runtime_error {
 public:
  Cancelled();
};

// One run on a fresh engine. Throws InvalidText, Cancelled, or
// std::invalid_argument for a length out of range or two length modes.
ABRIVO_API Summary summarise(const Request& request);

// The library's version, "1.2.0".
ABRIVO_API std::string_view version();

}  // namespace abrivo
