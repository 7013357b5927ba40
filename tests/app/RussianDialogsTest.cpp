// The program's dialogs speak Russian: our own message and input boxes label their buttons
// themselves, and Qt's translations, once loaded, turn Qt's file dialog Russian too. The boxes show
// their whole title.
#include "app/QtUserDialogs.h"
#include "app/Translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace vextor {
namespace {

// Runs inspect on the modal dialog as soon as it is up, then closes it with reject().
void whileModal(const std::function<void(QWidget*)>& inspect) {
    QTimer::singleShot(0, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        inspect(modal);
        if (auto* d = qobject_cast<QDialog*>(modal))
            d->reject();
    });
}

QStringList buttonTexts(QWidget* w) {
    QStringList texts;
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->isVisible() || !b->isHidden())
            texts << b->text().remove(QLatin1Char('&'));
    texts.sort();
    return texts;
}

TEST(RussianDialogs, MessageAndInputBoxesLabelTheirButtonsInRussian) {
    ASSERT_TRUE(installQtTranslations(*QCoreApplication::instance()));
    QtUserDialogs dialogs;
    QStringList seen;
    whileModal([&](QWidget* w) { seen = buttonTexts(w); });
    dialogs.askYesNo(QStringLiteral("Вопрос?"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));

    whileModal([&](QWidget* w) { seen = buttonTexts(w); });
    dialogs.askYesNoCancel(QStringLiteral("Вопрос?"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет"), QStringLiteral("Отмена")}));

    whileModal([&](QWidget* w) { seen = buttonTexts(w); });
    dialogs.message(QStringLiteral("Сообщение"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("ОК")}));

    whileModal([&](QWidget* w) { seen = buttonTexts(w); });
    EXPECT_FALSE(dialogs.inputText({}, QStringLiteral("Введите"), QStringLiteral("1")).has_value());
    EXPECT_EQ(seen, (QStringList{QStringLiteral("ОК"), QStringLiteral("Отмена")}));

    // Qt's own file dialog: its labels come from the translations.
    QStringList labels;
    whileModal([&](QWidget* w) {
        for (QLabel* l : w->findChildren<QLabel*>())
            labels << l->text().remove(QLatin1Char('&'));
    });
    dialogs.openFile(QStringLiteral("Открыть"), QStringLiteral("Все файлы|*.*"), QDir::tempPath());
    EXPECT_TRUE(labels.contains(QStringLiteral("Имя файла:"))) << labels.join(QLatin1Char('|')).toStdString();
}

// A short text makes a narrow box; the box is still wide enough for its whole title beside the
// frame's icon and buttons, whether the program's title or a caption of its own.
TEST(RussianDialogs, BoxesAreWideEnoughForTheirTitle) {
    QtUserDialogs dialogs;
    const QString longCaption = QStringLiteral("Сохранение изменений проекта перед закрытием программы");
    const struct {
        const char* name;
        QString title;
        std::function<void()> open;
    } cases[] = {
        {"message", QStringLiteral("Конфигуратор Vextor"), [&] { dialogs.message(QStringLiteral("Да")); }},
        {"yes/no", QStringLiteral("Конфигуратор Vextor"), [&] { dialogs.askYesNo(QStringLiteral("Да?")); }},
        {"yes/no, caption", longCaption, [&] { dialogs.askYesNo(QStringLiteral("Да?"), longCaption); }},
        {"yes/no/cancel, caption", longCaption,
         [&] { dialogs.askYesNoCancel(QStringLiteral("Да?"), longCaption); }},
        {"input", longCaption, [&] { dialogs.inputText(longCaption, QStringLiteral("Имя"), {}); }},
    };
    QFont bold = QApplication::font();
    bold.setBold(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString title;
        int width = 0;
        whileModal([&](QWidget* w) {
            title = w->windowTitle();
            width = w->width();
        });
        c.open();
        EXPECT_EQ(title, c.title);
        // Three frame buttons of 32 pixels beside the title.
        EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(c.title) + 96);
    }
}

// Qt's dialogs format sizes and dates in the system's locale: where the environment names no
// language the program runs in Russian, and a language the user set is kept.
TEST(RussianDialogs, RussianLocaleOnlyWhereTheSystemNamesNoLanguage) {
    const struct {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        bool russian;
    } cases[] = {
        {"", "", "", true},
        {"", "", "C", true},
        {"", "", "POSIX", true},
        {"", "", "C.UTF-8", true},
        {"", "", "C.utf8", true},
        {"C", "", "de_DE.UTF-8", true}, // LC_ALL outranks LANG
        {"", "", "en_US.UTF-8", false},
        {"", "", "de_DE@euro", false},
        {"", "", "ru_RU.UTF-8", false},
        {"", "en_GB.UTF-8", "C", false}, // a language for the texts
        {"en_US.UTF-8", "", "C", false},
    };
    const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")};
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("LC_ALL=") + c.lcAll + " LC_MESSAGES=" + c.lcMessages + " LANG=" + c.lang);
        EXPECT_EQ(systemNamesNoLanguage(c.lcAll, c.lcMessages, c.lang), c.russian);

        // The same environment before the program starts: the locale it then runs in.
        const char* values[] = {c.lcAll, c.lcMessages, c.lang};
        for (int i = 0; i < 3; ++i) {
            if (*values[i])
                qputenv(names[i], values[i]);
            else
                qunsetenv(names[i]);
        }
        useRussianLocaleWhereTheSystemHasNone();
        EXPECT_EQ(qgetenv("LC_ALL"), c.russian ? QByteArray("ru_RU.UTF-8") : QByteArray(c.lcAll));
        if (c.russian) {
            EXPECT_EQ(QLocale(QString::fromLatin1(qgetenv("LC_ALL"))).formattedDataSize(2970),
                      QStringLiteral("2,90 KiB"));
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (saved[i].isEmpty())
            qunsetenv(names[i]);
        else
            qputenv(names[i], saved[i]);
    }
}

} // namespace
} // namespace vextor
