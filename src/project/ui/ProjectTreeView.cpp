#include "ProjectTreeView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QTimer>

#include <functional>
#include <unordered_set>

namespace vextor {

namespace {

constexpr int kNodeRole = Qt::UserRole;
constexpr int kCodeRole = Qt::UserRole + 1;

// State image 1: the marked device.
const QIcon& markIcon() {
    static const QIcon icon = [] {
        QPixmap p(16, 16);
        p.fill(Qt::transparent);
        QPainter g(&p);
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(QPen(QColor(0x00, 0x80, 0x00), 2.5));
        g.drawLine(QPointF(3, 8.5), QPointF(6.5, 12));
        g.drawLine(QPointF(6.5, 12), QPointF(13, 4));
        return QIcon(p);
    }();
    return icon;
}

const QIcon& noMarkIcon() {
    static const QIcon icon = [] {
        QPixmap p(16, 16);
        p.fill(Qt::transparent);
        return QIcon(p);
    }();
    return icon;
}

} // namespace

ProjectTreeView::ProjectTreeView(Project& project, QWidget* parent) : QTreeWidget(parent), project_(project) {
    setHeaderHidden(true);
    setColumnCount(1);
    setExpandsOnDoubleClick(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (!syncing_)
            if (TreeNode* n = nodeOf(item))
                n->expanded = true;
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (!syncing_)
            if (TreeNode* n = nodeOf(item))
                n->expanded = false;
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { doubleClick(item); });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (syncing_ || !project_.tree.editing ||
            item->data(0, kCodeRole).toInt() != project_.tree.editingCode)
            return;
        project_.TreeView1Edited(project_.tree.editingCode, item->text(0));
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        scheduleSync();
    });
}

TreeNode* ProjectTreeView::nodeOf(const QTreeWidgetItem* item) {
    return item ? reinterpret_cast<TreeNode*>(item->data(0, kNodeRole).value<quintptr>()) : nullptr;
}

void ProjectTreeView::decorate(QTreeWidgetItem* item, const TreeNode& node) {
    item->setText(0, node.text);
    QFont f = font();
    f.setBold(node.bold);
    f.setUnderline(node.underline);
    item->setFont(0, f);
    item->setForeground(0, node.red ? QBrush(Qt::red) : palette().brush(QPalette::WindowText));
    item->setIcon(0, node.marked ? markIcon() : noMarkIcon());
}

void ProjectTreeView::sync() {
    syncing_ = true;
    const int selectedCode = currentItem() ? currentItem()->data(0, kCodeRole).toInt() : -1;
    const TreeNode* selectedNode = nodeOf(currentItem());
    clear();
    QTreeWidgetItem* reselect = nullptr;
    std::function<void(QTreeWidgetItem*, const TreeNode&)> add = [&](QTreeWidgetItem* parentItem,
                                                                     const TreeNode& node) {
        auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
        item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(&node)));
        item->setData(0, kCodeRole, node.code);
        decorate(item, node);
        if (selectedCode > 0 && node.code == selectedCode)
            reselect = item;
        else if (selectedCode == 0 && &node == selectedNode)
            reselect = item;
        for (const auto& child : node.children)
            add(item, *child);
    };
    for (const auto& top : project_.tree.topLevel)
        add(nullptr, *top);
    // Expansion after the whole tree exists, parents first.
    std::function<void(QTreeWidgetItem*)> expand = [&](QTreeWidgetItem* item) {
        if (const TreeNode* n = nodeOf(item))
            item->setExpanded(n->expanded);
        for (int i = 0; i < item->childCount(); ++i)
            expand(item->child(i));
    };
    for (int i = 0; i < topLevelItemCount(); ++i)
        expand(topLevelItem(i));
    if (reselect)
        setCurrentItem(reselect);
    syncing_ = false;
}

void ProjectTreeView::repaint() {
    // The items point at the project's tree nodes; when the project rebuilt its tree since the
    // last sync (a project was opened or a device added) those nodes are gone, and only a full
    // sync may touch the items.
    std::unordered_set<const TreeNode*> live;
    std::function<void(const TreeNode&)> collect = [&](const TreeNode& node) {
        live.insert(&node);
        for (const auto& child : node.children)
            collect(*child);
    };
    for (const auto& top : project_.tree.topLevel)
        collect(*top);
    bool stale = false;
    std::function<void(QTreeWidgetItem*)> check = [&](QTreeWidgetItem* item) {
        stale = stale || !live.count(nodeOf(item));
        for (int i = 0; i < item->childCount() && !stale; ++i)
            check(item->child(i));
    };
    for (int i = 0; i < topLevelItemCount() && !stale; ++i)
        check(topLevelItem(i));
    if (stale) {
        sync();
        return;
    }
    syncing_ = true;
    std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
        if (const TreeNode* n = nodeOf(item))
            decorate(item, *n);
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i));
    };
    for (int i = 0; i < topLevelItemCount(); ++i)
        walk(topLevelItem(i));
    syncing_ = false;
}

QTreeWidgetItem* ProjectTreeView::itemForCode(int code) const {
    QTreeWidgetItemIterator it(const_cast<ProjectTreeView*>(this));
    for (; *it; ++it)
        if ((*it)->data(0, kCodeRole).toInt() == code)
            return *it;
    return nullptr;
}

std::vector<MenuItem> ProjectTreeView::popupForCurrent() const {
    return project_.popupItems(nodeOf(currentItem()));
}

void ProjectTreeView::runMenuItem(const MenuItem& item) {
    if (busy())
        return;
    project_.runMenuItem(item);
    if (project_.tree.editing) {
        startRename();
        return;
    }
    sync();
    if (changed)
        changed();
}

void ProjectTreeView::startRename() {
    QTreeWidgetItem* item = itemForCode(project_.tree.editingCode);
    if (!item)
        return;
    syncing_ = true;
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    syncing_ = false;
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setCurrentItem(item);
    editItem(item, 0);
}

void ProjectTreeView::doubleClick(QTreeWidgetItem* item) {
    TreeNode* node = nodeOf(item);
    if (!node)
        return;
    if (busy()) {
        // Only the expansion: the mark and the files stay as the running operation needs them.
        node->expanded = !node->expanded;
        syncing_ = true;
        item->setExpanded(node->expanded);
        syncing_ = false;
        return;
    }
    project_.TreeView1DblClick(node);
    scheduleSync();
}

void ProjectTreeView::scheduleSync() {
    // Items are rebuilt once the signal that carries one of them has returned.
    QTimer::singleShot(0, this, [this] {
        sync();
        if (changed)
            changed();
    });
}

void ProjectTreeView::contextMenuEvent(QContextMenuEvent* event) {
    if (QTreeWidgetItem* item = itemAt(viewport()->mapFromGlobal(event->globalPos())))
        setCurrentItem(item);
    const auto items = popupForCurrent();
    if (items.empty())
        return;
    QMenu menu(this);
    for (const MenuItem& mi : items) {
        QAction* a = menu.addAction(mi.caption);
        a->setEnabled(!busy());
        connect(a, &QAction::triggered, this, [this, mi] { runMenuItem(mi); });
    }
    menu.exec(event->globalPos());
}

} // namespace vextor
