// The items of a tree view: a forest of nodes under an invisible root, each
// known to the program by a handle that is never reused, so that a stale
// handle is recognised instead of reaching another item.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace wince::controls {

using TreeId = uintptr_t;  // 0 is the invisible root

struct TreeNode {
    std::u16string text;
    bool textCallback = false;  // LPSTR_TEXTCALLBACK: the parent supplies the text
    int image = 0, selectedImage = 0;
    UINT state = 0;
    LPARAM param = 0;
    int children = 0;  // cChildren as the program set it (I_CHILDRENCALLBACK: ask)
    TreeId parent = 0;
    std::vector<TreeId> kids;
};

class TreeItems {
   public:
    static constexpr TreeId kRoot = 0;
    static constexpr TreeId kNone = ~TreeId(0);
    TreeItems() { nodes_[kRoot] = TreeNode{}; }

    // The item behind a handle: the root for null and TVI_ROOT, kNone for
    // anything that is not an item of this tree.
    TreeId Resolve(HTREEITEM h) const;
    static HTREEITEM Handle(TreeId id) { return reinterpret_cast<HTREEITEM>(id); }
    TreeNode *Node(TreeId id);
    const TreeNode *Node(TreeId id) const;
    bool Valid(TreeId id) const { return id != kRoot && nodes_.count(id) != 0; }

    // Inserts under parent after `after` (an item, TVI_FIRST, TVI_LAST or
    // TVI_SORT); 0 when `after` is neither one of these nor a child of parent.
    TreeId Insert(TreeId parent, HTREEITEM after, TreeNode node);
    // Removes the item and everything under it, without telling anyone.
    void Remove(TreeId id);
    // The item and everything under it, children before their parent.
    std::vector<TreeId> SubtreeChildrenFirst(TreeId id) const;

    TreeId Parent(TreeId id) const;
    TreeId FirstChild(TreeId id) const;
    TreeId Next(TreeId id) const;
    TreeId Previous(TreeId id) const;
    int Level(TreeId id) const;  // 0 for a top item
    bool IsAncestor(TreeId ancestor, TreeId id) const;
    // Whether the item has children, or says it has (cChildren).
    bool HasChildren(TreeId id) const;
    bool Expanded(TreeId id) const;

    // The items a user can see by scrolling: top items and the children of
    // expanded items whose ancestors are all expanded, in display order.
    std::vector<TreeId> Shown() const;
    size_t Count() const { return nodes_.size() - 1; }

   private:
    std::unordered_map<TreeId, TreeNode> nodes_;
    TreeId nextId_ = 1;
};

}  // namespace wince::controls
