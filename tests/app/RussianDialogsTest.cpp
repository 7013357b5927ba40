// The program's dialogs speak Russian: our own message and input boxes label their buttons
// themselves, and Qt's translations, once loaded, turn Qt's file dialog Russian too.
#include "app/QtUserDialogs.h"
#include "app/Translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

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

} // namespace
} // namespace vextor
