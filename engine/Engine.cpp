#include "Engine.h"

#include "terms/ChineseTerms.h"

namespace abrivo {

Engine::Engine()
    : sentenceTable({{"\xBE\xE4"}, {"a"}, {"b"}}),            // 句
      termTable({{"\xB4\xCA"}, {"a"}}),                       // 词
      candidateTable({{"\xB5\xF7\xD5\xFB\xBE\xE4"}, {"a"}}),  // 调整句
      m_chineseTermCounter(&defaultChineseTermCounter()) {}

void Engine::setChineseTermCounter(const ChineseTermCounter* counter) {
  m_chineseTermCounter = counter ? counter : &defaultChineseTermCounter();
}

}  // namespace abrivo
