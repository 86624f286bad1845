// A Chinese term counter that, instead of counting, hands a run to the test
// at the point where the term stage lets the window's events run.
#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <utility>

#include "abrivo/internal/Engine.h"
#include "abrivo/internal/terms/ChineseTermCounter.h"

namespace abrivo::testing {

class PausingCounter final : public ChineseTermCounter {
 public:
  PausingCounter(Engine& engine, std::function<void(Engine&)> pause)
      : m_engine(engine), m_pause(std::move(pause)) {}

  CountedTerms countAndCut(std::string termText, const TermStageHooks&) const override {
    ++m_calls;
    m_pause(m_engine);
    return {{}, std::move(termText), {}};
  }
  void mergeTerms(std::vector<TermRow>&, const TermStageHooks&) const override {}

  int calls() const { return m_calls; }

 private:
  Engine& m_engine;
  std::function<void(Engine&)> m_pause;
  mutable int m_calls = 0;
};

// Lets the engine dispatch events, as a term stage does, until done() holds
// or the time is up; true when done() held.
inline bool spinUntil(Engine& engine, const std::function<bool()>& done, int timeoutMs = 10000) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    engine.processEvents();
  }
  return true;
}

// Posts action as an event and lets the engine dispatch events until it has
// run; true when it ran.
inline bool runAsPendingEvent(Engine& engine, const std::function<void()>& action) {
  bool ran = false;
  QObject context;  // cancels the call if it has not run by the deadline
  QTimer::singleShot(0, &context, [&] {
    action();
    ran = true;
  });
  return spinUntil(engine, [&] { return ran; });
}

}  // namespace abrivo::testing
