// Stands in for the window's dialogs: answers with what the test set, and
// records what the window asked and the warnings it gave.
#pragma once

#include <QStringList>
#include <optional>

#include "Dialogs.h"

namespace abrivo::testing {

class FakeDialogs final : public Dialogs {
 public:
  QString openAnswer;                    // the file chosen; empty: cancelled
  std::optional<SaveTarget> saveAnswer;  // nullopt: cancelled

  int opens = 0;
  int saves = 0;
  QString openDirectory;  // offered by the last open
  QString suggestedSave;  // offered by the last save
  QStringList warnings;   // title, a line break, then the text

  QString openFileName(QWidget*, const QString& directory) override {
    ++opens;
    openDirectory = directory;
    return openAnswer;
  }
  std::optional<SaveTarget> saveTarget(QWidget*, const QString& suggested) override {
    ++saves;
    suggestedSave = suggested;
    return saveAnswer;
  }
  void warn(QWidget*, const QString& title, const QString& text) override {
    warnings << title + QLatin1Char('\n') + text;
  }
};

}  // namespace abrivo::testing
