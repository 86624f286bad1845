// The boundary between the window's Unicode text and the engine's bytes.
// Boxes hold Unicode with "\n" line breaks; the engine holds GB18030 with
// "\r\n" ones. GB18030 encodes every character, so text outside GBK (emoji,
// rare ideographs) passes through a run unchanged.
//
// Tested by tests/gui/box_text_test.cpp.
#pragma once

#include <QString>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace abrivo {

// The engine form of a box's text: NUL characters dropped, every line break
// "\r\n".
std::string toEngineText(const QString& text);

// The box form of engine bytes: "\n" line breaks; a byte sequence that does
// not decode becomes U+FFFD.
QString fromEngineText(std::string_view bytes);

// The text of a box of several lines as typed. Unlike toPlainText, keeps
// no-break spaces; paragraph and line separators become "\n".
QString boxText(const QPlainTextEdit& box);

}  // namespace abrivo
