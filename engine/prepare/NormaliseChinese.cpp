// Chinese normalisation: every sentence end gets the sentence-break mark 〓,
// reported speech ("说，") ends its own sentence, line breaks and ". " become
// full stops, spaces become breaks, and colons become commas last.
//
// Tested by tests/normalise_test.cpp.
#include "Engine.h"
#include "text/Replacements.h"

namespace abrivo {

namespace {

// Applied in this order, each to every occurrence. Doubled steps fold runs:
// two passes of "。。" → "。" bring a run of up to four down to one.
constexpr Replacement kChineseSteps[] = {
    {"\xD3\xEB\xB4\xCB\xCD\xAC\xCA\xB1\xA3\xAC", ""},          // 与此同时， → (deleted)
    {"\xCB\xB5\xA3\xAC", "\xCB\xB5\xA1\xA3"},                  // 说， → 说。
    {"\xD6\xB8\xB3\xF6\xA3\xAC", "\xD6\xB8\xB3\xF6\xA1\xA3"},  // 指出， → 指出。
    {"\xB3\xC6\xA3\xAC", "\xB3\xC6\xA1\xA3"},                  // 称， → 称。
    {"\xB1\xED\xCA\xBE\xA3\xAC", "\xB1\xED\xCA\xBE\xA1\xA3"},  // 表示， → 表示。
    {"\xBD\xA8\xD2\xE9\xA3\xAC", "\xBD\xA8\xD2\xE9\xA1\xA3"},  // 建议， → 建议。
    {"\xCD\xB8\xC2\xB6\xA3\xAC", "\xCD\xB8\xC2\xB6\xA1\xA3"},  // 透露， → 透露。
    {"\xC8\xCF\xCE\xAA\xA3\xAC", "\xC8\xCF\xCE\xAA\xA1\xA3"},  // 认为， → 认为。
    {"\xCF\xFB\xCF\xA2\xA3\xAC", "\xCF\xFB\xCF\xA2\xA1\xA3"},  // 消息， → 消息。
    {"\xCC\xE1\xD0\xD1\xA3\xAC", "\xCC\xE1\xD0\xD1\xA1\xA3"},  // 提醒， → 提醒。
    {"\xC7\xBF\xB5\xF7\xA3\xAC", "\xC7\xBF\xB5\xF7\xA1\xA3"},  // 强调， → 强调。
    {"\xD2\xAA\xC7\xF3\xA3\xAC", "\xD2\xAA\xC7\xF3\xA1\xA3"},  // 要求， → 要求。
    {"\xB1\xA8\xB5\xBC\xA3\xAC", "\xB1\xA8\xB5\xBC\xA1\xA3"},  // 报导， → 报导。
    {",", "\xA3\xAC"},                                         // , → ，
    {". ", "\xA1\xA3"},                                        // ". " → 。
    {"\r\n", "\xA1\xA3"},                                      // line break → 。
    {"\xA1\xA3\xA1\xA3", "\xA1\xA3"},                          // 。。 → 。
    {"\xA1\xA3\xA1\xA3", "\xA1\xA3"},                          // 。。 → 。
    {"\xA1\xA3", "\xA1\xA3\xA1\xFE"},                          // 。 → 。〓
    {"\xA1\xA3\xA1\xFE\xA1\xB1", "\xA1\xA3\xA1\xB1\xA1\xFE"},  // 。〓” → 。”〓
    {"\xA3\xA1", "\xA3\xA1\xA1\xFE"},                          // ！ → ！〓
    {"\xA1\xAD\xA1\xAD", "\xA1\xAD\xA1\xAD\xA1\xFE"},          // …… → ……〓
    {"\xA3\xBF", "\xA3\xBF\xA1\xFE"},                          // ？ → ？〓
    {"\xA3\xBB", "\xA3\xBB\xA1\xFE"},                          // ； → ；〓
    {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},                          // 〓〓 → 〓
    {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},                          // 〓〓 → 〓
    {"\xA1\xA1", "\xA1\xFE"},                                  // ideographic space → 〓
    {" ", "\xA1\xFE"},                                         // space → 〓
    {"\xA3\xBA", "\xA3\xAC"},                                  // ： → ，
};

}  // namespace

void Engine::normaliseChinese() {
  applyReplacements(m_workText, kChineseSteps, [this] { processEvents(); });
}

}  // namespace abrivo
