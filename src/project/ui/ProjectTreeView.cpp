#include "ProjectTreeView.h"

#include "project/ProjectReport.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace vextor {

namespace {

constexpr int kCodeRole = Qt::UserRole;
constexpr int kMarkedRole = Qt::UserRole + 1;

int codeOf(const QTreeWidgetItem* item) {
    return item->data(0, kCodeRole).toInt();
}

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
    // Names are shown whole: the column takes its widest text and the tree scrolls sideways.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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
        if (syncing_ || !project_.tree.editing || codeOf(item) != project_.tree.editingCode)
            return;
        const int code = project_.tree.editingCode;
        project_.finishRename(code, item->text(0));
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        syncing_ = true;
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        syncing_ = false;
        scheduleSync();
    });
}

TreeNode* ProjectTreeView::nodeOf(const QTreeWidgetItem* item) const {
    if (!item)
        return nullptr;
    const int code = codeOf(item);
    if (code != node_code::kGroup)
        return project_.tree.findCode(code);
    // The two group nodes of a device share one code: each is the parent of the file node it holds.
    if (item->childCount() == 0)
        return nullptr;
    const TreeNode* file = project_.tree.findCode(codeOf(item->child(0)));
    return file ? file->parent : nullptr;
}

bool ProjectTreeView::isRenamed(const QTreeWidgetItem* item) const {
    return project_.tree.editing && codeOf(item) == project_.tree.editingCode;
}

void ProjectTreeView::decorate(QTreeWidgetItem* item, const TreeNode& node) {
    // Only what differs: every set is a change signal, and one on the item being renamed would reset
    // its open editor. That item shows the bare name until the rename ends.
    if (!isRenamed(item) && item->text(0) != node.text)
        item->setText(0, node.text);
    // The whole text, and for a device what it is and how it is reached.
    const auto ref = decodeNodeCode(node.code);
    const QString tip =
        ref && ref->role == NodeRole::Device ? deviceToolTip(project_.model, ref->device) : node.text;
    if (item->toolTip(0) != tip)
        item->setToolTip(0, tip);
    QFont f = item->font(0);
    if (f.bold() != node.bold || f.underline() != node.underline) {
        f.setBold(node.bold);
        f.setUnderline(node.underline);
        item->setFont(0, f);
    }
    const QBrush brush = node.red ? QBrush(Qt::red) : palette().brush(QPalette::WindowText);
    if (item->foreground(0) != brush)
        item->setForeground(0, brush);
    if (item->data(0, kMarkedRole).toBool() != node.marked || item->icon(0).isNull()) {
        item->setData(0, kMarkedRole, node.marked);
        item->setIcon(0, node.marked ? markIcon() : noMarkIcon());
    }
}

bool ProjectTreeView::sameShape() const {
    // The items hold the codes of the project's tree nodes; when the project's tree has changed shape
    // since (a project was opened, a device added or deleted) the items must be rebuilt. Each entry is
    // a code and its number of children, in tree order.
    std::vector<std::pair<int, int>> nodes;
    std::function<void(const TreeNode&)> collect = [&](const TreeNode& node) {
        nodes.emplace_back(node.code, static_cast<int>(node.children.size()));
        for (const auto& child : node.children)
            collect(*child);
    };
    for (const auto& top : project_.tree.topLevel)
        collect(*top);
    std::vector<std::pair<int, int>> shown;
    std::function<void(const QTreeWidgetItem*)> walk = [&](const QTreeWidgetItem* item) {
        shown.emplace_back(codeOf(item), item->childCount());
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i));
    };
    for (int i = 0; i < topLevelItemCount(); ++i)
        walk(topLevelItem(i));
    return nodes == shown;
}

void ProjectTreeView::sync() {
    if (!sameShape()) {
        rebuild();
        return;
    }
    syncing_ = true;
    std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
        if (const TreeNode* n = nodeOf(item)) {
            decorate(item, *n);
            if (item->isExpanded() != n->expanded)
                item->setExpanded(n->expanded);
        }
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i));
    };
    for (int i = 0; i < topLevelItemCount(); ++i)
        walk(topLevelItem(i));
    syncing_ = false;
}

void ProjectTreeView::rebuild() {
    syncing_ = true;
    const int selectedCode = currentItem() ? codeOf(currentItem()) : -1;
    // A selected group node is known by the file node it holds.
    const int selectedGroupFile = selectedCode == node_code::kGroup && currentItem()->childCount() > 0
                                      ? codeOf(currentItem()->child(0))
                                      : -1;
    const int scroll = verticalScrollBar()->value();
    // An open rename survives the rebuild with what has been typed so far.
    std::optional<QString> typed;
    int cursor = 0;
    if (auto* editor = qobject_cast<QLineEdit*>(renameEditor())) {
        typed = editor->text();
        cursor = editor->cursorPosition();
    }
    clear();
    QTreeWidgetItem* reselect = nullptr;
    std::function<void(QTreeWidgetItem*, const TreeNode&)> add = [&](QTreeWidgetItem* parentItem,
                                                                     const TreeNode& node) {
        auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
        item->setData(0, kCodeRole, node.code);
        decorate(item, node);
        if (selectedCode > 0 && node.code == selectedCode)
            reselect = item;
        else if (selectedCode == node_code::kGroup && node.code == node_code::kGroup &&
                 !node.children.empty() && node.children.front()->code == selectedGroupFile)
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
    verticalScrollBar()->setValue(scroll);
    syncing_ = false;
    if (typed && project_.tree.editing) {
        if (QTreeWidgetItem* item = itemForCode(project_.tree.editingCode)) {
            openEditor(item);
            if (auto* editor = qobject_cast<QLineEdit*>(renameEditor())) {
                editor->setText(*typed);
                editor->setCursorPosition(cursor);
            }
        }
    }
    if (rebuilt)
        rebuilt();
}

int ProjectTreeView::namesWidth() const {
    // Every item counts, not only the rows in view or under open nodes: the panel is sized once for
    // the whole tree, so that opening a node shows its names whole.
    const QFontMetrics metrics(font());
    const int icon =
        iconSize().isValid() ? iconSize().width() : style()->pixelMetric(QStyle::PM_SmallIconSize);
    int widest = 0;
    std::function<void(const QTreeWidgetItem*, int)> walk = [&](const QTreeWidgetItem* item, int depth) {
        const int text = metrics.horizontalAdvance(item->text(0));
        widest = std::max(widest, (depth + 1) * indentation() + icon + text + 12);
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), depth + 1);
    };
    for (int i = 0; i < topLevelItemCount(); ++i)
        walk(topLevelItem(i), 0);
    return widest;
}

void ProjectTreeView::repaint() {
    sync();
}

QTreeWidgetItem* ProjectTreeView::itemForCode(int code) const {
    QTreeWidgetItemIterator it(const_cast<ProjectTreeView*>(this));
    for (; *it; ++it)
        if (codeOf(*it) == code)
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
    const auto ref = decodeNodeCode(project_.tree.editingCode);
    if (!item || !ref) {
        project_.tree.editing = false;
        return;
    }
    // The editor holds the name alone; the kind suffix is the program's, not the user's.
    syncing_ = true;
    item->setText(0, project_.model.record(ref->device).Name);
    syncing_ = false;
    openEditor(item);
}

void ProjectTreeView::openEditor(QTreeWidgetItem* item) {
    syncing_ = true;
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    syncing_ = false;
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setCurrentItem(item);
    editItem(item, 0);
}

QWidget* ProjectTreeView::renameEditor() const {
    if (state() != QAbstractItemView::EditingState || !project_.tree.editing)
        return nullptr;
    QTreeWidgetItem* item = itemForCode(project_.tree.editingCode);
    return item ? indexWidget(indexFromItem(item)) : nullptr;
}

void ProjectTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeWidget::closeEditor(editor, hint);
    // A rename left without a change (Escape, focus lost, the same text) ends here: the item shows
    // its full text again and nothing reopens the editor later.
    if (!project_.tree.editing || syncing_)
        return;
    project_.tree.editing = false;
    project_.tree.editingCode = 0;
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    sync();
}

void ProjectTreeView::doubleClick(QTreeWidgetItem* item) {
    TreeNode* node = nodeOf(item);
    if (!node)
        return;
    // Also while the line is busy: the engineer may always move the mark away from a controller that
    // does not answer; the window refuses what must wait (a file that would replace the image).
    project_.activateNode(node);
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

void ProjectTreeView::keyPressEvent(QKeyEvent* event) {
    // The rename key of every file manager; it takes the popup's own path, so it renames exactly where
    // the popup offers "Редактировать" and not while the line is busy.
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
        for (const MenuItem& item : popupForCurrent()) {
            if (item.action == MenuAction::Rename) {
                runMenuItem(item);
                event->accept();
                return;
            }
        }
    }
    QTreeWidget::keyPressEvent(event);
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
