// Tested by tests/gui/box_text_test.cpp.
#include "BoxText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "abrivo/internal/api/Boundary.h"

namespace abrivo {

std::string toEngineText(const QString& text) {
  // toUtf8 writes an unpaired surrogate as '?', so the text is always valid
  // UTF-8 and the boundary never refuses it.
  const QByteArray utf8 = text.toUtf8();
  return boundary::toEngineText(std::string_view(utf8.data(), utf8.size()), "text");
}

QString fromEngineText(std::string_view bytes) {
  const std::string utf8 = boundary::fromEngineText(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString boxText(const QPlainTextEdit& box) {
  QString text = box.document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  text.replace(QChar::LineSeparator, u'\n');
  return text;
}

}  // namespace abrivo
