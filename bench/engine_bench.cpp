// Whole runs of the engine: each iteration makes a fresh engine, sets the
// controls, calls runSummary and drops the engine, as abrivo-cli does for a
// record. Inputs are the built-in samples and generated articles of 100 KiB,
// 1 MiB and 10 MiB. "/reference" runs swap in the direct Chinese term
// counter of the tests, the method the fast one must agree with. It is worse
// than quadratic (half a minute on 100 KiB, about an hour on 1 MiB), so it
// runs on the Chinese samples and 100 KiB only. One more run has a headline
// of 1 MiB.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>

#include "Samples.h"
#include "TextGenerator.h"
#include "abrivo/internal/Engine.h"
#include "abrivo/internal/api/Boundary.h"
#include "abrivo/internal/terms/ChineseTerms.h"
#include "reference/Reference.h"

namespace {

using abrivo::Language;
using abrivo::bench::Article;

const abrivo::reference::DirectChineseTermCounter kDirect;

constexpr std::size_t kKiB = 1024;
constexpr std::size_t kMiB = 1024 * kKiB;

Article sampleArticle(int n) {
  const abrivo::samples::SamplePair pair = abrivo::samples::sample(n);
  return {abrivo::boundary::toEngineText(pair.title, "title"),
          abrivo::boundary::toEngineText(pair.article, "article")};
}

// Generated once per process and only when a benchmark asks for it, so that
// a filtered run does not pay for texts it never reads.
const Article& generatedArticle(Language language, std::size_t bytes) {
  static std::map<std::pair<Language, std::size_t>, Article> cache;
  auto [it, inserted] = cache.try_emplace({language, bytes});
  if (inserted)
    it->second = abrivo::bench::TextGenerator(language, abrivo::bench::kBenchSeed).article(bytes);
  return it->second;
}

void runSummaries(benchmark::State& state, const Article& article,
                  const abrivo::ChineseTermCounter& counter) {
  for (auto _ : state) {
    abrivo::Engine engine;
    engine.setChineseTermCounter(&counter);
    engine.controls.标题框 = article.title;
    engine.controls.内容框 = article.content;
    engine.controls.组合框1 = 1;
    engine.runSummary();
    benchmark::DoNotOptimize(engine.controls.编辑框1.data());
    if (engine.controls.编辑框1.empty()) state.SkipWithError("empty summary");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * article.content.size()));
  state.counters["input_bytes"] = static_cast<double>(article.content.size());
}

const abrivo::ChineseTermCounter& counterFor(bool reference) {
  return reference ? static_cast<const abrivo::ChineseTermCounter&>(kDirect)
                   : abrivo::defaultChineseTermCounter();
}

void registerSample(int n, bool reference) {
  const std::string name = "sample" + std::to_string(n) + (reference ? "/reference" : "/fast");
  benchmark::RegisterBenchmark(name.c_str(), [article = sampleArticle(n),
                                              reference](benchmark::State& state) {
    runSummaries(state, article, counterFor(reference));
  })->Unit(benchmark::kMicrosecond);
}

void registerGenerated(Language language, std::size_t bytes, bool reference) {
  const std::string size =
      bytes >= kMiB ? std::to_string(bytes / kMiB) + "MiB" : std::to_string(bytes / kKiB) + "KiB";
  const std::string name = std::string(language == Language::Chinese ? "zh_" : "en_") + size +
                           (reference ? "/reference" : "/fast");
  benchmark::RegisterBenchmark(name.c_str(), [language, bytes, reference](benchmark::State& state) {
    runSummaries(state, generatedArticle(language, bytes), counterFor(reference));
  })->Unit(benchmark::kMillisecond);
}

// A headline as long as the article (its own text), which headline weighting
// must take in about the time of the rest of the run.
void registerLongHeadline() {
  benchmark::RegisterBenchmark("zh_1MiB_headline_1MiB/fast", [](benchmark::State& state) {
    const Article& article = generatedArticle(Language::Chinese, kMiB);
    runSummaries(state, {article.content, article.content}, abrivo::defaultChineseTermCounter());
  })->Unit(benchmark::kMillisecond);
}

// The reference counter changes only the Chinese term stage, so the
// English sample and texts run the fast way only.
bool registerAll() {
  for (int n = 1; n <= abrivo::samples::kCount; ++n) {
    registerSample(n, false);
    if (abrivo::detectLanguage(sampleArticle(n).content) == Language::Chinese)
      registerSample(n, true);
  }
  for (const Language language : {Language::Chinese, Language::English}) {
    for (const std::size_t bytes : {100 * kKiB, kMiB, 10 * kMiB}) {
      registerGenerated(language, bytes, false);
      if (language == Language::Chinese && bytes == 100 * kKiB)
        registerGenerated(language, bytes, true);
    }
  }
  registerLongHeadline();
  return true;
}

[[maybe_unused]] const bool kRegistered = registerAll();

}  // namespace

BENCHMARK_MAIN();
