// The modal dialogs of the window: choosing a file to open or a place to
// save the summary, and telling the user why something failed. The window
// asks through this interface so that tests can answer without a dialog
// waiting for a click.
//
// Tested by tests/gui/files_test.cpp.
#pragma once

#include <QString>
#include <optional>

#include "TextFile.h"

class QWidget;

namespace abrivo {

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A file to open, or an empty string when the user cancels.
  virtual QString openFileName(QWidget* parent, const QString& directory) = 0;

  struct SaveTarget {
    QString path;
    SaveEncoding encoding = SaveEncoding::Utf8;
  };
  // Where and how to save, or nullopt when the user cancels. suggested is a
  // path to offer.
  virtual std::optional<SaveTarget> saveTarget(QWidget* parent, const QString& suggested) = 0;

  // Shows a warning and waits until the user closes it.
  virtual void warn(QWidget* parent, const QString& title, const QString& text) = 0;
};

// The standard file dialogs and message boxes.
class QtDialogs final : public Dialogs {
 public:
  QString openFileName(QWidget* parent, const QString& directory) override;
  std::optional<SaveTarget> saveTarget(QWidget* parent, const QString& suggested) override;
  void warn(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace abrivo
