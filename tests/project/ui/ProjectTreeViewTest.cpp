// The project tree view's keys: F2 renames a device as the popup's "Редактировать" does.
#include "project/ui/ProjectTreeView.h"
#include "project/ProjectTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace vextor {
namespace {

using test::ProjectFixture;

void pressF2(QWidget* w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

TEST(ProjectTreeView, F2RenamesADeviceByItsBareName) {
    ProjectFixture f;
    f.addSingles(1);
    ProjectTreeView view(f.project);
    view.sync();
    view.show();
    QTreeWidgetItem* device = view.itemForCode(500);
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(device->text(0), QStringLiteral("Имя одиночного 1 (Vextor одиночный 1)"));

    view.setCurrentItem(device);
    pressF2(&view);
    auto* editor = qobject_cast<QLineEdit*>(view.renameEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("Имя одиночного 1"));
    editor->setText(QStringLiteral("Котельная"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    QApplication::processEvents(); // the view commits an editor's text after the key
    EXPECT_EQ(f.project.model.record({DeviceKind::Single, 1}).Name, QStringLiteral("Котельная"));
}

// Nodes the popup offers no rename on, and a device while the line is busy.
TEST(ProjectTreeView, F2ElsewhereOpensNoEditor) {
    ProjectFixture f;
    f.addSingles(1);
    ProjectTreeView view(f.project);
    view.sync();
    view.show();
    const struct {
        const char* node;
        int code;
        bool busy;
    } cases[] = {{"project", 1, false},
                 {"link", 501, false},
                 {"configuration file", 502, false},
                 {"event file", 503, false},
                 {"device, line busy", 500, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node);
        view.isBusy = [&c] { return c.busy; };
        QTreeWidgetItem* item = view.itemForCode(c.code);
        ASSERT_NE(item, nullptr);
        view.setCurrentItem(item);
        const QString text = item->text(0);
        pressF2(&view);
        EXPECT_EQ(view.renameEditor(), nullptr);
        EXPECT_FALSE(f.project.tree.editing);
        EXPECT_TRUE(view.viewport()->findChildren<QLineEdit*>().isEmpty());
        EXPECT_EQ(item->text(0), text);
    }
}

} // namespace
} // namespace vextor
