// The "SysTabControl32" class: TCM_ messages, a tap or an arrow key that
// chooses a tab (TCN_SELCHANGING, which the parent may refuse, then
// TCN_SELCHANGE), and its items for the dump and a script's click.
#include <commctrl.h>

#include <algorithm>

#include "control_util.h"
#include "tab.h"
#include "window/item_report.h"
#include "window/window_class.h"

namespace wince::controls {
namespace {

LRESULT Notify(HWND hwnd, UINT code) {
    HWND parent = GetParent(hwnd);
    if (!parent) return 0;
    NMHDR hdr{hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), code};
    return SendMessageW(parent, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

// A choice the user made: the parent may keep the current tab.
void UserSelect(HWND hwnd, TabState *s, int index) {
    if (index < 0 || index >= static_cast<int>(s->items.size()) || index == s->selected) return;
    if (Notify(hwnd, TCN_SELCHANGING)) return;
    if (!IsWindow(hwnd) || index >= static_cast<int>(s->items.size())) return;
    s->selected = index;
    InvalidateRect(hwnd, nullptr, TRUE);
    Notify(hwnd, TCN_SELCHANGE);
}

bool Valid(const TabState *s, WPARAM index) { return index < s->items.size(); }

LRESULT InsertItem(HWND hwnd, TabState *s, WPARAM wParam, const TCITEMW *in) {
    if (!in || static_cast<int>(wParam) < 0) return -1;
    TabItem item;
    if ((in->mask & TCIF_TEXT) && in->pszText) item.text = in->pszText;
    if (in->mask & TCIF_IMAGE) item.image = in->iImage;
    if (in->mask & TCIF_PARAM) item.param = in->lParam;
    if (in->mask & TCIF_STATE) item.state = in->dwState & in->dwStateMask;
    size_t at = std::min<size_t>(wParam, s->items.size());
    s->items.insert(s->items.begin() + static_cast<ptrdiff_t>(at), item);
    if (s->selected >= static_cast<int>(at)) s->selected++;
    // The first tab of an empty control is the chosen one.
    if (s->items.size() == 1) s->selected = 0;
    InvalidateRect(hwnd, nullptr, TRUE);
    return static_cast<LRESULT>(at);
}

LRESULT DeleteItem(HWND hwnd, TabState *s, WPARAM index) {
    if (!Valid(s, index)) return FALSE;
    s->items.erase(s->items.begin() + static_cast<ptrdiff_t>(index));
    int i = static_cast<int>(index);
    if (s->selected == i) s->selected = -1;
    else if (s->selected > i) s->selected--;
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT GetItem(const TabState *s, WPARAM index, TCITEMW *out) {
    if (!out || !Valid(s, index)) return FALSE;
    const TabItem &item = s->items[index];
    if ((out->mask & TCIF_TEXT) && out->pszText && out->cchTextMax > 0)
        lstrcpynW(out->pszText, item.text.c_str(), out->cchTextMax);
    if (out->mask & TCIF_IMAGE) out->iImage = item.image;
    if (out->mask & TCIF_PARAM) out->lParam = item.param;
    if (out->mask & TCIF_STATE) out->dwState = item.state & out->dwStateMask;
    return TRUE;
}

LRESULT SetItem(HWND hwnd, TabState *s, WPARAM index, const TCITEMW *in) {
    if (!in || !Valid(s, index)) return FALSE;
    TabItem &item = s->items[index];
    if (in->mask & TCIF_TEXT) item.text = in->pszText ? in->pszText : u"";
    if (in->mask & TCIF_IMAGE) item.image = in->iImage;
    if (in->mask & TCIF_PARAM) item.param = in->lParam;
    if (in->mask & TCIF_STATE) item.state = (item.state & ~in->dwStateMask) | (in->dwState & in->dwStateMask);
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT SetCurSel(HWND hwnd, TabState *s, WPARAM index) {
    if (!Valid(s, index)) return -1;
    int previous = s->selected;
    s->selected = static_cast<int>(index);
    InvalidateRect(hwnd, nullptr, TRUE);
    return previous;
}

LRESULT ItemRect(HWND hwnd, const TabState *s, WPARAM index, RECT *out) {
    if (!out || !Valid(s, index)) return FALSE;
    *out = TabRects(hwnd, *s)[index];
    return TRUE;
}

LRESULT HitTest(HWND hwnd, const TabState *s, TCHITTESTINFO *info) {
    if (!info) return -1;
    int index = TabAt(hwnd, *s, info->pt);
    info->flags = index < 0 ? TCHT_NOWHERE : TCHT_ONITEMLABEL;
    return index;
}

void KeyDown(HWND hwnd, TabState *s, WPARAM key) {
    if (key != VK_LEFT && key != VK_RIGHT) return;
    int step = key == VK_LEFT ? -1 : 1;
    UserSelect(hwnd, s, s->selected + step);
}

LRESULT TabMessage(HWND hwnd, TabState *s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case TCM_GETITEMCOUNT:
            return static_cast<LRESULT>(s->items.size());
        case TCM_INSERTITEMW:
            return InsertItem(hwnd, s, wParam, reinterpret_cast<const TCITEMW *>(lParam));
        case TCM_DELETEITEM:
            return DeleteItem(hwnd, s, wParam);
        case TCM_DELETEALLITEMS:
            s->items.clear();
            s->selected = -1;
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        case TCM_GETITEMW:
            return GetItem(s, wParam, reinterpret_cast<TCITEMW *>(lParam));
        case TCM_SETITEMW:
            return SetItem(hwnd, s, wParam, reinterpret_cast<const TCITEMW *>(lParam));
        case TCM_GETCURSEL:
        case TCM_GETCURFOCUS:
            return s->selected;
        case TCM_SETCURSEL:
        case TCM_SETCURFOCUS:
            return SetCurSel(hwnd, s, wParam);
        case TCM_GETITEMRECT:
            return ItemRect(hwnd, s, wParam, reinterpret_cast<RECT *>(lParam));
        case TCM_HITTEST:
            return HitTest(hwnd, s, reinterpret_cast<TCHITTESTINFO *>(lParam));
        case TCM_ADJUSTRECT:
            if (lParam) AdjustTabRect(hwnd, *s, wParam != 0, *reinterpret_cast<RECT *>(lParam));
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK TabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *s = StateOf<TabState>(hwnd);
    if (msg == WM_CREATE) {
        SetState(hwnd, new TabState);
        return 0;
    }
    if (!s) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_DESTROY:
            SetState(hwnd, nullptr);
            delete s;
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_SETFONT:
            s->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(s->font);
        case WM_SIZE:
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            s->focused = msg == WM_SETFOCUS;
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_LBUTTONDOWN: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            int index = TabAt(hwnd, *s, p);
            if (index >= 0 && !(GetWindowLongW(hwnd, GWL_STYLE) & TCS_FOCUSNEVER) && GetFocus() != hwnd)
                SetFocus(hwnd);
            UserSelect(hwnd, s, index);
            return 0;
        }
        case WM_KEYDOWN:
            KeyDown(hwnd, s, wParam);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hwnd, &ps);
            PaintTabs(hwnd, hdc, *s);
            EndPaint(hwnd, &ps);
            return 0;
        }
    }
    return TabMessage(hwnd, s, msg, wParam, lParam);
}

// Tabs for the dump and a script's click, on the screen; a tab cut off by
// the control's edge is reported with its visible part.
bool ReportTabs(HWND hwnd, std::vector<ReportedItem> &out) {
    auto *s = StateOf<TabState>(hwnd);
    if (!s) return false;
    RECT client;
    GetClientRect(hwnd, &client);
    std::vector<RECT> rects = TabRects(hwnd, *s);
    bool shown = IsWindowVisible(hwnd) != FALSE;
    for (size_t i = 0; i < s->items.size(); ++i) {
        ReportedItem item;
        item.text = s->items[i].text;
        item.id = static_cast<UINT>(i);
        item.selected = static_cast<int>(i) == s->selected;
        item.tab = true;
        RECT visible{};
        if (shown && IntersectRect(&visible, &rects[i], &client)) {
            MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT *>(&visible), 2);
            item.rect = visible;
        }
        out.push_back(item);
    }
    return true;
}

struct Registration {
    Registration() {
        AddSystemClassRegistrar([] { RegisterControlClass(WC_TABCONTROLW, TabProc, CS_DBLCLKS); });
        RegisterItemReporter(WC_TABCONTROLW, ReportTabs);
    }
} registration;

}  // namespace
}  // namespace wince::controls
