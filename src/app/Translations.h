#pragma once
// Qt's own dialogs and standard buttons in Russian: the file dialogs ("Папка:", "Имя файла:"), the
// input boxes and the buttons of every message box speak the language of the rest of the program.
class QByteArray;
class QCoreApplication;

namespace vextor {

// Whether the environment names no language: the first of LC_ALL, LC_MESSAGES and LANG that is set
// is "C" or "POSIX" (with any encoding), or none is set.
bool systemNamesNoLanguage(const QByteArray& lcAll, const QByteArray& lcMessages, const QByteArray& lang);

// Before the application object exists. Where the system names no language, the program runs in
// the Russian locale, so that Qt's dialogs show sizes, dates and numbers as the rest of the program
// does ("2,90 КиБ", not "2.90 KiB"); a language the system names is kept.
void useRussianLocaleWhereTheSystemHasNone();

// Loads Qt's Russian translations (qtbase_ru.qm from Qt's translations folder, or from a
// "translations" folder beside the program) into the application. False when none was found: the
// program then runs with Qt's English texts in its standard dialogs.
bool installQtTranslations(QCoreApplication& app);

} // namespace vextor
