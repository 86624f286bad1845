#include "text/Replacements.h"

#include "text/TextOps.h"

namespace abrivo {

namespace {

constexpr Replacement kDigits[] = {
    {"0", " "}, {"1", " "}, {"2", " "}, {"3", " "}, {"4", " "},
    {"5", " "}, {"6", " "}, {"7", " "}, {"8", " "}, {"9", " "},
};

constexpr Replacement kPunctuation[] = {
    {"\xA1\xB0", " "},  // “ → space
    {"\xA1\xB1", " "},  // ” → space
    {"\xA3\xBA", " "},  // ： → space
    {"\xA3\xA1", " "},  // ！ → space
    {"\xA1\xAE", " "},  // ‘ → space
    {"\xA1\xAF", " "},  // ’ → space
    {"\xA3\xA8", " "},  // （ → space
    {"\xA3\xA9", " "},  // ） → space
    {"\xA3\xBB", " "},  // ； → space
    {"\xA3\xBF", " "},  // ？ → space
    {",", " "},         // , → space
};

// 〓 stands in for 的 while the three words that keep their 的 are put back.
constexpr Replacement kParticle[] = {
    {"\xB5\xC4", "\xA1\xFE"},                    // 的 → 〓
    {"\xA1\xFE\xC8\xB7", "\xB5\xC4\xC8\xB7"},    // 〓确 → 的确
    {"\xB1\xEA\xA1\xFE", "\xB1\xEA\xB5\xC4"},    // 标〓 → 标的
    {"\xC4\xBF\xA1\xFE", "\xC4\xBF\xB5\xC4"},    // 目〓 → 目的
    {"\xA1\xFE", " "},                           // 〓 → space
    {"\xB8\xC4\xB8\xEF", " \xB8\xC4\xB8\xEF "},  // 改革 → " 改革 "
    {"\xD6\xC6\xB6\xC8", " \xD6\xC6\xB6\xC8 "},  // 制度 → " 制度 "
};

}  // namespace

const std::span<const Replacement> kDigitSteps(kDigits);
const std::span<const Replacement> kPunctuationSteps(kPunctuation);
const std::span<const Replacement> kParticleSteps(kParticle);

void applyReplacements(std::string& text, std::span<const Replacement> steps,
                       const std::function<void()>& betweenSteps) {
  for (const Replacement& step : steps) {
    replaceAll(text, step.find, step.replace);
    if (betweenSteps) betweenSteps();
  }
}

void applyReplacements(std::string& text, std::initializer_list<std::span<const Replacement>> lists,
                       const std::function<void()>& betweenSteps) {
  for (const std::span<const Replacement> steps : lists)
    applyReplacements(text, steps, betweenSteps);
}

}  // namespace abrivo
