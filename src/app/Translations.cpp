#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace vextor {

bool installQtTranslations(QCoreApplication& app) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                              QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
    for (const QString& folder : folders) {
        // Owned by the application: the translations serve until the program ends.
        auto* translator = new QTranslator(&app);
        if (translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"), folder) &&
            QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
    }
    return false;
}

} // namespace vextor
