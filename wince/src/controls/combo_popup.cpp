// The list a combo box drops down: a topmost popup that holds the stylus
// until a choice or a tap elsewhere closes it. It never takes the focus,
// which stays with the combo box.
#include <algorithm>

#include "combo.h"
#include "control_util.h"
#include "list_paint.h"

namespace wince::controls {
namespace {

struct PopupState {
    HWND combo = nullptr;
    int top = 0;
    int highlight = -1;
    bool pressed = false;
};

ComboState *ComboOf(PopupState *p) { return IsWindow(p->combo) ? StateOf<ComboState>(p->combo) : nullptr; }

void ShowItem(HWND hwnd, PopupState *p, ComboState *c, int index) {
    int visible = VisibleItemCount(hwnd, ItemHeight(c->font));
    if (index >= 0 && index < p->top) p->top = index;
    if (index >= p->top + visible) p->top = index - visible + 1;
    p->top = ClampTop(c->items, p->top, visible);
    UpdateListScrollBar(hwnd, c->items, p->top, visible);
    InvalidateRect(hwnd, nullptr, TRUE);
}

bool InClient(HWND hwnd, LPARAM lParam) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, pt) != FALSE;
}

// The stylus went down outside the list: on its scroll bar it pages, anywhere
// else the list closes without a choice.
void DownOutside(HWND hwnd, PopupState *p, ComboState *c, LPARAM lParam) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(hwnd, &pt);
    RECT window;
    GetWindowRect(hwnd, &window);
    if (PtInRect(&window, pt)) {
        int visible = VisibleItemCount(hwnd, ItemHeight(c->font));
        bool up = pt.y < (window.top + window.bottom) / 2;
        p->top += up ? -visible : visible;
        ShowItem(hwnd, p, c, -1);
        return;
    }
    CloseUp(p->combo, c, -1);
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *p = StateOf<PopupState>(hwnd);
    if (msg == WM_CREATE) {
        p = new PopupState;
        p->combo = static_cast<HWND>(reinterpret_cast<const CREATESTRUCTW *>(lParam)->lpCreateParams);
        SetState(hwnd, p);
        if (ComboState *c = ComboOf(p)) {
            p->highlight = c->selected;
            ShowItem(hwnd, p, c, c->selected);
        }
        return 0;
    }
    ComboState *c = p ? ComboOf(p) : nullptr;
    if (!p || (!c && msg != WM_DESTROY)) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_DESTROY:
            if (c && c->popup == hwnd) c->popup = nullptr;
            SetState(hwnd, nullptr);
            delete p;
            return 0;
        case WM_ACTIVATE:
            return 0;  // the focus stays with the combo box
        case WM_LBUTTONDOWN:
            if (!InClient(hwnd, lParam)) {
                DownOutside(hwnd, p, c, lParam);
                return 0;
            }
            p->pressed = true;
            [[fallthrough]];
        case WM_MOUSEMOVE:
            if (p->pressed && InClient(hwnd, lParam)) {
                int at = ItemAtY(c->items, p->top, ItemHeight(c->font), GET_Y_LPARAM(lParam));
                if (at >= 0 && at != p->highlight) {
                    p->highlight = at;
                    InvalidateRect(hwnd, nullptr, TRUE);
                }
            }
            return 0;
        case WM_LBUTTONUP:
            if (p->pressed && InClient(hwnd, lParam)) {
                int at = ItemAtY(c->items, p->top, ItemHeight(c->font), GET_Y_LPARAM(lParam));
                if (at >= 0) CloseUp(p->combo, c, at);
                return 0;
            }
            p->pressed = false;
            return 0;
        case WM_VSCROLL: {
            int visible = VisibleItemCount(hwnd, ItemHeight(c->font));
            WORD code = LOWORD(wParam);
            if (code == SB_LINEUP) p->top--;
            else if (code == SB_LINEDOWN) p->top++;
            else if (code == SB_PAGEUP) p->top -= visible;
            else if (code == SB_PAGEDOWN) p->top += visible;
            else if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) p->top = static_cast<short>(HIWORD(wParam));
            ShowItem(hwnd, p, c, -1);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hwnd, &ps);
            PaintList(hwnd, hdc, c->items, p->highlight, p->top, c->font, false);
            EndPaint(hwnd, &ps);
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterComboPopupClass() { RegisterControlClass(u"ComboLBox", PopupProc); }

bool ReportComboPopup(HWND popup, std::vector<ReportedItem> &out) {
    auto *p = StateOf<PopupState>(popup);
    ComboState *c = p ? ComboOf(p) : nullptr;
    if (!c) return false;
    ReportListItems(popup, c->items, p->highlight, p->top, c->font, IsWindowVisible(popup) != FALSE, out);
    return true;
}

void DropDown(HWND combo, ComboState *s) {
    if (s->popup) return;
    NotifyParent(combo, CBN_DROPDOWN);
    if (!IsWindow(combo)) return;
    RECT field;
    GetWindowRect(combo, &field);
    int itemHeight = ItemHeight(s->font);
    int fieldHeight = field.bottom - field.top;
    int room = std::max(1, (s->droppedHeight - fieldHeight - 2) / itemHeight);
    int rows = std::max(1, std::min(s->items.Count(), room));
    int height = rows * itemHeight + 2;
    DWORD style = WS_POPUP | WS_BORDER | (s->items.Count() > rows ? WS_VSCROLL : 0);
    int y = field.bottom;
    if (y + height > GetSystemMetrics(SM_CYSCREEN)) y = std::max(0, static_cast<int>(field.top) - height);
    s->popup = CreateWindowExW(WS_EX_TOPMOST, u"ComboLBox", u"", style, field.left, y, field.right - field.left,
                               height, combo, nullptr, nullptr, combo);
    if (!s->popup) return;
    ShowWindow(s->popup, SW_SHOWNA);
    SetCapture(s->popup);
    InvalidateRect(combo, nullptr, TRUE);
}

int MoveHighlight(ComboState *s, int delta) {
    if (!s->popup) return -1;
    auto *p = StateOf<PopupState>(s->popup);
    if (!p || s->items.Count() == 0) return -1;
    int to = p->highlight < 0 ? 0 : p->highlight + delta;
    p->highlight = std::max(0, std::min(to, s->items.Count() - 1));
    ShowItem(s->popup, p, s, p->highlight);
    return p->highlight;
}

}  // namespace wince::controls
