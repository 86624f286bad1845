// The seam of the Chinese term stage: how it counts and cuts its candidates
// and merges the terms it found. A counting method sees only the term text
// and two hooks, never the engine, so that a plain reference method and the
// fast one run side by side and are compared (tests/term_counting_test.cpp),
// and a further method plugs in without touching the engine:
//
//   class MyCounter final : public abrivo::ChineseTermCounter { ... };
//   const MyCounter counter;
//   engine.setChineseTermCounter(&counter);  // must outlive the engine
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "state/CharArray.h"

namespace abrivo {

// A row of the term table: the term and its weight, as its cell holds it.
struct TermRow {
  std::string term;
  std::string weight;
  friend bool operator==(const TermRow&, const TermRow&) = default;
};

// What the sixteen passes give: the terms in order of insertion, each with
// its count; the term text with every counted occurrence cut to one space;
// the characters of that text.
struct CountedTerms {
  std::vector<TermRow> rows;
  std::string cutText;
  CharArray charArray;
};

// events lets a front end's events run; it may throw to cancel the run.
// progress receives the progress text after each pass ("6%" ... "100%").
struct TermStageHooks {
  std::function<void()> events;
  std::function<void(const std::string&)> progress;
};

class ChineseTermCounter {
 public:
  virtual ~ChineseTermCounter() = default;
  // The sixteen passes over the term text, longest runs first.
  virtual CountedTerms countAndCut(std::string termText, const TermStageHooks& hooks) const = 0;
  // Hands the weight of every term to each other term that it contains and
  // removes the contained term from the container's text.
  virtual void mergeTerms(std::vector<TermRow>& rows, const TermStageHooks& hooks) const = 0;
};

}  // namespace abrivo
