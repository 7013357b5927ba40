#pragma once
// Qt's own dialogs and standard buttons in Russian: the file dialogs ("Папка:", "Имя файла:"), the
// input boxes and the buttons of every message box speak the language of the rest of the program.
class QCoreApplication;

namespace vextor {

// Loads Qt's Russian translations (qtbase_ru.qm from Qt's translations folder, or from a
// "translations" folder beside the program) into the application. False when none was found: the
// program then runs with Qt's English texts in its standard dialogs.
bool installQtTranslations(QCoreApplication& app);

} // namespace vextor
