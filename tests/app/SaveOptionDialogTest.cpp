// The save dialog with a check box (the event read's fast read): the box is shown with the state
// it is given, and the engineer's tick comes back only with a chosen file.
#include "app/QtUserDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace vextor {

TEST(SaveOptionDialog, TheTickComesBackWithTheFile) {
    QTemporaryDir dir;
    QtUserDialogs dialogs;
    bool option = false;
    QString shownText;
    bool shownChecked = true;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("saveOption"));
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        shownChecked = box->isChecked();
        EXPECT_TRUE(box->isVisible());
        box->setChecked(true);
        dialog->selectFile(dir.filePath("log.blb"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const QString path = dialogs.saveFileWithOption("Считать из прибора", "Файлы событий (*.blb)|*.blb",
                                                    dir.path(), "blb", "Быстрое чтение", option);
    EXPECT_EQ(path, dir.filePath("log.blb"));
    EXPECT_EQ(shownText, "Быстрое чтение");
    EXPECT_FALSE(shownChecked);
    EXPECT_TRUE(option);

    // Cancelled: the box is shown ticked as left, and the choice stays as it was.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("saveOption"));
        ASSERT_NE(box, nullptr);
        shownChecked = box->isChecked();
        box->setChecked(false);
        dialog->reject();
    });
    EXPECT_TRUE(
        dialogs.saveFileWithOption("x", "*.blb", dir.path(), "blb", "Быстрое чтение", option).isEmpty());
    EXPECT_TRUE(shownChecked);
    EXPECT_TRUE(option);
}

} // namespace vextor
