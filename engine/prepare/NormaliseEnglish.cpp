// English normalisation: contractions expanded, attribution clauses ("...,
// said X") and line breaks made sentence ends, every ". ! ? ;" followed by
// the sentence-break mark 〓, colons made commas last.
//
// Tested by tests/normalise_test.cpp.
#include "Engine.h"
#include "text/Replacements.h"

namespace abrivo {

namespace {

// Applied in this order, each to every occurrence, case-sensitive.
constexpr Replacement kEnglishSteps[] = {
    {"'s ", " is "},                   // "'s " → " is "
    {"that, ", "that. "},              // "that, " → "that. "
    {"'t ", "  not "},                 // "'t " → "  not "
    {"\r\n", "."},                     // line break → .
    {", said ", ". "},                 // ", said " → ". "
    {"said, ", " said. "},             // "said, " → " said. "
    {", says ", ". "},                 // ", says " → ". "
    {"says, ", "says. "},              // "says, " → "says. "
    {", say ", ". "},                  // ", say " → ". "
    {"say, ", "say. "},                // "say, " → "say. "
    {"..", "."},                       // .. → .
    {"..", "."},                       // .. → .
    {".", ".\xA1\xFE"},                // . → .〓
    {".\xA1\xFE\"", ".\"\xA1\xFE"},    // .〓" → ."〓
    {"!", "!\xA1\xFE"},                // ! → !〓
    {"?", "?\xA1\xFE"},                // ? → ?〓
    {";", ";\xA1\xFE"},                // ; → ;〓
    {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},  // 〓〓 → 〓
    {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},  // 〓〓 → 〓
    {":", ","},                        // : → ,
};

}  // namespace

void Engine::normaliseEnglish() {
  applyReplacements(m_workText, kEnglishSteps, [this] { processEvents(); });
}

}  // namespace abrivo
