#include "Engine.h"

#include "terms/ChineseTerms.h"

namespace abrivo {

Engine::Engine()
    : m_sentenceTable({{"\xBE\xE4"}, {"a"}, {"b"}}),            // 句
      m_termTable({{"\xB4\xCA"}, {"a"}}),                       // 词
      m_candidateTable({{"\xB5\xF7\xD5\xFB\xBE\xE4"}, {"a"}}),  // 调整句
      m_chineseTermCounter(&defaultChineseTermCounter()) {}

void Engine::setChineseTermCounter(const ChineseTermCounter* counter) {
  m_chineseTermCounter = counter ? counter : &defaultChineseTermCounter();
}

}  // namespace abrivo
