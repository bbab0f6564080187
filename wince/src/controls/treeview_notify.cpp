// The tree's changes that the parent hears of: selection, expansion and
// deletion. The parent may do anything in its handler, even destroy the
// tree, so every step after a notification checks that the tree and the
// item are still there.
#include "treeview.h"

#include "control_util.h"

namespace wince::controls {
namespace {

bool Alive(HWND hwnd, TreeState *s) { return IsWindow(hwnd) && StateOf<TreeState>(hwnd) == s; }

LRESULT SendTreeview(HWND hwnd, TreeState *s, UINT code, UINT action, TreeId oldId, TreeId newId) {
    NMTREEVIEWW nm{};
    nm.action = action;
    TreeNotifyItem(s, oldId, nm.itemOld);
    TreeNotifyItem(s, newId, nm.itemNew);
    return TreeNotify(hwnd, &nm.hdr, code);
}

void SetSelectedFlag(TreeState *s, TreeId id, bool on) {
    if (TreeNode *n = s->items.Node(id)) n->state = on ? (n->state | TVIS_SELECTED) : (n->state & ~TVIS_SELECTED);
}

int RowOf(TreeState *s, TreeId id) {
    std::vector<TreeId> shown = s->items.Shown();
    for (size_t i = 0; i < shown.size(); ++i)
        if (shown[i] == id) return static_cast<int>(i);
    return -1;
}

}  // namespace

LRESULT TreeNotify(HWND hwnd, NMHDR *hdr, UINT code) {
    hdr->hwndFrom = hwnd;
    hdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
    hdr->code = code;
    HWND parent = GetParent(hwnd);
    return parent ? SendMessageW(parent, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr)) : 0;
}

void TreeNotifyItem(TreeState *s, TreeId id, TVITEMW &item) {
    TreeNode *n = s->items.Valid(id) ? s->items.Node(id) : nullptr;
    if (!n) return;
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    item.hItem = TreeItems::Handle(id);
    item.state = n->state;
    item.stateMask = 0xFFFF;
    item.lParam = n->param;
}

bool TreeSelect(HWND hwnd, TreeState *s, TreeId id, UINT cause) {
    if (id != 0 && !s->items.Valid(id)) return false;
    if (id == s->caret) {
        if (id) TreeEnsureVisible(hwnd, s, id);
        return true;
    }
    TreeId old = s->caret;
    if (SendTreeview(hwnd, s, TVN_SELCHANGINGW, cause, old, id)) return false;
    if (!Alive(hwnd, s) || (id && !s->items.Valid(id))) return false;
    if (!s->items.Valid(old)) old = 0;
    SetSelectedFlag(s, old, false);
    SetSelectedFlag(s, id, true);
    s->caret = id;
    // The new selection is shown: its branch opens and it scrolls into view.
    if (id) TreeEnsureVisible(hwnd, s, id);
    if (!Alive(hwnd, s)) return false;
    TreeRefresh(hwnd, s);
    SendTreeview(hwnd, s, TVN_SELCHANGEDW, cause, old, s->caret);
    return true;
}

bool TreeExpand(HWND hwnd, TreeState *s, TreeId id, UINT code, bool byUser) {
    TreeNode *n = s->items.Node(id);
    if (!n || !s->items.Valid(id)) return false;
    UINT action = code & TVE_ACTIONMASK;
    bool expanded = (n->state & TVIS_EXPANDED) != 0;
    if (action == TVE_TOGGLE) action = expanded ? TVE_COLLAPSE : TVE_EXPAND;
    if (action == TVE_EXPAND) {
        if (expanded) return true;
        if (!s->items.HasChildren(id)) return false;
    } else if (action == TVE_COLLAPSE) {
        if (!expanded) return false;
    } else {
        return false;
    }
    // A program's own request is told to the parent only until the item
    // has been expanded once; the user's every change is.
    bool tell = byUser || !(n->state & TVIS_EXPANDEDONCE);
    if (tell) {
        if (SendTreeview(hwnd, s, TVN_ITEMEXPANDINGW, action, 0, id)) return false;
        if (!Alive(hwnd, s) || !s->items.Valid(id)) return false;
        n = s->items.Node(id);
    }
    if (action == TVE_EXPAND) {
        n->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    } else {
        n->state &= ~TVIS_EXPANDED;
        if (code & TVE_COLLAPSERESET) {
            n->state &= ~TVIS_EXPANDEDONCE;
            while (TreeId child = s->items.FirstChild(id)) {
                if (!TreeDelete(hwnd, s, child) || !Alive(hwnd, s)) return false;
            }
        }
        // A selection inside the closed branch moves up to the item.
        if (s->items.IsAncestor(id, s->caret)) {
            TreeSelect(hwnd, s, id, TVC_UNKNOWN);
            if (!Alive(hwnd, s)) return false;
        }
    }
    TreeRefresh(hwnd, s);
    if (tell && s->items.Valid(id)) SendTreeview(hwnd, s, TVN_ITEMEXPANDEDW, action, 0, id);
    return true;
}

bool TreeDelete(HWND hwnd, TreeState *s, TreeId id) {
    if (id == TreeItems::kRoot) {
        while (TreeId top = s->items.FirstChild(TreeItems::kRoot))
            if (!TreeDelete(hwnd, s, top) || !Alive(hwnd, s)) return false;
        return true;
    }
    if (!s->items.Valid(id)) return false;
    // The selection leaves the branch first, for the next sibling, else the
    // parent, else the previous sibling.
    if (s->caret == id || s->items.IsAncestor(id, s->caret)) {
        TreeId heir = s->items.Next(id);
        if (!heir) heir = s->items.Parent(id);
        if (!heir) heir = s->items.Previous(id);
        TreeSelect(hwnd, s, heir, TVC_UNKNOWN);
        if (!Alive(hwnd, s) || !s->items.Valid(id)) return false;
        if (s->caret == id || s->items.IsAncestor(id, s->caret)) {
            // The parent refused the move; the selection goes with the item.
            SetSelectedFlag(s, s->caret, false);
            s->caret = 0;
        }
    }
    for (TreeId gone : s->items.SubtreeChildrenFirst(id)) {
        NMTREEVIEWW nm{};
        TreeNotifyItem(s, gone, nm.itemOld);
        TreeNotify(hwnd, &nm.hdr, TVN_DELETEITEMW);
        if (!Alive(hwnd, s)) return false;
    }
    if (s->dropHilite == id || s->items.IsAncestor(id, s->dropHilite)) s->dropHilite = 0;
    s->items.Remove(id);
    TreeRefresh(hwnd, s);
    return true;
}

bool TreeEnsureVisible(HWND hwnd, TreeState *s, TreeId id) {
    if (!s->items.Valid(id)) return false;
    // The branches open from the top down, as a user would open them.
    std::vector<TreeId> closed;
    for (TreeId at = s->items.Parent(id); s->items.Valid(at); at = s->items.Parent(at))
        if (!s->items.Expanded(at)) closed.insert(closed.begin(), at);
    for (TreeId at : closed)
        if (!TreeExpand(hwnd, s, at, TVE_EXPAND, false) || !Alive(hwnd, s)) return false;
    bool expandedAny = !closed.empty();
    int row = RowOf(s, id);
    if (row < 0) return false;
    bool scrolled = TreeScrollToRow(hwnd, s, row);
    return scrolled && !expandedAny;
}

}  // namespace wince::controls
