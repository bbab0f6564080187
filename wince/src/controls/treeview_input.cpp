// The stylus and the keys in a tree: a tap on a button opens or closes its
// branch, a tap on a label selects the item, a hold asks for its context
// menu; the arrows move the selection and open and close branches.
#include <aygshell.h>

#include <algorithm>

#include "control_util.h"
#include "treeview.h"

namespace wince::controls {
namespace {

bool Alive(HWND hwnd, TreeState *s) { return IsWindow(hwnd) && StateOf<TreeState>(hwnd) == s; }

// The parent may take the hold for itself (a non-zero answer); otherwise
// a hold selects the item and the parent gets GN_CONTEXTMENU for it.
bool HeldForMenu(HWND hwnd, TreeState *s, TreeId id, POINT client) {
    NMRGINFO ask{};
    ask.ptAction = client;
    ask.dwItemSpec = static_cast<DWORD>(reinterpret_cast<uintptr_t>(TreeItems::Handle(id)));
    if (TreeNotify(hwnd, &ask.hdr, NM_RECOGNIZEGESTURE) || !Alive(hwnd, s)) return false;
    SHRGINFO gesture{sizeof gesture, hwnd, client, SHRG_RETURNCMD};
    if (SHRecognizeGesture(&gesture) != GN_CONTEXTMENU || !Alive(hwnd, s)) return false;
    if (!TreeSelect(hwnd, s, id, TVC_BYMOUSE) || !Alive(hwnd, s)) return true;
    NMRGINFO menu{};
    menu.ptAction = client;
    ClientToScreen(hwnd, &menu.ptAction);
    menu.dwItemSpec = ask.dwItemSpec;
    TreeNotify(hwnd, &menu.hdr, GN_CONTEXTMENU);
    return true;
}

int RowOf(const std::vector<TreeId> &shown, TreeId id) {
    for (size_t i = 0; i < shown.size(); ++i)
        if (shown[i] == id) return static_cast<int>(i);
    return -1;
}

}  // namespace

void TreeLButtonDown(HWND hwnd, TreeState *s, LPARAM lParam) {
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
        if (!Alive(hwnd, s)) return;
    }
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    UINT flags = 0;
    TreeId id = TreeHitTest(hwnd, s, pt, &flags);
    if (id && (flags & TVHT_ONITEMBUTTON)) {
        TreeExpand(hwnd, s, id, TVE_TOGGLE, true);
        return;
    }
    bool onItem = id && (flags & (TVHT_ONITEM | ((TreeStyle(hwnd) & TVS_FULLROWSELECT) ? TVHT_ONITEMRIGHT : 0)));
    if (onItem && HeldForMenu(hwnd, s, id, pt)) return;
    if (!Alive(hwnd, s)) return;
    NMHDR click{};
    if (TreeNotify(hwnd, &click, NM_CLICK) || !Alive(hwnd, s)) return;  // the parent handled the tap
    if (onItem) TreeSelect(hwnd, s, id, TVC_BYMOUSE);
}

void TreeKeyDown(HWND hwnd, TreeState *s, WPARAM key) {
    NMTVKEYDOWN down{};
    down.wVKey = static_cast<WORD>(key);
    TreeNotify(hwnd, &down.hdr, TVN_KEYDOWN);
    if (!Alive(hwnd, s)) return;
    std::vector<TreeId> shown = s->items.Shown();
    if (shown.empty()) return;
    int last = static_cast<int>(shown.size()) - 1;
    int row = RowOf(shown, s->caret);
    int page = std::max(1, TreeVisibleRows(hwnd, s) - 1);
    int target = -1;
    switch (key) {
        case VK_UP:
            target = row < 0 ? 0 : std::max(0, row - 1);
            break;
        case VK_DOWN:
            target = row < 0 ? 0 : std::min(last, row + 1);
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = last;
            break;
        case VK_PRIOR:
            target = std::max(0, (row < 0 ? 0 : row) - page);
            break;
        case VK_NEXT:
            target = std::min(last, (row < 0 ? 0 : row) + page);
            break;
        case VK_RIGHT:
            if (row < 0) target = 0;
            else if (!s->items.HasChildren(s->caret)) return;
            else if (!s->items.Expanded(s->caret)) TreeExpand(hwnd, s, s->caret, TVE_EXPAND, true);
            else if (TreeId child = s->items.FirstChild(s->caret)) TreeSelect(hwnd, s, child, TVC_BYKEYBOARD);
            break;
        case VK_LEFT:
            if (row < 0) target = 0;
            else if (s->items.Expanded(s->caret)) TreeExpand(hwnd, s, s->caret, TVE_COLLAPSE, true);
            else if (TreeId parent = s->items.Parent(s->caret)) TreeSelect(hwnd, s, parent, TVC_BYKEYBOARD);
            break;
        case VK_RETURN: {
            NMHDR ret{};
            TreeNotify(hwnd, &ret, NM_RETURN);
            return;
        }
        default:
            return;
    }
    if (target >= 0) TreeSelect(hwnd, s, shown[static_cast<size_t>(target)], TVC_BYKEYBOARD);
}

}  // namespace wince::controls
