#include "terms/ChineseTerms.h"

namespace abrivo {

namespace {
class DirectCounter final : public ChineseTermCounter {
 public:
  void countAndCut(Engine&) const override {}
  void mergeTerms(Engine&) const override {}
};
}  // namespace

const ChineseTermCounter& defaultChineseTermCounter() {
  static const DirectCounter counter;
  return counter;
}

void Engine::extractChineseTerms() {}

}  // namespace abrivo
