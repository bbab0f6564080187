#include "input_panel.h"

#include <unordered_map>

#include "control_util.h"
#include "input_panel_keys.h"
#include "shell/shell_bars.h"

namespace wince {
namespace {

HWND panel = nullptr;

SIZE ClientSize(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    return SIZE{client.right, client.bottom};
}

void PaintPanel(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    PaintInputPanelKeys(hdc, ClientSize(hwnd));
    EndPaint(hwnd, &ps);
}

void OnStylus(HWND hwnd, UINT msg, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (msg == WM_LBUTTONDOWN) SetCapture(hwnd);  // to see the stylus leave the key
    if (msg == WM_LBUTTONUP && GetCapture() == hwnd) ReleaseCapture();
    if (InputPanelStylus(msg, p, ClientSize(hwnd))) InvalidateRect(hwnd, nullptr, FALSE);
}

// Across the bottom of the screen as it is now (the screen turns), above
// the menu bar when the shell's bars are up.
void PlacePanel(HWND hwnd, UINT flags) {
    RECT r = InputPanelRect();
    SetWindowPos(hwnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE | flags);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SETTINGCHANGE:
            PlacePanel(hwnd, 0);
            return 0;
        case WM_ACTIVATE:
            return 0;  // the focus stays in the program's window
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintPanel(hwnd);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            OnStylus(hwnd, msg, lParam);
            return 0;
        case WM_DESTROY:
            if (panel == hwnd) panel = nullptr;
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakePanel() {
    controls::RegisterWindowClassOnce(u"SipWndClass", PanelProc);
    RECT r = InputPanelRect();
    // A tap on a key neither activates the panel nor takes the focus: the keys
    // go to the window that has it.
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, u"SipWndClass", u"Input Panel", WS_POPUP, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
}

bool IsEdit(HWND hwnd) {
    WCHAR cls[16];
    return hwnd && GetClassNameW(hwnd, cls, 16) && lstrcmpiW(cls, u"EDIT") == 0;
}

// Dialogs with a SIPPREF control, and the procedures they had before it
// started listening to their edit boxes' focus notifications.
std::unordered_map<HWND, WNDPROC> &Listening() {
    static auto *dialogs = new std::unordered_map<HWND, WNDPROC>;
    return *dialogs;
}

LRESULT CALLBACK DialogListener(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto it = Listening().find(dialog);
    if (it == Listening().end()) return DefWindowProcW(dialog, msg, wParam, lParam);
    WNDPROC previous = it->second;
    if (msg == WM_COMMAND && IsEdit(reinterpret_cast<HWND>(lParam))) {
        if (HIWORD(wParam) == EN_SETFOCUS) ShowInputPanel(true);
        if (HIWORD(wParam) == EN_KILLFOCUS && !(IsEdit(GetFocus()) && IsChild(dialog, GetFocus())))
            ShowInputPanel(false);
    }
    if (msg == WM_DESTROY) {
        ShowInputPanel(false);
        Listening().erase(dialog);
        SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    return CallWindowProcW(previous, dialog, msg, wParam, lParam);
}

}  // namespace

RECT InputPanelRect() {
    int width = GetSystemMetrics(SM_CXSCREEN), height = controls::Scaled(80);
    int bottom = GetSystemMetrics(SM_CYSCREEN) - (shell::BarsUp() ? shell::MenuBarHeight() : 0);
    return RECT{0, bottom - height, width, bottom};
}

void ShowInputPanel(bool show) {
    if (!panel || !IsWindow(panel)) {
        if (!show) return;
        panel = MakePanel();
        if (!panel) return;
    }
    bool was = IsWindowVisible(panel) != FALSE;
    if (show && !IsWindowVisible(panel)) ResetInputPanelKeys();
    if (show) PlacePanel(panel, SWP_SHOWWINDOW);
    else ShowWindow(panel, SW_HIDE);
    if (was != show) {
        shell::InputPanelChanged();
        if (HWND strip = shell::MenuStrip()) InvalidateRect(strip, nullptr, FALSE);
    }
}

HWND InputPanelWindow() { return panel && IsWindow(panel) ? panel : nullptr; }

LRESULT CALLBACK SipPreferenceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        ShowWindow(hwnd, SW_HIDE);
        HWND dialog = GetParent(hwnd);
        if (dialog && !Listening().count(dialog)) {
            auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(dialog, GWLP_WNDPROC));
            Listening()[dialog] = previous;
            SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogListener));
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace wince
