#pragma once
// Qt's own texts (the buttons of message boxes, the file dialogs, the context menus of text
// boxes) in the user's language: Qt's translation files for the locale, from Qt's own
// translations folder or, where Qt brings none (the Windows package), from the folder
// `translations` beside the executable.
#include <QLocale>
#include <QStringList>
#include <memory>

class QTranslator;

namespace zuohao::gui {

// The folders searched, in order.
QStringList QtTranslationFolders();

// Loads Qt's translation for `locale` from the first folder that has one; nullptr when none
// has (an English or unknown locale, or no translation installed). The caller installs it.
std::unique_ptr<QTranslator> LoadQtTranslator(const QLocale& locale);

// Qt's texts its Chinese translation leaves in English (the file dialog's "Folder"), for a
// Chinese locale; nullptr for any other. Installed before Qt's own, it is asked after it.
std::unique_ptr<QTranslator> MissingQtTextsTranslator(const QLocale& locale);

// Loads and installs the translation for the system locale; the translator lives as long as
// the application.
void InstallQtTranslations();

} // namespace zuohao::gui
