// The "COMBOBOX" class: a field showing the chosen item (CBS_DROPDOWNLIST)
// or an edit box (CBS_DROPDOWN), and a list that drops down on a tap.
#include <algorithm>

#include "combo.h"
#include "control_util.h"
#include "list_paint.h"
#include "window/window_class.h"

namespace wince::controls {
namespace {

constexpr int kEditId = 1001;

RECT ArrowRect(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    r.left = std::max<LONG>(0, r.right - GetSystemMetrics(SM_CXVSCROLL));
    return r;
}

int FieldHeight(HFONT font) { return FontHeight(font) + Scaled(6); }

void SetEditText(ComboState *s, const std::u16string &text) {
    if (!s->edit) return;
    s->settingEdit = true;
    SetWindowTextW(s->edit, text.c_str());
    s->settingEdit = false;
}

// The field is one line high; the template's height is kept for the list.
void Layout(HWND hwnd, ComboState *s) {
    RECT r;
    GetWindowRect(hwnd, &r);
    int height = FieldHeight(s->font);
    if (r.bottom - r.top != height)
        SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (s->edit) {
        RECT arrow = ArrowRect(hwnd);
        MoveWindow(s->edit, 1, 1, std::max<int>(0, arrow.left - 1), std::max(0, height - 2), TRUE);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
}

void Select(HWND hwnd, ComboState *s, int index) {
    s->selected = s->items.Valid(index) ? index : -1;
    if (s->edit) SetEditText(s, s->selected >= 0 ? s->items.At(s->selected).text : u"");
    InvalidateRect(hwnd, nullptr, TRUE);
}

void UserSelect(HWND hwnd, ComboState *s, int index) {
    if (!s->items.Valid(index) || index == s->selected) return;
    Select(hwnd, s, index);
    NotifyParent(hwnd, CBN_SELCHANGE);
}

// Up and Down in the edit box of a drop-down combo belong to the combo box.
LRESULT CALLBACK EditSubclass(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND combo = GetParent(edit);
    auto *s = combo ? StateOf<ComboState>(combo) : nullptr;
    if (!s) {
        // The combo box went first (a parent is destroyed before its children): the edit box still ends.
        WNDCLASSW editClass{};
        GetClassInfoW(nullptr, u"EDIT", &editClass);
        return editClass.lpfnWndProc ? editClass.lpfnWndProc(edit, msg, wParam, lParam)
                                     : DefWindowProcW(edit, msg, wParam, lParam);
    }
    if (msg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_F4 ||
                              (s->popup && (wParam == VK_RETURN || wParam == VK_ESCAPE))))
        return SendMessageW(combo, msg, wParam, lParam);
    if (msg == WM_GETDLGCODE) {
        LRESULT code = CallWindowProcW(s->editProc, edit, msg, wParam, lParam);
        auto *m = reinterpret_cast<const MSG *>(lParam);
        if (s->popup && m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    return CallWindowProcW(s->editProc, edit, msg, wParam, lParam);
}

void KeyDown(HWND hwnd, ComboState *s, WPARAM key) {
    if (s->popup) {
        if (key == VK_UP || key == VK_DOWN) MoveHighlight(s, key == VK_UP ? -1 : 1);
        else if (key == VK_RETURN || key == VK_F4) CloseUp(hwnd, s, MoveHighlight(s, 0));
        else if (key == VK_ESCAPE) CloseUp(hwnd, s, -1);
        return;
    }
    if (key == VK_F4) {
        DropDown(hwnd, s);
    } else if (key == VK_UP || key == VK_DOWN) {
        int to = s->selected < 0 ? 0 : s->selected + (key == VK_UP ? -1 : 1);
        UserSelect(hwnd, s, std::max(0, std::min(to, s->items.Count() - 1)));
    }
}

void Paint(HWND hwnd, ComboState *s) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    HBRUSH background = ControlColors(hwnd, hdc, WM_CTLCOLOREDIT);
    COLORREF text = GetTextColor(hdc);
    FillRect(hdc, &client, background);
    COLORREF frame = GetSysColor(enabled ? COLOR_WINDOWFRAME : COLOR_GRAYTEXT);
    Frame(hdc, client, 1, frame);
    RECT arrow = ArrowRect(hwnd);
    Frame(hdc, arrow, 1, frame);
    // The arrow: a small triangle pointing down.
    int cx = (arrow.left + arrow.right) / 2, cy = (arrow.top + arrow.bottom) / 2;
    int half = std::max(2, static_cast<int>(arrow.right - arrow.left) / 4);
    HBRUSH ink = CreateSolidBrush(frame);
    HPEN pen = CreatePen(PS_SOLID, 1, frame);
    HGDIOBJ oldBrush = SelectObject(hdc, ink), oldPen = SelectObject(hdc, pen);
    POINT triangle[3] = {{cx - half, cy - half / 2}, {cx + half, cy - half / 2}, {cx, cy + half / 2}};
    Polygon(hdc, triangle, 3);
    SelectObject(hdc, oldBrush);
    SelectObject(hdc, oldPen);
    DeleteObject(ink);
    DeleteObject(pen);
    if (!s->edit) {
        RECT field{1, 1, arrow.left, client.bottom - 1};
        bool highlighted = s->focused && !s->popup && enabled;
        if (highlighted) Fill(hdc, field, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(hdc, !enabled ? GetSysColor(COLOR_GRAYTEXT) : highlighted ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
        SetBkMode(hdc, TRANSPARENT);
        HGDIOBJ oldFont = SelectObject(hdc, FontOrSystem(s->font));
        if (s->selected >= 0) {
            const std::u16string &t = s->items.At(s->selected).text;
            RECT label = field;
            label.left += Scaled(2);
            DrawTextW(hdc, t.c_str(), static_cast<int>(t.size()), &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        SelectObject(hdc, oldFont);
    }
    EndPaint(hwnd, &ps);
}

LRESULT GetLbText(const ComboState *s, WPARAM index, LPARAM buffer) {
    int i = static_cast<int>(index);
    if (!s->items.Valid(i)) return CB_ERR;
    const std::u16string &t = s->items.At(i).text;
    if (auto *out = reinterpret_cast<LPWSTR>(buffer)) {
        std::copy(t.begin(), t.end(), out);
        out[t.size()] = 0;
    }
    return static_cast<LRESULT>(t.size());
}

LRESULT ComboMessage(HWND hwnd, ComboState *s, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto text = [&] { return std::u16string(lParam ? reinterpret_cast<LPCWSTR>(lParam) : u""); };
    int index = static_cast<int>(wParam);
    switch (msg) {
        case CB_ADDSTRING: {
            int at = s->items.Add(text(), (GetWindowLongW(hwnd, GWL_STYLE) & CBS_SORT) != 0);
            if (s->selected >= at) s->selected++;
            return at;
        }
        case CB_INSERTSTRING: {
            int at = s->items.Insert(index, text());
            if (at < 0) return CB_ERR;
            if (s->selected >= at) s->selected++;
            return at;
        }
        case CB_DELETESTRING: {
            int left = s->items.Delete(index);
            if (left < 0) return CB_ERR;
            if (s->selected == index) Select(hwnd, s, -1);
            else if (s->selected > index) s->selected--;
            InvalidateRect(hwnd, nullptr, TRUE);
            return left;
        }
        case CB_RESETCONTENT:
            s->items.Clear();
            Select(hwnd, s, -1);
            return CB_OKAY;
        case CB_GETCOUNT:
            return s->items.Count();
        case CB_GETLBTEXT:
            return GetLbText(s, wParam, lParam);
        case CB_GETLBTEXTLEN:
            return s->items.Valid(index) ? static_cast<LRESULT>(s->items.At(index).text.size()) : CB_ERR;
        case CB_GETCURSEL:
            return s->selected;
        case CB_SETCURSEL:
            // A bad index (or -1) clears the selection and answers CB_ERR.
            Select(hwnd, s, index);
            return s->selected < 0 ? CB_ERR : s->selected;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT: {
            int found = s->items.Find(index, text(), msg == CB_FINDSTRINGEXACT);
            return found < 0 ? CB_ERR : found;
        }
        case CB_SELECTSTRING: {
            int found = s->items.Find(index, text(), false);
            if (found < 0) return CB_ERR;
            Select(hwnd, s, found);
            return found;
        }
        case CB_GETITEMDATA:
            return s->items.Valid(index) ? static_cast<LRESULT>(s->items.At(index).data) : CB_ERR;
        case CB_SETITEMDATA:
            if (!s->items.Valid(index)) return CB_ERR;
            s->items.At(index).data = static_cast<ULONG_PTR>(lParam);
            return TRUE;
        case CB_SHOWDROPDOWN:
            if (wParam) DropDown(hwnd, s);
            else if (s->popup) CloseUp(hwnd, s, -1);
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return s->popup != nullptr;
        case CB_LIMITTEXT:
            if (!s->edit) return CB_ERR;
            SendMessageW(s->edit, EM_LIMITTEXT, wParam, 0);
            return TRUE;
        case CB_GETEDITSEL:
            return s->edit ? SendMessageW(s->edit, EM_GETSEL, wParam, lParam) : CB_ERR;
        case CB_SETEDITSEL:
            if (!s->edit) return CB_ERR;
            SendMessageW(s->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                         static_cast<short>(HIWORD(lParam)));
            return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT SetText(HWND hwnd, ComboState *s, LPCWSTR text) {
    if (s->edit) {
        SetEditText(s, text ? text : u"");
        return TRUE;
    }
    // A drop-down list can only show one of its items.
    int found = s->items.Find(-1, text ? text : u"", true);
    if (found < 0) return CB_ERR;
    Select(hwnd, s, found);
    return TRUE;
}

LRESULT GetText(const ComboState *s, WPARAM max, LPARAM buffer, bool lengthOnly) {
    if (s->edit) return SendMessageW(s->edit, lengthOnly ? WM_GETTEXTLENGTH : WM_GETTEXT, max, buffer);
    std::u16string t = s->selected >= 0 ? s->items.At(s->selected).text : u"";
    if (lengthOnly) return static_cast<LRESULT>(t.size());
    auto *out = reinterpret_cast<LPWSTR>(buffer);
    if (!out || max == 0) return 0;
    size_t n = std::min<size_t>(t.size(), max - 1);
    std::copy_n(t.begin(), n, out);
    out[n] = 0;
    return static_cast<LRESULT>(n);
}

void Create(HWND hwnd, const CREATESTRUCTW *cs) {
    auto *s = new ComboState;
    SetState(hwnd, s);
    s->droppedHeight = cs->cy;
    if (ComboType(hwnd) != CBS_DROPDOWNLIST) {
        s->edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 0, 0, hwnd,
                                  reinterpret_cast<HMENU>(kEditId), cs->hInstance, nullptr);
        if (s->edit)
            s->editProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(s->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditSubclass)));
    }
    Layout(hwnd, s);
}

LRESULT CALLBACK ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *s = StateOf<ComboState>(hwnd);
    if (msg == WM_CREATE) {
        Create(hwnd, reinterpret_cast<const CREATESTRUCTW *>(lParam));
        return 0;
    }
    if (!s) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_DESTROY:
            if (s->popup && IsWindow(s->popup)) DestroyWindow(s->popup);
            SetState(hwnd, nullptr);
            delete s;
            return 0;
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
            auto *m = reinterpret_cast<const MSG *>(lParam);
            if (s->popup && m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_SETFONT:
            s->font = reinterpret_cast<HFONT>(wParam);
            if (s->edit) SendMessageW(s->edit, WM_SETFONT, wParam, lParam);
            Layout(hwnd, s);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(s->font);
        case WM_SIZE:
            if (s->edit) {
                RECT arrow = ArrowRect(hwnd);
                MoveWindow(s->edit, 1, 1, std::max<int>(0, arrow.left - 1), std::max(0, HIWORD(lParam) - 2), TRUE);
            }
            return 0;
        case WM_ENABLE:
            if (s->edit) EnableWindow(s->edit, static_cast<BOOL>(wParam));
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_SETTEXT:
            return SetText(hwnd, s, reinterpret_cast<LPCWSTR>(lParam));
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            return GetText(s, wParam, lParam, msg == WM_GETTEXTLENGTH);
        case WM_SETFOCUS:
            if (s->edit) {
                SetFocus(s->edit);  // the edit box tells the parent through EN_SETFOCUS
                return 0;
            }
            s->focused = true;
            InvalidateRect(hwnd, nullptr, TRUE);
            NotifyParent(hwnd, CBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            if (s->edit) return 0;
            s->focused = false;
            if (s->popup) CloseUp(hwnd, s, -1);
            InvalidateRect(hwnd, nullptr, TRUE);
            NotifyParent(hwnd, CBN_KILLFOCUS);
            return 0;
        case WM_COMMAND:
            if (reinterpret_cast<HWND>(lParam) == s->edit && s->edit) {
                WORD code = HIWORD(wParam);
                if (code == EN_CHANGE && !s->settingEdit) NotifyParent(hwnd, CBN_EDITCHANGE);
                if (code == EN_SETFOCUS) NotifyParent(hwnd, CBN_SETFOCUS);
                if (code == EN_KILLFOCUS) {
                    if (s->popup) CloseUp(hwnd, s, -1);
                    NotifyParent(hwnd, CBN_KILLFOCUS);
                }
            }
            return 0;
        case WM_LBUTTONDOWN: {
            if (s->edit ? GetFocus() != s->edit : GetFocus() != hwnd) SetFocus(hwnd);
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT arrow = ArrowRect(hwnd);
            if (s->popup) CloseUp(hwnd, s, -1);
            else if (!s->edit || PtInRect(&arrow, pt)) DropDown(hwnd, s);
            return 0;
        }
        case WM_KEYDOWN:
            KeyDown(hwnd, s, wParam);
            return 0;
        case WM_CHAR:
            // A letter chooses the next item that starts with it.
            if (!s->edit && wParam >= 0x20) {
                int found = s->items.Find(s->selected, std::u16string(1, static_cast<char16_t>(wParam)), false);
                if (found >= 0) UserSelect(hwnd, s, found);
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd, s);
            return 0;
    }
    if (msg >= CB_GETEDITSEL && msg <= CB_FINDSTRINGEXACT) return ComboMessage(hwnd, s, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The items of a closed combo box are in the dump but cannot be tapped:
// only the list it drops down shows them (and reports them with places).
bool ReportCombo(HWND hwnd, std::vector<ReportedItem> &out) {
    auto *s = StateOf<ComboState>(hwnd);
    if (!s) return false;
    ReportListItems(hwnd, s->items, s->selected, 0, s->font, false, out);
    return true;
}

struct Registration {
    Registration() {
        AddSystemClassRegistrar([] {
            RegisterControlClass(u"COMBOBOX", ComboProc);
            RegisterComboPopupClass();
        });
        RegisterItemReporter(u"COMBOBOX", ReportCombo);
        RegisterItemReporter(u"ComboLBox", ReportComboPopup);
    }
} registration;

}  // namespace

void CloseUp(HWND combo, ComboState *s, int chosen) {
    HWND popup = s->popup;
    if (!popup) return;
    s->popup = nullptr;
    if (GetCapture() == popup) ReleaseCapture();
    DestroyWindow(popup);
    if (!IsWindow(combo)) return;
    if (chosen >= 0) UserSelect(combo, s, chosen);
    if (IsWindow(combo)) NotifyParent(combo, CBN_CLOSEUP);
    if (IsWindow(combo)) InvalidateRect(combo, nullptr, TRUE);
}

}  // namespace wince::controls
