// The term text: punctuation and digits become spaces and runs of spaces are
// folded, so that no term spans a space; Chinese drops the particle 的 except
// inside 的确, 标的 and 目的, English drops a list of function words.
//
// Tested by tests/term_text_test.cpp.
#include "Engine.h"
#include "text/Replacements.h"

namespace abrivo {

namespace {

// 〓 no longer marks sentences here: the particle steps use it to stand in
// for 的 (see text/Replacements.h).
constexpr Replacement kChineseLeadSteps[] = {
    {"\xA1\xFE", ""},           // 〓 → (deleted)
    {"\xA1\xA3", " "},          // 。 → space
    {"\xA3\xAC", " "},          // ， → space
    {"\xA1\xA2", " "},          // 、 → space
    {"\xA1\xAD\xA1\xAD", " "},  // …… → space
};
constexpr Replacement kChineseMiddleSteps[] = {
    {"\xA1\xA1", " "},  // ideographic space → space
    {"\xA1\xAA", " "},  // — → space
};
constexpr Replacement kTwoSpaces[] = {{"  ", " "}};

// Function words are removed only between two spaces and case-sensitively,
// so a capitalised "The" at a sentence start stays.
constexpr Replacement kEnglishWordSteps[] = {
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
};
constexpr Replacement kEnglishLastSteps[] = {{" if ", " "}};

}  // namespace

void Engine::prepareChineseTermText() {
  applyReplacements(m_workText,
                    {kChineseLeadSteps, kPunctuationSteps, kChineseMiddleSteps, kDigitSteps,
                     kTwoSpaces, kTwoSpaces, kParticleSteps},
                    [this] { processEvents(); });
}

void Engine::prepareEnglishTermText() {
  applyReplacements(
      m_workText,
      {kEnglishWordSteps, kDigitSteps, kTwoSpaces, kTwoSpaces, kTwoSpaces, kEnglishLastSteps},
      [this] { processEvents(); });
}

}  // namespace abrivo
