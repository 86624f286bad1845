// The public API, abrivo::summarise: bad UTF-8, cancellation and progress,
// the length modes and how they relate to the length list, the consistency
// of the typed results, and calls from several threads at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <abrivo/abrivo.h>

#include "Samples.h"
#include "abrivo/internal/api/Boundary.h"

namespace abrivo {
namespace {

struct Case {
  std::string id;
  Request request;
};

// The conformance cases as requests, loaded once.
const std::vector<Case>& conformanceCases() {
  static const std::vector<Case> cases = [] {
    std::vector<Case> all;
    std::ifstream in(ABRIVO_CONFORMANCE_FILE);
    for (std::string line; std::getline(in, line);) {
      if (line.empty()) continue;
      const nlohmann::json record = nlohmann::json::parse(line);
      Case c;
      c.id = record.at("id").get<std::string>();
      c.request.title = record.at("title").get<std::string>();
      c.request.article = record.at("content").get<std::string>();
      c.request.length = record.at("length").get<int>();
      all.push_back(std::move(c));
    }
    return all;
  }();
  return cases;
}

Request sampleRequest(int n) {
  const samples::SamplePair pair = samples::sample(n);
  Request request;
  request.title = std::string(pair.title);
  request.article = std::string(pair.article);
  return request;
}

// Everything a caller can read from a Summary, as one comparable value.
struct Flat {
  std::optional<Language> language;
  std::string summary, keywordLine, status;
  std::vector<std::string> keywords;
  std::int64_t articleSize, summarySize;
  std::vector<std::pair<std::string, std::int64_t>> terms;
  std::vector<std::tuple<std::string, int, int, bool>> sentences;
  bool operator==(const Flat&) const = default;
};

Flat flat(const Summary& s) {
  Flat f{s.language, s.summary, s.keywordLine, s.status, s.keywords, s.articleSize, s.summarySize,
         {},         {}};
  for (const Term& t : s.terms) f.terms.emplace_back(t.term, t.weight);
  for (const Sentence& x : s.sentences)
    f.sentences.emplace_back(x.text, x.rank, x.position, x.selected);
  return f;
}

int selectedCount(const Summary& s) {
  return static_cast<int>(std::count_if(s.sentences.begin(), s.sentences.end(),
                                        [](const Sentence& x) { return x.selected; }));
}

// --- Bad UTF-8 -------------------------------------------------------------

TEST(ApiInvalidText, NamesTheFieldAndTheOffsetOfTheFirstBadByte) {
  struct Bad {
    const char* name;
    std::string text;
    std::size_t offset;
  };
  const std::vector<Bad> table = {
      {"lone lead byte", "ab\xC3(", 2},         {"byte FF", "\xFF", 0},
      {"stray continuation byte", "a\x80z", 1}, {"truncated at the end", "abc\xE4\xB8", 3},
      {"overlong slash", "x\xC0\xAF", 1},       {"overlong three bytes", "\xE0\x80\xAF", 0},
      {"surrogate", "ok \xED\xA0\x80", 3},      {"above U+10FFFF", "\xF4\x90\x80\x80", 0},
      {"after Chinese text", "中文\xFE的", 6},  {"after four-byte character", "😀\xC3", 4},
  };
  for (const Bad& bad : table) {
    for (const char* field : {"title", "article"}) {
      Request request;
      request.title = "标题";
      request.article = "正文的内容。";
      (std::string(field) == "title" ? request.title : request.article) = bad.text;
      try {
        summarise(request);
        ADD_FAILURE() << bad.name << " in the " << field << " was accepted";
      } catch (const InvalidText& e) {
        EXPECT_EQ(e.field(), field) << bad.name;
        EXPECT_EQ(e.offset(), bad.offset) << bad.name << " in the " << field;
        const std::string what = e.what();
        EXPECT_NE(what.find(field), std::string::npos) << what;
        EXPECT_NE(what.find(std::to_string(bad.offset)), std::string::npos) << what;
      }
    }
  }
}

TEST(ApiInvalidText, BadTitleIsReportedBeforeBadArticle) {
  Request request;
  request.title = "t\xFF";
  request.article = "\xFF";
  try {
    summarise(request);
    FAIL() << "accepted";
  } catch (const InvalidText& e) {
    EXPECT_EQ(e.field(), "title");
    EXPECT_EQ(e.offset(), 1u);
  }
}

TEST(ApiInvalidText, IsAnInvalidArgument) {
  Request request;
  request.article = "\xFF";
  EXPECT_THROW(summarise(request), std::invalid_argument);
}

// --- Progress and cancellation --------------------------------------------

// Sample 2 ten times over: a run long enough to pass many event points.
Request longChineseRequest() {
  Request request = sampleRequest(2);
  const std::string paragraph = request.article;
  for (int i = 1; i < 10; ++i) request.article += "\n" + paragraph;
  return request;
}

TEST(ApiProgress, ChineseRunReportsRisingPercentagesUpTo100) {
  Request request = sampleRequest(1);
  std::vector<std::string> texts;
  request.progress = [&](std::string_view text) { texts.emplace_back(text); };
  const Summary summary = summarise(request);
  ASSERT_GE(texts.size(), 2u);
  int previous = -1;
  for (const std::string& text : texts) {
    ASSERT_TRUE(text.size() >= 2 && text.back() == '%') << text;
    const int percent = std::stoi(text);
    EXPECT_GT(percent, previous) << "each text is new and later than the one before";
    previous = percent;
  }
  EXPECT_EQ(texts.back(), "100%");
  EXPECT_EQ(summary.status.rfind("原文", 0), 0u) << "the status line replaces the progress";
}

TEST(ApiProgress, EnglishRunShowsNoProgress) {
  // Its one progress text comes after the last event point, so the window
  // never shows it either.
  Request request = sampleRequest(3);
  std::vector<std::string> texts;
  request.progress = [&](std::string_view text) { texts.emplace_back(text); };
  summarise(request);
  EXPECT_TRUE(texts.empty()) << texts.front();
}

TEST(ApiProgress, CallbacksThatDoNotCancelLeaveTheResultsAlone) {
  for (int n = 1; n <= samples::kCount; ++n) {
    Request request = sampleRequest(n);
    const Flat plain = flat(summarise(request));
    int checks = 0;
    request.progress = [](std::string_view) {};
    request.cancelled = [&] { return ++checks < 0; };
    EXPECT_EQ(flat(summarise(request)), plain) << "sample " << n;
    EXPECT_GT(checks, 0) << "sample " << n;
  }
}

TEST(ApiCancel, CancelAfterTheFirstProgressEndsTheRunAtTheNextCheck) {
  Request request = longChineseRequest();
  bool stop = false;
  int progressCalls = 0, checksAfterStop = 0;
  request.progress = [&](std::string_view) {
    ++progressCalls;
    stop = true;
  };
  request.cancelled = [&] {
    if (stop) ++checksAfterStop;
    return stop;
  };
  EXPECT_THROW(summarise(request), Cancelled);
  EXPECT_EQ(progressCalls, 1) << "no progress after the cancellation";
  EXPECT_EQ(checksAfterStop, 1) << "the first check that says so ends the run";
}

TEST(ApiCancel, EveryCheckPointCanEndTheRun) {
  // A run that is cancelled at its k-th check stops there, whichever k, in
  // both languages, up to a cancellation after the last event point.
  for (int n : {1, 3}) {
    Request request = sampleRequest(n);
    int total = 0;
    request.cancelled = [&] { return ++total < 0; };
    summarise(request);
    ASSERT_GE(total, 2) << "sample " << n;
    for (int k = 1; k <= total; ++k) {
      int calls = 0;
      request.cancelled = [&] { return ++calls == k; };
      EXPECT_THROW(summarise(request), Cancelled) << "sample " << n << ", check " << k;
      EXPECT_EQ(calls, k) << "sample " << n << ", check " << k;
    }
  }
}

TEST(ApiCancel, CancelledFromTheStartGivesNoProgress) {
  Request request = longChineseRequest();
  int progressCalls = 0;
  request.progress = [&](std::string_view) { ++progressCalls; };
  request.cancelled = [] { return true; };
  EXPECT_THROW(summarise(request), Cancelled);
  EXPECT_EQ(progressCalls, 0);
}

TEST(ApiCancel, ARequestCanRunAgainAfterACancelledRun) {
  Request request = sampleRequest(1);
  const Flat plain = flat(summarise(request));
  bool stop = true;
  request.cancelled = [&] { return stop; };
  EXPECT_THROW(summarise(request), Cancelled);
  stop = false;
  EXPECT_EQ(flat(summarise(request)), plain);
}

// --- Length modes ----------------------------------------------------------

TEST(ApiLength, ValuesOutOfRangeAndTwoModesAreRejected) {
  struct Bad {
    const char* name;
    void (*set)(Request&);
  };
  const Bad table[] = {
      {"length and chars", [](Request& r) { r.length = 1, r.chars = 250; }},
      {"length -1 and sentences", [](Request& r) { r.length = -1, r.sentences = 2; }},
      {"chars and sentences", [](Request& r) { r.chars = 200, r.sentences = 2; }},
      {"sentences and ratio", [](Request& r) { r.sentences = 2, r.ratio = 10; }},
      {"chars 0", [](Request& r) { r.chars = 0; }},
      {"chars -5", [](Request& r) { r.chars = -5; }},
      {"sentences 0", [](Request& r) { r.sentences = 0; }},
      {"ratio 0", [](Request& r) { r.ratio = 0; }},
      {"ratio -1", [](Request& r) { r.ratio = -1; }},
      {"ratio 100.5", [](Request& r) { r.ratio = 100.5; }},
      {"ratio NaN", [](Request& r) { r.ratio = std::nan(""); }},
      {"length 4", [](Request& r) { r.length = 4; }},
      {"length -2", [](Request& r) { r.length = -2; }},
  };
  for (const Bad& bad : table) {
    Request request = sampleRequest(1);
    bad.set(request);
    EXPECT_THROW(summarise(request), std::invalid_argument) << bad.name;
  }
}

TEST(ApiLength, ValuesAtTheEdgesAreAccepted) {
  const std::vector<void (*)(Request&)> table = {
      [](Request& r) { r.length = -1; }, [](Request& r) { r.length = 3; },
      [](Request& r) { r.chars = 1; },   [](Request& r) { r.sentences = 1; },
      [](Request& r) { r.ratio = 100; }, [](Request& r) { r.ratio = 0.01; },
  };
  for (std::size_t i = 0; i < table.size(); ++i) {
    Request request = sampleRequest(3);
    table[i](request);
    EXPECT_NO_THROW(summarise(request)) << "row " << i;
  }
}

TEST(ApiLength, CharsOfTheListGiveWhatTheListGives) {
  for (const Case& c : conformanceCases()) {
    for (int index = 0; index <= 3; ++index) {
      Request list = c.request;
      list.length = index;
      Request chars = c.request;
      chars.length = 0;
      chars.chars = 200 + 100 * index;
      EXPECT_EQ(flat(summarise(chars)), flat(summarise(list)))
          << c.id << ": chars " << *chars.chars << " against length " << index;
    }
  }
}

TEST(ApiLength, SentencesKeepsThatManyOrAll) {
  for (const Case& c : conformanceCases()) {
    for (const int n : {1, 2, 3, 7, 1000}) {
      Request request = c.request;
      request.length = 0;
      request.sentences = n;
      const Summary s = summarise(request);
      const int expected = s.language ? std::min<int>(n, static_cast<int>(s.sentences.size())) : 0;
      EXPECT_EQ(selectedCount(s), expected) << c.id << ": sentences " << n;
    }
  }
}

TEST(ApiLength, RatioStaysWithinItsShareOrKeepsOneSentence) {
  for (const Case& c : conformanceCases()) {
    for (const double percent : {1.0, 10.0, 33.3, 50.0, 100.0}) {
      Request request = c.request;
      request.length = 0;
      request.ratio = percent;
      const Summary s = summarise(request);
      if (!s.language || s.sentences.empty()) continue;
      const bool withinShare =
          static_cast<double>(s.summarySize) <= percent / 100 * static_cast<double>(s.articleSize);
      EXPECT_TRUE(withinShare || selectedCount(s) == 1)
          << c.id << ": ratio " << percent << " gave " << s.summarySize << " of " << s.articleSize
          << " in " << selectedCount(s) << " sentences";
      EXPECT_GE(selectedCount(s), 1) << c.id << ": ratio " << percent;
    }
  }
}

// --- The typed results -----------------------------------------------------

// The checks that tie the fields of one Summary together.
void expectConsistent(const Summary& s, const std::string& name) {
  SCOPED_TRACE(name);
  if (!s.language) {
    EXPECT_TRUE(s.summary.empty());
    EXPECT_EQ(selectedCount(s), 0);
    return;
  }
  // The status line is made of the two sizes.
  EXPECT_EQ(s.status, "原文" + std::to_string(s.articleSize) + "字，摘要" +
                          std::to_string(s.summarySize) + "字");
  // The summary size counts what the summary holds: characters of Chinese
  // (two engine bytes each), bytes of English, line breaks as two.
  const std::size_t bytes = boundary::toEngineText(s.summary, "summary").size();
  EXPECT_EQ(s.summarySize,
            static_cast<std::int64_t>(*s.language == Language::Chinese ? bytes / 2 : bytes));

  // The keyword line is the prefix and each keyword followed by a space;
  // every keyword is a term.
  ASSERT_LE(s.keywords.size(), 3u);
  std::string line = "关键词： ";
  for (const std::string& k : s.keywords) {
    line += k + " ";
    EXPECT_TRUE(
        std::any_of(s.terms.begin(), s.terms.end(), [&](const Term& t) { return t.term == k; }))
        << "keyword " << k << " is not a term";
  }
  // Rows without a term add spaces of their own.
  EXPECT_EQ(s.keywordLine.rfind(line, 0), 0u) << s.keywordLine;
  EXPECT_EQ(s.keywordLine.find_first_not_of(' ', line.size()), std::string::npos) << s.keywordLine;

  // Ranks are 1..n in order, positions a permutation of 0..n-1, and the
  // selected rows are the best ones: a prefix of the ranking, non-empty
  // exactly when the summary is.
  const int n = static_cast<int>(s.sentences.size());
  std::set<int> positions;
  for (int i = 0; i < n; ++i) {
    EXPECT_EQ(s.sentences[static_cast<std::size_t>(i)].rank, i + 1);
    positions.insert(s.sentences[static_cast<std::size_t>(i)].position);
    if (i > 0 && s.sentences[static_cast<std::size_t>(i)].selected) {
      EXPECT_TRUE(s.sentences[static_cast<std::size_t>(i) - 1].selected) << "rank " << i + 1;
    }
  }
  if (n > 0) {
    EXPECT_EQ(static_cast<int>(positions.size()), n);
    EXPECT_EQ(*positions.begin(), 0);
    EXPECT_EQ(*positions.rbegin(), n - 1);
  }
  EXPECT_EQ(selectedCount(s) > 0, !s.summary.empty());
  for (const Sentence& x : s.sentences) EXPECT_EQ(x.text.find('\r'), std::string::npos);
  for (const Term& t : s.terms) EXPECT_GT(t.weight, 0) << t.term;
}

TEST(ApiResults, FieldsAgreeWithEachOtherInEveryMode) {
  for (int n = 1; n <= samples::kCount; ++n) {
    Request request = sampleRequest(n);
    for (int length = -1; length <= 3; ++length) {
      request.length = length;
      expectConsistent(summarise(request), "sample " + std::to_string(n));
    }
  }
  for (const Case& c : conformanceCases()) {
    expectConsistent(summarise(c.request), c.id);
    Request request = c.request;
    request.length = 0;
    request.sentences = 2;
    expectConsistent(summarise(request), c.id + " sentences 2");
    request.sentences.reset();
    request.ratio = 20;
    expectConsistent(summarise(request), c.id + " ratio 20");
  }
}

TEST(ApiResults, LanguageAndEmptyText) {
  Request request;
  EXPECT_FALSE(summarise(request).language);
  request.article = "123 456 789";
  const Summary none = summarise(request);
  EXPECT_FALSE(none.language);
  EXPECT_TRUE(none.summary.empty());
  EXPECT_TRUE(none.keywords.empty());
  EXPECT_EQ(summarise(sampleRequest(1)).language, Language::Chinese);
  EXPECT_EQ(summarise(sampleRequest(3)).language, Language::English);
}

TEST(ApiResults, LineBreaksOfAnyKindAndNulGiveTheSameResult) {
  Request lf = sampleRequest(1);
  Request crlf = lf, cr = lf, nul = lf;
  crlf.article.clear();
  cr.article.clear();
  nul.article.clear();
  for (const char ch : lf.article) {
    crlf.article += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    cr.article += ch == '\n' ? '\r' : ch;
    nul.article += ch;
    if (ch == '\n') nul.article += '\0';
  }
  const Flat expected = flat(summarise(lf));
  EXPECT_EQ(flat(summarise(crlf)), expected);
  EXPECT_EQ(flat(summarise(cr)), expected);
  EXPECT_EQ(flat(summarise(nul)), expected);
}

TEST(ApiResults, VersionIsTheProjectVersion) {
  EXPECT_EQ(version(), ABRIVO_PROJECT_VERSION);
}

// --- Threads ---------------------------------------------------------------

TEST(ApiThreads, ConcurrentCallsGiveTheResultsOfSingleCalls) {
  std::vector<Request> requests;
  for (int n = 1; n <= samples::kCount; ++n) requests.push_back(sampleRequest(n));
  const std::vector<Case>& cases = conformanceCases();
  for (std::size_t i = 0; i < cases.size(); i += 7) requests.push_back(cases[i].request);
  std::vector<Flat> expected;
  for (const Request& r : requests) expected.push_back(flat(summarise(r)));

  constexpr int kThreads = 4;
  std::vector<std::vector<Flat>> results(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // Each thread starts at another request, so different texts overlap.
      for (std::size_t k = 0; k < requests.size(); ++k) {
        const std::size_t i = (k + static_cast<std::size_t>(t) * 3) % requests.size();
        Request request = requests[i];
        int progress = 0;
        request.progress = [&](std::string_view) { ++progress; };
        results[static_cast<std::size_t>(t)].push_back(flat(summarise(request)));
      }
    });
  }
  for (std::thread& t : threads) t.join();
  for (int t = 0; t < kThreads; ++t) {
    for (std::size_t k = 0; k < requests.size(); ++k) {
      const std::size_t i = (k + static_cast<std::size_t>(t) * 3) % requests.size();
      EXPECT_TRUE(results[static_cast<std::size_t>(t)][k] == expected[i])
          << "thread " << t << ", request " << i;
    }
  }
}

}  // namespace
}  // namespace abrivo
