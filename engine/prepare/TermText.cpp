// The term text: punctuation and digits become spaces and runs of spaces are
// folded, so that no term spans a space; Chinese drops the particle 的 except
// inside 的确, 标的 and 目的, English drops a list of function words.
//
// Tested by tests/term_text_test.cpp.
#include "Engine.h"
#include "text/Replacements.h"

namespace abrivo {

namespace {

// 〓 no longer marks sentences here: it stands in for 的 while the three
// words that keep their 的 are put back.
constexpr Replacement kChineseTermSteps[] = {
    {"\xA1\xFE", ""},                            // 〓 → (deleted)
    {"\xA1\xA3", " "},                           // 。 → space
    {"\xA3\xAC", " "},                           // ， → space
    {"\xA1\xA2", " "},                           // 、 → space
    {"\xA1\xAD\xA1\xAD", " "},                   // …… → space
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
    {"\xA1\xA1", " "},                           // ideographic space → space
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

// Function words are removed only between two spaces and case-sensitively,
// so a capitalised "The" at a sentence start stays.
constexpr Replacement kEnglishTermSteps[] = {
    {"\xA1\xFE", ""},      // 〓 → (deleted)
    {".", " "},            // . → space
    {",", " "},            // , → space
    {"\"", " "},           // " → space
    {":", " "},            // : → space
    {"!", " "},            // ! → space
    {"(", " "},            // ( → space
    {")", " "},            // ) → space
    {";", " "},            // ; → space
    {"?", " "},            // ? → space
    {"'", " "},            // ' → space
    {"  ", " "},           // two spaces → space
    {"  ", " "},           // two spaces → space
    {"  ", " "},           // two spaces → space
    {" of ", " "},         // " of " → space
    {" a ", " "},          // " a " → space
    {" the ", " "},        // " the " → space
    {" or ", " "},         // " or " → space
    {" in ", " "},         // " in " → space
    {" to ", " "},         // " to " → space
    {" and ", " "},        // " and " → space
    {" an ", " "},         // " an " → space
    {" with ", " "},       // " with " → space
    {" that ", " "},       // " that " → space
    {" by ", " "},         // " by " → space
    {" for ", " "},        // " for " → space
    {" as ", " "},         // " as " → space
    {" having ", " "},     // " having " → space
    {" on ", " "},         // " on " → space
    {" from ", " "},       // " from " → space
    {" who ", " "},        // " who " → space
    {" is ", " "},         // " is " → space
    {" used ", " "},       // " used " → space
    {" one ", " "},        // " one " → space
    {" not ", " "},        // " not " → space
    {" s ", " "},          // " s " → space
    {" any ", " "},        // " any " → space
    {" at ", " "},         // " at " → space
    {" be ", " "},         // " be " → space
    {" which ", " "},      // " which " → space
    {" something ", " "},  // " something " → space
    {" being ", " "},      // " being " → space
    {" into ", " "},       // " into " → space
    {" he ", " "},         // " he " → space
    {" are ", " "},        // " are " → space
    {" she ", " "},        // " she " → space
    {" what ", " "},       // " what " → space
    {" it ", " "},         // " it " → space
    {" its ", " "},        // " its " → space
    {" than ", " "},       // " than " → space
    {" has ", " "},        // " has " → space
    {" but ", " "},        // " but " → space
    {" said ", " "},       // " said " → space
    {"0", " "},            // 0 → space
    {"1", " "},            // 1 → space
    {"2", " "},            // 2 → space
    {"3", " "},            // 3 → space
    {"4", " "},            // 4 → space
    {"5", " "},            // 5 → space
    {"6", " "},            // 6 → space
    {"7", " "},            // 7 → space
    {"8", " "},            // 8 → space
    {"9", " "},            // 9 → space
    {"  ", " "},           // two spaces → space
    {"  ", " "},           // two spaces → space
    {"  ", " "},           // two spaces → space
    {" if ", " "},         // " if " → space
};

}  // namespace

void Engine::prepareChineseTermText() {
  applyReplacements(workText, kChineseTermSteps, [this] { processEvents(); });
}

void Engine::prepareEnglishTermText() {
  applyReplacements(workText, kEnglishTermSteps, [this] { processEvents(); });
}

}  // namespace abrivo
