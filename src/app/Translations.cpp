#include "Translations.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace vextor {

bool systemNamesNoLanguage(const QByteArray& lcAll, const QByteArray& lcMessages, const QByteArray& lang) {
    // The order the C library and Qt take them in.
    QByteArray name = !lcAll.isEmpty() ? lcAll : !lcMessages.isEmpty() ? lcMessages : lang;
    // "C.UTF-8", "POSIX@modifier": the encoding and modifier name no language either.
    const qsizetype end = name.indexOf('.') >= 0 ? name.indexOf('.') : name.indexOf('@');
    if (end >= 0)
        name.truncate(end);
    return name.isEmpty() || name == "C" || name == "POSIX";
}

void useRussianLocaleWhereTheSystemHasNone() {
    if (!systemNamesNoLanguage(qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")))
        return;
    // Qt's system locale, which its file dialog formats with, is read from these variables; LC_ALL
    // outranks whatever else the environment sets. A C library without the Russian locale keeps its
    // own "C" and Qt then reads text as UTF-8, as it does under "C".
    qputenv("LC_ALL", "ru_RU.UTF-8");
}

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
