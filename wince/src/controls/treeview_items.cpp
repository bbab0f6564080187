#include "treeview_items.h"

#include <algorithm>

namespace wince::controls {

TreeId TreeItems::Resolve(HTREEITEM h) const {
    if (!h || h == TVI_ROOT) return kRoot;
    auto id = reinterpret_cast<TreeId>(h);
    return Valid(id) ? id : kNone;
}

TreeNode *TreeItems::Node(TreeId id) {
    auto it = nodes_.find(id);
    return it == nodes_.end() ? nullptr : &it->second;
}

const TreeNode *TreeItems::Node(TreeId id) const {
    auto it = nodes_.find(id);
    return it == nodes_.end() ? nullptr : &it->second;
}

TreeId TreeItems::Insert(TreeId parent, HTREEITEM after, TreeNode node) {
    TreeNode *p = Node(parent);
    if (!p) return 0;
    std::vector<TreeId> &kids = p->kids;
    size_t at;
    if (after == TVI_FIRST) {
        at = 0;
    } else if (after == TVI_LAST || !after) {
        at = kids.size();
    } else if (after == TVI_SORT) {
        // After every sibling that does not sort after it, so equal texts
        // keep the order they came in; a text the parent supplies goes last.
        at = 0;
        while (at < kids.size()) {
            const TreeNode *k = Node(kids[at]);
            if (!node.textCallback &&
                (k->textCallback || lstrcmpiW(k->text.c_str(), node.text.c_str()) > 0))
                break;
            ++at;
        }
    } else {
        auto it = std::find(kids.begin(), kids.end(), reinterpret_cast<TreeId>(after));
        if (it == kids.end()) return 0;
        at = static_cast<size_t>(it - kids.begin()) + 1;
    }
    TreeId id = nextId_++;
    node.parent = parent;
    node.kids.clear();
    nodes_[id] = std::move(node);
    // The map may have moved its nodes: find the parent again.
    std::vector<TreeId> &siblings = Node(parent)->kids;
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(at), id);
    return id;
}

std::vector<TreeId> TreeItems::SubtreeChildrenFirst(TreeId id) const {
    std::vector<TreeId> out;
    const TreeNode *n = Node(id);
    if (!n) return out;
    for (TreeId k : n->kids) {
        std::vector<TreeId> sub = SubtreeChildrenFirst(k);
        out.insert(out.end(), sub.begin(), sub.end());
    }
    out.push_back(id);
    return out;
}

void TreeItems::Remove(TreeId id) {
    if (!Valid(id)) return;
    std::vector<TreeId> gone = SubtreeChildrenFirst(id);
    if (TreeNode *p = Node(Node(id)->parent)) p->kids.erase(std::remove(p->kids.begin(), p->kids.end(), id), p->kids.end());
    for (TreeId g : gone) nodes_.erase(g);
}

TreeId TreeItems::Parent(TreeId id) const {
    const TreeNode *n = Node(id);
    return n && id != kRoot ? n->parent : kRoot;
}

TreeId TreeItems::FirstChild(TreeId id) const {
    const TreeNode *n = Node(id);
    return n && !n->kids.empty() ? n->kids.front() : 0;
}

TreeId TreeItems::Next(TreeId id) const {
    if (!Valid(id)) return 0;
    const std::vector<TreeId> &kids = Node(Parent(id))->kids;
    auto it = std::find(kids.begin(), kids.end(), id);
    return it + 1 < kids.end() ? *(it + 1) : 0;
}

TreeId TreeItems::Previous(TreeId id) const {
    if (!Valid(id)) return 0;
    const std::vector<TreeId> &kids = Node(Parent(id))->kids;
    auto it = std::find(kids.begin(), kids.end(), id);
    return it != kids.begin() && it != kids.end() ? *(it - 1) : 0;
}

int TreeItems::Level(TreeId id) const {
    int level = -1;
    for (TreeId at = id; Valid(at); at = Parent(at)) ++level;
    return level;
}

bool TreeItems::IsAncestor(TreeId ancestor, TreeId id) const {
    for (TreeId at = Parent(id); Valid(at); at = Parent(at))
        if (at == ancestor) return true;
    return false;
}

bool TreeItems::HasChildren(TreeId id) const {
    const TreeNode *n = Node(id);
    return n && (!n->kids.empty() || n->children != 0);
}

bool TreeItems::Expanded(TreeId id) const {
    const TreeNode *n = Node(id);
    return n && (n->state & TVIS_EXPANDED);
}

std::vector<TreeId> TreeItems::Shown() const {
    std::vector<TreeId> out;
    // Depth first with an explicit stack, so a deep tree cannot exhaust
    // the call stack.
    std::vector<TreeId> stack(Node(kRoot)->kids.rbegin(), Node(kRoot)->kids.rend());
    while (!stack.empty()) {
        TreeId id = stack.back();
        stack.pop_back();
        out.push_back(id);
        const TreeNode *n = Node(id);
        if (n->state & TVIS_EXPANDED) stack.insert(stack.end(), n->kids.rbegin(), n->kids.rend());
    }
    return out;
}

}  // namespace wince::controls
