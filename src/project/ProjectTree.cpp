#include "ProjectTree.h"

#include "NodeCode.h"

namespace vextor {

TreeNode* TreeNode::addChild(const QString& childText, int childCode) {
    auto node = std::make_unique<TreeNode>();
    node->text = childText;
    node->code = childCode;
    node->parent = this;
    children.push_back(std::move(node));
    return children.back().get();
}

void ProjectTree::clear() {
    topLevel.clear();
    editing = false;
    editingCode = 0;
}

TreeNode* ProjectTree::addTopLevel(const QString& text, int code) {
    auto node = std::make_unique<TreeNode>();
    node->text = text;
    node->code = code;
    topLevel.push_back(std::move(node));
    return topLevel.back().get();
}

namespace {
void walk(TreeNode& node, const std::function<void(TreeNode&)>& f) {
    f(node);
    for (auto& child : node.children)
        walk(*child, f);
}
} // namespace

void ProjectTree::forEach(const std::function<void(TreeNode&)>& f) const {
    for (const auto& node : topLevel)
        walk(*node, f);
}

TreeNode* ProjectTree::findCode(int code) const {
    TreeNode* found = nullptr;
    forEach([&](TreeNode& n) {
        if (!found && n.code == code)
            found = &n;
    });
    return found;
}

void ProjectTree::expandAll() {
    forEach([](TreeNode& n) { n.expanded = true; });
}

void ProjectTree::collapseToDevices() {
    forEach([](TreeNode& n) { n.expanded = n.code == node_code::kRoot || n.code == node_code::kSlaveLine; });
    if (TreeNode* r = root())
        r->expanded = true;
}

void ProjectTree::expandToFile(int code) {
    const auto ref = decodeNodeCode(code);
    if (!ref || !isFileRole(ref->role))
        return;
    TreeNode* node = findCode(code);
    if (!node)
        return;
    for (TreeNode* up = node->parent; up; up = up->parent) {
        up->expanded = true;
        if (up->code == deviceNodeCode(ref->device))
            break;
    }
}

void ProjectTree::revealFileNode(int code) {
    collapseToDevices();
    expandToFile(code);
}

} // namespace vextor
