// The "LISTBOX" class: a single-selection list of texts that scrolls.
#include <algorithm>

#include "control_util.h"
#include "list_items.h"
#include "list_paint.h"
#include "window/window_class.h"

namespace wince::controls {
namespace {

struct ListBoxState {
    HFONT font = nullptr;
    ListItems items;
    int selected = -1;
    int top = 0;
    bool focused = false;
    bool tracking = false;
};

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

void Refresh(HWND hwnd, ListBoxState *s) {
    int visible = VisibleItemCount(hwnd, ItemHeight(s->font));
    s->top = ClampTop(s->items, s->top, visible);
    UpdateListScrollBar(hwnd, s->items, s->top, visible);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void ScrollIntoView(HWND hwnd, ListBoxState *s, int index) {
    if (index < 0) return;
    int visible = VisibleItemCount(hwnd, ItemHeight(s->font));
    if (index < s->top) s->top = index;
    else if (index >= s->top + visible) s->top = index - visible + 1;
}

// A selection the user made: LBN_SELCHANGE with LBS_NOTIFY.
void UserSelect(HWND hwnd, ListBoxState *s, int index) {
    if (!s->items.Valid(index) || index == s->selected) return;
    s->selected = index;
    ScrollIntoView(hwnd, s, index);
    Refresh(hwnd, s);
    if (StyleOf(hwnd) & LBS_NOTIFY) NotifyParent(hwnd, LBN_SELCHANGE);
}

void Scroll(HWND hwnd, ListBoxState *s, WPARAM wParam) {
    int visible = VisibleItemCount(hwnd, ItemHeight(s->font));
    if (!RowForScrollCode(wParam, s->top, visible, s->items.Count(), s->top)) return;
    Refresh(hwnd, s);
}

void KeyDown(HWND hwnd, ListBoxState *s, WPARAM key) {
    int visible = VisibleItemCount(hwnd, ItemHeight(s->font));
    int last = s->items.Count() - 1;
    int from = s->selected < 0 ? 0 : s->selected;
    int to;
    switch (key) {
        case VK_UP:
            to = s->selected < 0 ? 0 : from - 1;
            break;
        case VK_DOWN:
            to = s->selected < 0 ? 0 : from + 1;
            break;
        case VK_PRIOR:
            to = from - (visible - 1);
            break;
        case VK_NEXT:
            to = from + (visible - 1);
            break;
        case VK_HOME:
            to = 0;
            break;
        case VK_END:
            to = last;
            break;
        default:
            return;
    }
    if (last >= 0) UserSelect(hwnd, s, std::max(0, std::min(to, last)));
}

LRESULT GetText(const ListBoxState *s, WPARAM index, LPARAM buffer) {
    int i = static_cast<int>(index);
    if (!s->items.Valid(i)) return LB_ERR;
    const std::u16string &t = s->items.At(i).text;
    if (auto *out = reinterpret_cast<LPWSTR>(buffer)) {
        std::copy(t.begin(), t.end(), out);
        out[t.size()] = 0;
    }
    return static_cast<LRESULT>(t.size());
}

LRESULT ListMessage(HWND hwnd, ListBoxState *s, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto text = [&] { return std::u16string(lParam ? reinterpret_cast<LPCWSTR>(lParam) : u""); };
    int index = static_cast<int>(wParam);
    switch (msg) {
        case LB_ADDSTRING: {
            int at = s->items.Add(text(), (StyleOf(hwnd) & LBS_SORT) != 0);
            if (s->selected >= at) s->selected++;
            Refresh(hwnd, s);
            return at;
        }
        case LB_INSERTSTRING: {
            int at = s->items.Insert(index, text());
            if (at < 0) return LB_ERR;
            if (s->selected >= at) s->selected++;
            Refresh(hwnd, s);
            return at;
        }
        case LB_DELETESTRING: {
            int left = s->items.Delete(index);
            if (left < 0) return LB_ERR;
            if (s->selected == index) s->selected = -1;
            else if (s->selected > index) s->selected--;
            Refresh(hwnd, s);
            return left;
        }
        case LB_RESETCONTENT:
            s->items.Clear();
            s->selected = -1;
            s->top = 0;
            Refresh(hwnd, s);
            return 0;
        case LB_GETCOUNT:
            return s->items.Count();
        case LB_GETTEXT:
            return GetText(s, wParam, lParam);
        case LB_GETTEXTLEN:
            return s->items.Valid(index) ? static_cast<LRESULT>(s->items.At(index).text.size()) : LB_ERR;
        case LB_GETCURSEL:
            return s->selected;
        case LB_SETCURSEL:
            // -1 clears the selection and still answers LB_ERR.
            if (index != -1 && !s->items.Valid(index)) return LB_ERR;
            s->selected = index;
            ScrollIntoView(hwnd, s, index);
            Refresh(hwnd, s);
            return index == -1 ? LB_ERR : index;
        case LB_GETSEL:
            if (!s->items.Valid(index)) return LB_ERR;
            return index == s->selected ? 1 : 0;
        case LB_SETSEL:
            return LB_ERR;  // single-selection list boxes refuse it
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT: {
            int found = s->items.Find(index, text(), msg == LB_FINDSTRINGEXACT);
            return found < 0 ? LB_ERR : found;
        }
        case LB_SELECTSTRING: {
            int found = s->items.Find(index, text(), false);
            if (found < 0) return LB_ERR;
            s->selected = found;
            ScrollIntoView(hwnd, s, found);
            Refresh(hwnd, s);
            return found;
        }
        case LB_GETITEMDATA:
            return s->items.Valid(index) ? static_cast<LRESULT>(s->items.At(index).data) : LB_ERR;
        case LB_SETITEMDATA:
            if (!s->items.Valid(index)) return LB_ERR;
            s->items.At(index).data = static_cast<ULONG_PTR>(lParam);
            return TRUE;
        case LB_GETTOPINDEX:
            return s->top;
        case LB_SETTOPINDEX:
            if (!s->items.Valid(index)) return LB_ERR;
            s->top = index;
            Refresh(hwnd, s);
            return 0;
        case LB_GETITEMHEIGHT:
            return ItemHeight(s->font);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *s = StateOf<ListBoxState>(hwnd);
    if (msg == WM_CREATE) {
        SetState(hwnd, new ListBoxState);
        return 0;
    }
    if (!s) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_DESTROY:
            SetState(hwnd, nullptr);
            delete s;
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFONT:
            s->font = reinterpret_cast<HFONT>(wParam);
            Refresh(hwnd, s);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(s->font);
        case WM_SIZE:
        case WM_ENABLE:
            Refresh(hwnd, s);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            s->focused = msg == WM_SETFOCUS;
            InvalidateRect(hwnd, nullptr, TRUE);
            if (StyleOf(hwnd) & LBS_NOTIFY) NotifyParent(hwnd, s->focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
            if (GetFocus() != hwnd) SetFocus(hwnd);
            s->tracking = true;
            SetCapture(hwnd);
            UserSelect(hwnd, s, ItemAtY(s->items, s->top, ItemHeight(s->font), GET_Y_LPARAM(lParam)));
            return 0;
        case WM_MOUSEMOVE:
            if (s->tracking)
                UserSelect(hwnd, s, ItemAtY(s->items, s->top, ItemHeight(s->font), GET_Y_LPARAM(lParam)));
            return 0;
        case WM_LBUTTONUP:
            if (s->tracking) {
                s->tracking = false;
                ReleaseCapture();
            }
            return 0;
        case WM_CAPTURECHANGED:
            s->tracking = false;
            return 0;
        case WM_KEYDOWN:
            KeyDown(hwnd, s, wParam);
            return 0;
        case WM_VSCROLL:
            Scroll(hwnd, s, wParam);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hwnd, &ps);
            PaintList(hwnd, hdc, s->items, s->selected, s->top, s->font, s->focused);
            EndPaint(hwnd, &ps);
            return 0;
        }
    }
    if (msg >= LB_ADDSTRING && msg <= LB_FINDSTRINGEXACT) return ListMessage(hwnd, s, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool ReportListBox(HWND hwnd, std::vector<ReportedItem> &out) {
    auto *s = StateOf<ListBoxState>(hwnd);
    if (!s) return false;
    ReportListItems(hwnd, s->items, s->selected, s->top, s->font, IsWindowVisible(hwnd) != FALSE, out);
    return true;
}

struct Registration {
    Registration() {
        AddSystemClassRegistrar([] { RegisterControlClass(u"LISTBOX", ListBoxProc); });
        RegisterItemReporter(u"LISTBOX", ReportListBox);
    }
} registration;

}  // namespace
}  // namespace wince::controls
