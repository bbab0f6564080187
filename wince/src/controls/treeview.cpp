// The "SysTreeView32" window procedure: one handler per message.
#include "treeview.h"

#include <algorithm>

#include "control_util.h"
#include "window/window_class.h"

namespace wince::controls {
namespace {

TreeNode ItemFrom(const TVITEMW &item) {
    TreeNode n;
    if (item.mask & TVIF_TEXT) {
        if (item.pszText == LPSTR_TEXTCALLBACKW) n.textCallback = true;
        else if (item.pszText) n.text = item.pszText;
    }
    if (item.mask & TVIF_IMAGE) n.image = item.iImage;
    if (item.mask & TVIF_SELECTEDIMAGE) n.selectedImage = item.iSelectedImage;
    // The selection belongs to the caret, never to a stored flag.
    if (item.mask & TVIF_STATE) n.state = item.state & item.stateMask & ~TVIS_SELECTED;
    if (item.mask & TVIF_PARAM) n.param = item.lParam;
    if (item.mask & TVIF_CHILDREN) n.children = item.cChildren;
    return n;
}

LRESULT InsertItem(HWND hwnd, TreeState *s, const TVINSERTSTRUCTW *insert) {
    if (!insert) return 0;
    TreeId parent = s->items.Resolve(insert->hParent);
    if (parent == TreeItems::kNone) return 0;
    TreeId id = s->items.Insert(parent, insert->hInsertAfter, ItemFrom(insert->item));
    if (!id) return 0;
    TreeRefresh(hwnd, s);
    return reinterpret_cast<LRESULT>(TreeItems::Handle(id));
}

LRESULT GetItem(HWND hwnd, TreeState *s, TVITEMW *item) {
    if (!item) return FALSE;
    TreeId id = s->items.Resolve(item->hItem);
    if (!s->items.Valid(id)) return FALSE;
    const TreeNode n = *s->items.Node(id);
    if (item->mask & TVIF_TEXT) {
        if (n.textCallback) {
            item->pszText = LPSTR_TEXTCALLBACKW;
        } else if (item->pszText && item->cchTextMax > 0) {
            size_t count = std::min(n.text.size(), static_cast<size_t>(item->cchTextMax - 1));
            std::copy_n(n.text.data(), count, item->pszText);
            item->pszText[count] = u'\0';
        }
    }
    if (item->mask & TVIF_IMAGE) item->iImage = n.image;
    if (item->mask & TVIF_SELECTEDIMAGE) item->iSelectedImage = n.selectedImage;
    // All the state bits, whatever stateMask says, as the control does.
    if (item->mask & TVIF_STATE) item->state = n.state;
    if (item->mask & TVIF_PARAM) item->lParam = n.param;
    if (item->mask & TVIF_CHILDREN) item->cChildren = n.children ? n.children : (n.kids.empty() ? 0 : 1);
    (void)hwnd;
    return TRUE;
}

LRESULT SetItem(HWND hwnd, TreeState *s, const TVITEMW *item) {
    if (!item) return FALSE;
    TreeId id = s->items.Resolve(item->hItem);
    if (!s->items.Valid(id)) return FALSE;
    TreeNode *n = s->items.Node(id);
    if (item->mask & TVIF_TEXT) {
        n->textCallback = item->pszText == LPSTR_TEXTCALLBACKW;
        n->text = n->textCallback || !item->pszText ? u"" : item->pszText;
    }
    if (item->mask & TVIF_IMAGE) n->image = item->iImage;
    if (item->mask & TVIF_SELECTEDIMAGE) n->selectedImage = item->iSelectedImage;
    if (item->mask & TVIF_STATE) {
        UINT mask = item->stateMask & ~TVIS_SELECTED;
        n->state = (n->state & ~mask) | (item->state & mask);
    }
    if (item->mask & TVIF_PARAM) n->param = item->lParam;
    if (item->mask & TVIF_CHILDREN) n->children = item->cChildren;
    TreeRefresh(hwnd, s);
    return TRUE;
}

int RowOf(TreeState *s, TreeId id) {
    std::vector<TreeId> shown = s->items.Shown();
    auto it = std::find(shown.begin(), shown.end(), id);
    return it == shown.end() ? -1 : static_cast<int>(it - shown.begin());
}

TreeId NextItem(HWND hwnd, TreeState *s, WPARAM code, HTREEITEM from) {
    TreeItems &items = s->items;
    TreeId id = items.Resolve(from);
    std::vector<TreeId> shown;
    switch (code) {
        case TVGN_ROOT:
            return items.FirstChild(TreeItems::kRoot);
        case TVGN_CARET:
            return s->caret;
        case TVGN_DROPHILITE:
            return s->dropHilite;
        case TVGN_FIRSTVISIBLE:
            shown = items.Shown();
            return s->top < static_cast<int>(shown.size()) ? shown[static_cast<size_t>(s->top)] : 0;
        case TVGN_LASTVISIBLE:
            shown = items.Shown();
            return shown.empty() ? 0 : shown.back();
        case TVGN_CHILD:
            return id == TreeItems::kNone ? 0 : items.FirstChild(id);
    }
    if (!items.Valid(id)) return 0;
    switch (code) {
        case TVGN_NEXT:
            return items.Next(id);
        case TVGN_PREVIOUS:
            return items.Previous(id);
        case TVGN_PARENT:
            return items.Parent(id);
        case TVGN_NEXTVISIBLE:
        case TVGN_PREVIOUSVISIBLE: {
            int row = RowOf(s, id);
            if (row < 0) return 0;
            shown = items.Shown();
            int to = row + (code == TVGN_NEXTVISIBLE ? 1 : -1);
            return to >= 0 && to < static_cast<int>(shown.size()) ? shown[static_cast<size_t>(to)] : 0;
        }
    }
    (void)hwnd;
    return 0;
}

LRESULT SelectItem(HWND hwnd, TreeState *s, WPARAM code, HTREEITEM item) {
    TreeId id = s->items.Resolve(item);
    if (id == TreeItems::kNone) return FALSE;
    switch (code) {
        case TVGN_CARET:
            return TreeSelect(hwnd, s, id, TVC_UNKNOWN);
        case TVGN_DROPHILITE:
            s->dropHilite = id;
            TreeRefresh(hwnd, s);
            return TRUE;
        case TVGN_FIRSTVISIBLE: {
            if (!s->items.Valid(id)) return FALSE;
            TreeEnsureVisible(hwnd, s, id);
            if (!IsWindow(hwnd)) return FALSE;
            int row = RowOf(s, id);
            if (row < 0) return FALSE;
            s->top = row;
            TreeRefresh(hwnd, s);
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT GetItemRect(HWND hwnd, TreeState *s, BOOL textOnly, RECT *rect) {
    if (!rect) return FALSE;
    TreeId id = s->items.Resolve(*reinterpret_cast<HTREEITEM *>(rect));
    if (!s->items.Valid(id)) return FALSE;
    int row = RowOf(s, id);
    if (row < 0) return FALSE;  // inside a closed branch
    TreeRow r = TreeRowOf(hwnd, s, id, row);
    *rect = textOnly ? r.label : r.row;
    return TRUE;
}

LRESULT HitTest(HWND hwnd, TreeState *s, TVHITTESTINFO *info) {
    if (!info) return 0;
    TreeId id = TreeHitTest(hwnd, s, info->pt, &info->flags);
    info->hItem = TreeItems::Handle(id);
    return reinterpret_cast<LRESULT>(info->hItem);
}

LRESULT SetImageList(HWND hwnd, TreeState *s, WPARAM which, HIMAGELIST list) {
    if (which != TVSIL_NORMAL && which != TVSIL_STATE) return 0;
    HIMAGELIST &slot = which == TVSIL_NORMAL ? s->images : s->stateImages;
    HIMAGELIST old = slot;
    slot = list;
    TreeRefresh(hwnd, s);
    return reinterpret_cast<LRESULT>(old);
}

// The items go with the window; the parent still hears of each, so that it
// can free what it keeps in their lParam.
void Destroy(HWND hwnd, TreeState *s) {
    s->caret = 0;
    for (TreeId top : std::vector<TreeId>(s->items.Node(TreeItems::kRoot)->kids))
        for (TreeId gone : s->items.SubtreeChildrenFirst(top)) {
            NMTREEVIEWW nm{};
            TreeNotifyItem(s, gone, nm.itemOld);
            TreeNotify(hwnd, &nm.hdr, TVN_DELETEITEMW);
        }
    SetState(hwnd, nullptr);
    delete s;
}

void FocusChanged(HWND hwnd, TreeState *s, bool focused) {
    s->focused = focused;
    InvalidateRect(hwnd, nullptr, TRUE);
    NMHDR hdr{};
    TreeNotify(hwnd, &hdr, focused ? NM_SETFOCUS : NM_KILLFOCUS);
}

LRESULT CALLBACK TreeViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *s = StateOf<TreeState>(hwnd);
    if (msg == WM_CREATE) {
        SetState(hwnd, new TreeState);
        return 0;
    }
    if (!s) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_DESTROY:
            Destroy(hwnd, s);
            return 0;
        case WM_SETFONT:
            s->font = reinterpret_cast<HFONT>(wParam);
            TreeRefresh(hwnd, s);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(s->font);
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            FocusChanged(hwnd, s, msg == WM_SETFOCUS);
            return 0;
        case WM_SIZE:
            TreeRefresh(hwnd, s);
            return 0;
        case WM_VSCROLL:
            TreeScroll(hwnd, s, wParam);
            return 0;
        case WM_LBUTTONDOWN:
            TreeLButtonDown(hwnd, s, lParam);
            return 0;
        case WM_KEYDOWN:
            TreeKeyDown(hwnd, s, wParam);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            TreePaint(hwnd, s);
            return 0;
        case TVM_INSERTITEMW:
            return InsertItem(hwnd, s, reinterpret_cast<const TVINSERTSTRUCTW *>(lParam));
        case TVM_DELETEITEM: {
            TreeId id = s->items.Resolve(reinterpret_cast<HTREEITEM>(lParam));
            return id != TreeItems::kNone && TreeDelete(hwnd, s, id);
        }
        case TVM_EXPAND:
            return TreeExpand(hwnd, s, s->items.Resolve(reinterpret_cast<HTREEITEM>(lParam)),
                              static_cast<UINT>(wParam), false);
        case TVM_GETITEMRECT:
            return GetItemRect(hwnd, s, static_cast<BOOL>(wParam), reinterpret_cast<RECT *>(lParam));
        case TVM_GETCOUNT:
            return static_cast<LRESULT>(s->items.Count());
        case TVM_GETINDENT:
            return TreeIndent(s);
        case TVM_GETITEMHEIGHT:
            return TreeRowHeight(s);
        case TVM_GETVISIBLECOUNT:
            return TreeVisibleRows(hwnd, s);
        case TVM_SETIMAGELIST:
            return SetImageList(hwnd, s, wParam, reinterpret_cast<HIMAGELIST>(lParam));
        case TVM_GETIMAGELIST:
            return reinterpret_cast<LRESULT>(wParam == TVSIL_NORMAL  ? s->images
                                             : wParam == TVSIL_STATE ? s->stateImages
                                                                     : nullptr);
        case TVM_GETNEXTITEM:
            return reinterpret_cast<LRESULT>(
                TreeItems::Handle(NextItem(hwnd, s, wParam, reinterpret_cast<HTREEITEM>(lParam))));
        case TVM_SELECTITEM:
            return SelectItem(hwnd, s, wParam, reinterpret_cast<HTREEITEM>(lParam));
        case TVM_GETITEMW:
            return GetItem(hwnd, s, reinterpret_cast<TVITEMW *>(lParam));
        case TVM_SETITEMW:
            return SetItem(hwnd, s, reinterpret_cast<const TVITEMW *>(lParam));
        case TVM_HITTEST:
            return HitTest(hwnd, s, reinterpret_cast<TVHITTESTINFO *>(lParam));
        case TVM_ENSUREVISIBLE:
            return TreeEnsureVisible(hwnd, s, s->items.Resolve(reinterpret_cast<HTREEITEM>(lParam)));
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct Registration {
    Registration() {
        AddSystemClassRegistrar([] { RegisterControlClass(WC_TREEVIEWW, TreeViewProc); });
    }
} registration;

}  // namespace
}  // namespace wince::controls
