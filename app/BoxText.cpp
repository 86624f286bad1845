// Tested by tests/gui/box_text_test.cpp.
#include "BoxText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "abrivo/internal/text/Encoding.h"

namespace abrivo {

std::string toEngineText(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return toEngineLineBreaks(utf8ToGb18030Lenient(std::string_view(utf8.data(), utf8.size())));
}

QString fromEngineText(std::string_view bytes) {
  const std::string utf8 = fromEngineLineBreaks(gb18030ToUtf8Lenient(bytes));
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString boxText(const QPlainTextEdit& box) {
  QString text = box.document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  text.replace(QChar::LineSeparator, u'\n');
  return text;
}

}  // namespace abrivo
