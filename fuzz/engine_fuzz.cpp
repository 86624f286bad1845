// A whole engine run on arbitrary bytes as headline and article.
//
// Input: a control byte, a headline length byte, the headline, then the
// article. The control byte picks the length list index (-1 to 3) and may put
// "的" or "e" in front of the article, so that every mutation of an article
// runs on both language paths.
//
// Checked on every input: no sanitizer report; no summary without a
// language; a summary at most twice the article (normalisation at most
// doubles a character); a second run on the same engine gives the same
// results; a run started from processEvents is ignored. When the article is
// valid GB18030, as every front end delivers it, the summary, every sentence,
// every term and the keyword line are valid GB18030 too: no character was
// split.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "abrivo/internal/Engine.h"
#include "abrivo/internal/text/Encoding.h"

namespace {

struct Results {
  std::string summary, status, keywords;
  std::vector<std::string> sentences, terms;
  bool operator==(const Results&) const = default;
};

std::vector<std::string> cells(const abrivo::Table& table) {
  std::vector<std::string> all;
  for (int r = 0; r < table.rowCount(); ++r) {
    for (std::size_t c = 0; c < table.columns().size(); ++c)
      all.push_back(table.cell(r, static_cast<int>(c)));
  }
  return all;
}

Results run(abrivo::Engine& engine) {
  engine.runSummary();
  return {engine.controls.编辑框1, engine.controls.标签2, engine.controls.标签3,
          cells(engine.sentenceTable()), cells(engine.termTable())};
}

void fail(const char* what) {
  std::fprintf(stderr, "engine_fuzz: %s\n", what);
  std::abort();
}

bool validGb18030(std::string_view text) {
  return abrivo::gb18030ToUtf8(text).has_value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const unsigned control = data[0];
  const std::size_t titleLength = std::min<std::size_t>(data[1], size - 2);
  const std::string_view title = input.substr(2, titleLength);
  std::string article(input.substr(2 + titleLength));
  switch (control / 5 % 3) {
    case 1:
      article.insert(0, "\xB5\xC4");  // 的
      break;
    case 2:
      article.insert(0, "e");
      break;
  }

  abrivo::Engine engine;
  engine.controls.标题框 = std::string(title);
  engine.controls.内容框 = article;
  engine.controls.组合框1 = static_cast<int>(control % 5) - 1;
  engine.processEventsHook = [&engine] { engine.runSummary(); };
  const Results first = run(engine);

  if (!abrivo::detectLanguage(article) && !first.summary.empty())
    fail("a summary of a text without a language");
  if (first.summary.size() > 2 * article.size()) fail("the summary outgrew the article");
  if (validGb18030(article)) {
    if (!validGb18030(first.summary)) fail("a character of the summary was split");
    for (const std::string& cell : first.sentences)
      if (!validGb18030(cell)) fail("a character of a sentence was split");
    for (const std::string& cell : first.terms)
      if (!validGb18030(cell)) fail("a character of a term was split");
    if (!validGb18030(first.keywords)) fail("a character of the keyword line was split");
  }
  if (!(run(engine) == first)) fail("a second run on the same engine differs");
  return 0;
}
