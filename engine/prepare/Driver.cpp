// The start button: the language test, the stages of each path in order, the
// hand-over of workText and the status line.
//
// Tested by tests/driver_test.cpp.
#include <utility>

#include "Engine.h"
#include "text/Gbk.h"
#include "text/TextOps.h"

namespace abrivo {

namespace {

// Keeps the running flag set for exactly the span of one run.
class RunGuard {
 public:
  explicit RunGuard(bool& flag) : m_flag(flag) { m_flag = true; }
  ~RunGuard() { m_flag = false; }
  RunGuard(const RunGuard&) = delete;
  RunGuard& operator=(const RunGuard&) = delete;

 private:
  bool& m_flag;
};

}  // namespace

std::optional<Language> detectLanguage(std::string_view text) {
  if (findText(text, gbk::kDe) != -1) return Language::Chinese;
  if (findText(text, "e") != -1) return Language::English;
  return std::nullopt;
}

void Engine::runSummary() {
  if (m_running) return;
  RunGuard guard(m_running);

  m_workText = controls.内容框;
  controls.编辑框1.clear();
  const std::optional<Language> language = detectLanguage(m_workText);
  if (!language) return;

  if (*language == Language::Chinese) {
    normaliseChinese();
    buildSentenceTable();
    cleanSentences(Language::Chinese);
    rebuildWorkText();
    prepareChineseTermText();
    extractChineseTerms();
    weightTitleTerms();
    selectChineseSummary();
  } else {
    normaliseEnglish();
    buildSentenceTable();
    cleanSentences(Language::English);
    rebuildWorkText();
    prepareEnglishTermText();
    extractEnglishTerms();
    weightTitleTerms();
    selectEnglishSummary();
  }
  writeStatusLine(*language);
}

void Engine::rebuildWorkText() {
  m_workText.clear();
  const int rows = m_sentenceTable.rowCount();
  for (int i = 1; i <= rows; ++i) m_workText += m_sentenceTable.cell(i - 1, 0);
}

void Engine::writeStatusLine(Language language) {
  int n = textLength(controls.内容框);
  int m = textLength(controls.编辑框1);
  if (language == Language::Chinese) {
    n = floorToInt(n / 2.0);
    m = floorToInt(m / 2.0);
  }
  controls.标签2 = std::string(gbk::kStatusOriginal) + toText(n) +
                   std::string(gbk::kStatusSummary) + toText(m) + std::string(gbk::kStatusChars);
}

}  // namespace abrivo
