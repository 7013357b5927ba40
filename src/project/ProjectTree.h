#pragma once
// The project tree as plain data: what a view shows (text, mark, type face, colour, expansion)
// and the code that tells each node's device and role. The view only mirrors it.
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace vextor {

struct TreeNode {
    QString text;
    int code = 0;
    bool marked = false; // state image 1
    bool bold = false;
    bool underline = false;
    bool red = false;
    bool expanded = false;
    TreeNode* parent = nullptr;
    std::vector<std::unique_ptr<TreeNode>> children;

    TreeNode* addChild(const QString& text, int code);
};

class ProjectTree {
public:
    // Top-level nodes: the root first; the slave line and singles may follow it at the top level.
    std::vector<std::unique_ptr<TreeNode>> topLevel;
    // True while a device name is being edited in place.
    bool editing = false;
    int editingCode = 0;

    void clear();
    TreeNode* addTopLevel(const QString& text, int code);
    TreeNode* root() const { return topLevel.empty() ? nullptr : topLevel.front().get(); }
    bool holdsOnlyRoot() const { return topLevel.size() == 1 && topLevel.front()->children.empty(); }

    // Depth-first, in display order.
    void forEach(const std::function<void(TreeNode&)>& f) const;
    TreeNode* findCode(int code) const;

    void expandAll();
    // Collapse everything, then open the root and the slave line so every device is in view.
    void collapseToDevices();
    // Open the group and the device above the file node with this code (nothing if there is none).
    void expandToFile(int code);
    void revealFileNode(int code);
};

} // namespace vextor
