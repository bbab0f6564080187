#include "button.h"

#include "control_util.h"
#include "window/window_class.h"

namespace wince::controls {
namespace {

bool IsCheckType(UINT type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool IsRadioType(UINT type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

UINT DialogCode(UINT type) {
    switch (type) {
        case BS_DEFPUSHBUTTON:
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_PUSHBUTTON:
        case BS_OWNERDRAW:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX:
            return DLGC_STATIC;
    }
    return DLGC_BUTTON;
}

void SetCheck(HWND hwnd, ButtonState *s, WPARAM value) {
    UINT type = ButtonType(hwnd);
    if (!IsCheckType(type) && !IsRadioType(type)) return;
    UINT check = static_cast<UINT>(value) & 3;
    bool threeState = type == BS_3STATE || type == BS_AUTO3STATE;
    if (check == BST_INDETERMINATE && !threeState) check = BST_CHECKED;
    if (check > BST_INDETERMINATE) check = BST_CHECKED;
    // A checked radio button is where Tab enters its group.
    if (IsRadioType(type)) {
        LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        SetWindowLongW(hwnd, GWL_STYLE, check ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
    if (s->check != check) {
        s->check = check;
        Redraw(hwnd);
    }
}

// The other automatic radio buttons of the group lose their check.
void UncheckGroup(HWND hwnd) {
    HWND parent = GetParent(hwnd);
    if (!parent) return;
    // Bounded: a hidden button is not in the cycle the group walk makes.
    int limit = 256;
    for (HWND h = GetNextDlgGroupItem(parent, hwnd, FALSE); h && h != hwnd && limit-- > 0;
         h = GetNextDlgGroupItem(parent, h, FALSE)) {
        if (ButtonType(h) == BS_AUTORADIOBUTTON && SendMessageW(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
            SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void Clicked(HWND hwnd, ButtonState *s) {
    switch (ButtonType(hwnd)) {
        case BS_AUTOCHECKBOX:
            SetCheck(hwnd, s, s->check ? BST_UNCHECKED : BST_CHECKED);
            break;
        case BS_AUTO3STATE:
            SetCheck(hwnd, s, (s->check + 1) % 3);
            break;
        case BS_AUTORADIOBUTTON:
            SetCheck(hwnd, s, BST_CHECKED);
            UncheckGroup(hwnd);
            break;
    }
    NotifyParent(hwnd, BN_CLICKED);
}

void SetPressed(HWND hwnd, ButtonState *s, bool pressed) {
    if (s->pressed == pressed) return;
    s->pressed = pressed;
    Redraw(hwnd);
}

bool Inside(HWND hwnd, LPARAM lParam) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, p);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *s = StateOf<ButtonState>(hwnd);
    if (msg == WM_CREATE) {
        SetState(hwnd, new ButtonState);
        return 0;
    }
    if (!s) return DefWindowProcW(hwnd, msg, wParam, lParam);
    UINT type = ButtonType(hwnd);
    switch (msg) {
        case WM_DESTROY:
            SetState(hwnd, nullptr);
            delete s;
            return 0;
        case WM_GETDLGCODE:
            return DialogCode(type);
        case WM_SETFONT:
            s->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) Redraw(hwnd);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(s->font);
        case WM_SETTEXT: {
            LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
            Redraw(hwnd);
            return r;
        }
        case WM_ENABLE:
            Redraw(hwnd);
            return 0;
        case WM_SETFOCUS:
            s->focused = true;
            Redraw(hwnd);
            if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) NotifyParent(hwnd, BN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            s->focused = false;
            s->spaceDown = false;
            if (s->tracking) {
                s->tracking = false;
                ReleaseCapture();
            }
            SetPressed(hwnd, s, false);
            Redraw(hwnd);
            if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) NotifyParent(hwnd, BN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
            if (type == BS_GROUPBOX) return 0;
            SetFocus(hwnd);
            SetCapture(hwnd);
            s->tracking = true;
            SetPressed(hwnd, s, true);
            return 0;
        case WM_MOUSEMOVE:
            if (s->tracking) SetPressed(hwnd, s, Inside(hwnd, lParam));
            return 0;
        case WM_LBUTTONUP:
            if (!s->tracking) return 0;
            s->tracking = false;
            ReleaseCapture();
            SetPressed(hwnd, s, false);
            if (Inside(hwnd, lParam)) Clicked(hwnd, s);
            return 0;
        case WM_CAPTURECHANGED:
            if (s->tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
                s->tracking = false;
                SetPressed(hwnd, s, false);
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && type != BS_GROUPBOX) {
                s->spaceDown = true;
                SetPressed(hwnd, s, true);
            }
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE && s->spaceDown) {
                s->spaceDown = false;
                SetPressed(hwnd, s, false);
                Clicked(hwnd, s);
            }
            return 0;
        case WM_CHAR:
            return 0;
        case BM_CLICK:
            if (!IsWindowEnabled(hwnd) || type == BS_GROUPBOX) return 0;
            SetFocus(hwnd);
            Clicked(hwnd, s);
            return 0;
        case BM_GETCHECK:
            return s->check;
        case BM_SETCHECK:
            SetCheck(hwnd, s, wParam);
            return 0;
        case BM_GETSTATE:
            return s->check | (s->pressed ? BST_PUSHED : 0) | (s->focused ? BST_FOCUS : 0);
        case BM_SETSTATE:
            SetPressed(hwnd, s, wParam != 0);
            return 0;
        case BM_SETSTYLE: {
            LONG style = GetWindowLongW(hwnd, GWL_STYLE);
            SetWindowLongW(hwnd, GWL_STYLE, (style & ~BS_TYPEMASK) | (static_cast<LONG>(wParam) & BS_TYPEMASK));
            if (LOWORD(lParam)) Redraw(hwnd);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hwnd, &ps);
            PaintButton(hwnd, hdc, *s);
            EndPaint(hwnd, &ps);
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct Registration {
    Registration() {
        AddSystemClassRegistrar([] { RegisterControlClass(u"BUTTON", ButtonProc); });
    }
} registration;

}  // namespace
}  // namespace wince::controls
