// The headline as a hint: every term found in the normalised headline weighs
// double.
//
// Tested by tests/select_test.cpp.
#include "Engine.h"
#include "text/Replacements.h"
#include "text/TermSearch.h"
#include "text/TextOps.h"

namespace abrivo {

namespace {

// Punctuation and digits to spaces, 的 to a space except inside 的确, 标的 and
// 目的, and 改革 / 制度 set apart; the same on both language paths.
constexpr std::size_t kShortHeadline = 256;  // bytes

constexpr Replacement kTitleLeadSteps[] = {
    {"\xA3\xAC", " "},  // ， → space
    {"\xA1\xA2", " "},  // 、 → space
    {"\xA1\xAD", " "},  // … → space
};
constexpr Replacement kTitleMiddleSteps[] = {{"\xA1\xAA", " "}};  // — → space
constexpr Replacement kTitleSpaceSteps[] = {
    {"\xA1\xA1 ", " "},  // ideographic space + space → space
    {"  ", " "},         // two spaces → space
    {"  ", " "},         // two spaces → space
};

}  // namespace

void Engine::weightTitleTerms() {
  // workText turns to the headline; the characters of the term text are
  // no longer needed.
  m_workText = controls.标题框;
  m_charArray.clear();
  applyReplacements(m_workText, {kTitleLeadSteps, kPunctuationSteps, kTitleMiddleSteps, kDigitSteps,
                                 kTitleSpaceSteps, kParticleSteps});
  const int rows = m_termTable.rowCount();
  std::vector<std::string_view> terms(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) terms[static_cast<std::size_t>(i)] = m_termTable.cell(i, 0);
  // A short headline is searched for each term in turn, which costs less
  // than building the automaton over all terms; a long one in one pass.
  std::vector<std::uint8_t> found(terms.size());
  if (m_workText.size() <= kShortHeadline) {
    for (std::size_t i = 0; i < terms.size(); ++i) found[i] = findText(m_workText, terms[i]) != -1;
  } else {
    found = findTerms(m_workText, terms, [this] { processEvents(); });
  }
  for (int i = 0; i < rows; ++i) {
    if (!found[static_cast<std::size_t>(i)]) continue;
    const double weight = toNumber(m_termTable.cell(i, 1));
    m_termTable.setCellText(i, 1, toText(weight * 2.0));
  }
  sortTermTable();
}

}  // namespace abrivo
