// Qt's own translations (the standard context menus, file dialogs and
// message box buttons) for the user's locale, from the directory Qt was
// installed with (Debian: qt6-translations-l10n).
//
// Tested by tests/gui/locale_test.cpp.
#pragma once

#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace abrivo {

// Installs qtbase's catalogue for locale into app. Returns the translator
// (owned by app), or nullptr when there is none for the locale.
QTranslator* installQtTranslations(QCoreApplication& app, const QLocale& locale = QLocale());

}  // namespace abrivo
