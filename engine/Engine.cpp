#include "Engine.h"

#include "terms/ChineseTerms.h"

namespace abrivo {

Engine::Engine()
    : sentenceTable({{"\xBE\xE4", 400}, {"a", 50}, {"b", 50}}),        // 句
      termTable({{"\xB4\xCA", 100}, {"a", 50}}),                       // 词
      candidateTable({{"\xB5\xF7\xD5\xFB\xBE\xE4", 100}, {"a", 50}}),  // 调整句
      m_chineseTermCounter(&defaultChineseTermCounter()) {}

void Engine::setChineseTermCounter(const ChineseTermCounter* counter) {
  m_chineseTermCounter = counter ? counter : &defaultChineseTermCounter();
}

}  // namespace abrivo
