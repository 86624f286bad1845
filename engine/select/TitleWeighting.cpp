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
constexpr Replacement kTitleSteps[] = {
    {"\xA3\xAC", " "},                           // ， → space
    {"\xA1\xA2", " "},                           // 、 → space
    {"\xA1\xAD", " "},                           // … → space
    {"\xA1\xB0", " "},                           // “ → space
    {"\xA1\xB1", " "},                           // ” → space
    {"\xA3\xBA", " "},                           // ： → space
    {"\xA3\xA1", " "},                           // ！ → space
    {"\xA1\xAE", " "},                           // ‘ → space
    {"\xA1\xAF", " "},                           // ’ → space
    {"\xA3\xA8", " "},                           // （ → space
    {"\xA3\xA9", " "},                           // ） → space
    {"\xA3\xBB", " "},                           // ； → space
    {"\xA3\xBF", " "},                           // ？ → space
    {",", " "},                                  // , → space
    {"\xA1\xAA", " "},                           // — → space
    {"0", " "},                                  // 0 → space
    {"1", " "},                                  // 1 → space
    {"2", " "},                                  // 2 → space
    {"3", " "},                                  // 3 → space
    {"4", " "},                                  // 4 → space
    {"5", " "},                                  // 5 → space
    {"6", " "},                                  // 6 → space
    {"7", " "},                                  // 7 → space
    {"8", " "},                                  // 8 → space
    {"9", " "},                                  // 9 → space
    {"\xA1\xA1 ", " "},                          // ideographic space + space → space
    {"  ", " "},                                 // two spaces → space
    {"  ", " "},                                 // two spaces → space
    {"\xB5\xC4", "\xA1\xFE"},                    // 的 → 〓
    {"\xA1\xFE\xC8\xB7", "\xB5\xC4\xC8\xB7"},    // 〓确 → 的确
    {"\xB1\xEA\xA1\xFE", "\xB1\xEA\xB5\xC4"},    // 标〓 → 标的
    {"\xC4\xBF\xA1\xFE", "\xC4\xBF\xB5\xC4"},    // 目〓 → 目的
    {"\xA1\xFE", " "},                           // 〓 → space
    {"\xB8\xC4\xB8\xEF", " \xB8\xC4\xB8\xEF "},  // 改革 → " 改革 "
    {"\xD6\xC6\xB6\xC8", " \xD6\xC6\xB6\xC8 "},  // 制度 → " 制度 "
};

}  // namespace

void Engine::weightTitleTerms() {
  // workText turns to the headline; the characters of the term text are
  // no longer needed.
  workText = controls.标题框;
  charArray.clear();
  applyReplacements(workText, kTitleSteps);
  const int rows = termTable.rowCount();
  std::vector<std::string_view> terms(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) terms[static_cast<std::size_t>(i)] = termTable.cell(i, 0);
  const std::vector<std::uint8_t> found = findTerms(workText, terms, [this] { processEvents(); });
  for (int i = 0; i < rows; ++i) {
    if (!found[static_cast<std::size_t>(i)]) continue;
    const double weight = toNumber(termTable.cell(i, 1));
    termTable.setCellText(i, 1, toText(weight * 2.0));
  }
  sortTermTable();
}

}  // namespace abrivo
