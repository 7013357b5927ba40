#pragma once
// TreeView1: the view of the project tree. It mirrors the tree data of the project core (texts,
// codes, marks, type faces, colours, expansion) and hands double clicks, popup items and renames
// back to the core. F2 renames the selected device, as the popup's "Редактировать" does (a double
// click on a device keeps its own meaning, the mark). A refresh only touches what changed: an open
// in-place editor, the current item, the expansion and the scroll position survive it.
#include "project/Project.h"

#include <QTreeWidget>
#include <functional>

namespace vextor {

class ProjectTreeView : public QTreeWidget {
public:
    ProjectTreeView(Project& project, QWidget* parent = nullptr);

    // Brings the items in step with the project's tree: rebuilt only when the nodes changed.
    void sync();
    // Marks, type faces, colours and texts only: after a tick or a file check.
    void repaint();

    QTreeWidgetItem* itemForCode(int code) const;
    // The project node an item shows, found by the node code the item holds; null when the project
    // has no such node any more.
    TreeNode* nodeOf(const QTreeWidgetItem* item) const;
    // The popup items for the selected node, as the menu shows them.
    std::vector<MenuItem> popupForCurrent() const;
    void runMenuItem(const MenuItem& item);
    // activateNode on an item.
    void doubleClick(QTreeWidgetItem* item);
    // The in-place editor of a rename, while one is open.
    QWidget* renameEditor() const;

    // While the line is busy, the popup's commands wait; a double click still marks and unmarks.
    std::function<bool()> isBusy;
    // After every change the view made to the project.
    std::function<void()> changed;
    // The width the shown names need, indentation and icons included.
    int namesWidth() const;
    // After the items were built anew (other nodes, other names).
    std::function<void()> rebuilt;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    Project& project_;
    bool syncing_ = false;

    void decorate(QTreeWidgetItem* item, const TreeNode& node);
    bool sameShape() const;
    void rebuild();
    void openEditor(QTreeWidgetItem* item);
    bool isRenamed(const QTreeWidgetItem* item) const;
    void startRename();
    void scheduleSync();
    bool busy() const { return isBusy && isBusy(); }
};

} // namespace vextor
