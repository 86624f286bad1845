// The summarisation engine: the control state a window shows, the tables the
// stages fill, and the stages themselves as private member functions (run one
// by one through engine/Stages.h). A front end
// owns one Engine per window (or per record), sets the control state, calls
// runSummary and reads the results back:
//
//   abrivo::Engine engine;
//   engine.controls.标题框 = gbkHeadline;
//   engine.controls.内容框 = gbkArticle;   // "\r\n" line breaks
//   engine.controls.组合框1 = 1;           // length list: 0..3, -1 for none
//   engine.runSummary();
//   engine.controls.编辑框1;  // the summary
//   engine.controls.标签2;    // status line, e.g. "原文1124字，摘要298字"
//   engine.controls.标签3;    // keyword line, "关键词： " and three terms
//
// All text is GBK bytes (see text/TextOps.h). The engine never blocks and
// keeps no globals; the front end may set processEventsHook to let its own
// events run while a long stage works.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <abrivo/abrivo.h>

#include "state/CharArray.h"
#include "state/ControlState.h"
#include "state/Table.h"

namespace abrivo {

class ChineseTermCounter;

// The language test: Chinese when the text holds "的", otherwise English when
// it holds an e of either case, otherwise none.
std::optional<Language> detectLanguage(std::string_view text);

// How long the summary may be. The length list (组合框1) applies unless a
// front end chooses another mode; see abrivo::Request for the modes.
struct SummaryLength {
  enum class Mode { List, Chars, Sentences, Ratio };
  Mode mode = Mode::List;
  double value = 0;  // N characters, N sentences or P percent
};

class Engine {
 public:
  Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // --- Program-wide state -------------------------------------------------
  ControlState controls;
  SummaryLength summaryLength;

  // What the stages leave, to read back after a run; the stages alone write
  // it (tests reach it through engine/Stages.h).
  const std::string& workText() const { return m_workText; }
  const CharArray& charArray() const { return m_charArray; }
  const Table& sentenceTable() const { return m_sentenceTable; }    // 句 | a | b
  const Table& termTable() const { return m_termTable; }            // 词 | a
  const Table& candidateTable() const { return m_candidateTable; }  // 调整句 | a

  // Set by a front end to dispatch its pending events; called often during
  // the term stages. Empty by default.
  std::function<void()> processEventsHook;
  void processEvents() const {
    if (processEventsHook) processEventsHook();
  }

  // The counting method of the Chinese term stage; the engine's own by
  // default. The counter must outlive the engine.
  void setChineseTermCounter(const ChineseTermCounter* counter);

  // --- The start button ---------------------------------------------------
  // One complete run on the text of 内容框. A call made while a run is in
  // progress (from an event dispatched by processEvents) is ignored, so two
  // runs never share workText and the tables.
  void runSummary();
  bool isRunning() const { return m_running; }

 private:
  friend class Stages;

  // --- Stages, in the order of a run --------------------------------------
  void normaliseChinese();
  void normaliseEnglish();
  void buildSentenceTable();
  void cleanSentences(Language language);
  void rebuildWorkText();
  void prepareChineseTermText();
  void prepareEnglishTermText();
  void extractChineseTerms();
  void extractEnglishTerms();
  void sortTermTable();
  void weightTitleTerms();
  void selectChineseSummary();
  void selectEnglishSummary();

  void writeStatusLine(Language language);
  void selectSummary(Language language);

  std::string m_workText;
  CharArray m_charArray;
  Table m_sentenceTable;   // 超级列表框2
  Table m_termTable;       // 超级列表框3
  Table m_candidateTable;  // 超级列表框1
  const ChineseTermCounter* m_chineseTermCounter;
  bool m_running = false;
};

}  // namespace abrivo
