// The stage-level engine: each stage of a run on its own, and write access
// to the state the stages share. Tests use it to set up one stage's input and
// run that stage alone; front ends run whole runs (Engine::runSummary).
//
//   Engine engine;
//   Stages(engine).workText() = gbkText;
//   Stages(engine).normaliseChinese();
//   engine.workText();  // what the stage left
#pragma once

#include <string>

#include "Engine.h"

namespace abrivo {

class Stages {
 public:
  explicit Stages(Engine& engine) : m_engine(engine) {}

  std::string& workText() { return m_engine.m_workText; }
  Table& sentenceTable() { return m_engine.m_sentenceTable; }
  Table& termTable() { return m_engine.m_termTable; }
  Table& candidateTable() { return m_engine.m_candidateTable; }

  // In the order of a run.
  void normaliseChinese() { m_engine.normaliseChinese(); }
  void normaliseEnglish() { m_engine.normaliseEnglish(); }
  void buildSentenceTable() { m_engine.buildSentenceTable(); }
  void cleanSentences(Language language) { m_engine.cleanSentences(language); }
  void rebuildWorkText() { m_engine.rebuildWorkText(); }
  void prepareChineseTermText() { m_engine.prepareChineseTermText(); }
  void prepareEnglishTermText() { m_engine.prepareEnglishTermText(); }
  void extractChineseTerms() { m_engine.extractChineseTerms(); }
  void extractEnglishTerms() { m_engine.extractEnglishTerms(); }
  void sortTermTable() { m_engine.sortTermTable(); }
  void weightTitleTerms() { m_engine.weightTitleTerms(); }
  void selectChineseSummary() { m_engine.selectChineseSummary(); }
  void selectEnglishSummary() { m_engine.selectEnglishSummary(); }

 private:
  Engine& m_engine;
};

}  // namespace abrivo
