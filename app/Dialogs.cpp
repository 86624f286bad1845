#include "Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace abrivo {

namespace {

const QString kTextFiles = QStringLiteral("文本文件 (*.txt)");
const QString kAllFiles = QStringLiteral("所有文件 (*)");
const QString kUtf8Files = QStringLiteral("UTF-8 文本 (*.txt)");
const QString kGb18030Files = QStringLiteral("GB18030 文本 (*.txt)");

}  // namespace

QString QtDialogs::openFileName(QWidget* parent, const QString& directory) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("打开文件"), directory,
                                      kTextFiles + QStringLiteral(";;") + kAllFiles);
}

std::optional<Dialogs::SaveTarget> QtDialogs::saveTarget(QWidget* parent,
                                                         const QString& suggested) {
  QFileDialog dialog(parent, QStringLiteral("保存摘要"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({kUtf8Files, kGb18030Files});
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  SaveTarget target;
  target.path = dialog.selectedFiles().constFirst();
  target.encoding =
      dialog.selectedNameFilter() == kGb18030Files ? SaveEncoding::Gb18030 : SaveEncoding::Utf8;
  return target;
}

void QtDialogs::warn(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox::warning(parent, title, text);
}

}  // namespace abrivo
