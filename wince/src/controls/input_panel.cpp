#include "input_panel.h"

#include <unordered_map>

#include "control_util.h"
#include "shell/shell_bars.h"

namespace wince {
namespace {

HWND panel = nullptr;

const char16_t *const kRows[] = {u"1234567890-=", u"qwertyuiop[]", u"asdfghjkl;'", u"zxcvbnm,./"};

void PaintPanel(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    controls::Fill(hdc, client, GetSysColor(COLOR_BTNFACE));
    controls::Frame(hdc, client, 1, GetSysColor(COLOR_WINDOWFRAME));
    int rows = 5, rowHeight = client.bottom / rows, keyWidth = client.right / 13;
    HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(SYSTEM_FONT));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    for (int r = 0; r < 4; ++r) {
        int x = 1 + r * keyWidth / 2;
        for (const char16_t *k = kRows[r]; *k; ++k, x += keyWidth) {
            RECT key{x, 1 + r * rowHeight, x + keyWidth - 1, (r + 1) * rowHeight};
            controls::Fill(hdc, key, GetSysColor(COLOR_WINDOW));
            controls::Frame(hdc, key, 1, GetSysColor(COLOR_BTNSHADOW));
            DrawTextW(hdc, k, 1, &key, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        }
    }
    RECT space{client.right / 4, 4 * rowHeight + 1, client.right * 3 / 4, client.bottom - 1};
    controls::Fill(hdc, space, GetSysColor(COLOR_WINDOW));
    controls::Frame(hdc, space, 1, GetSysColor(COLOR_BTNSHADOW));
    SelectObject(hdc, oldFont);
    EndPaint(hwnd, &ps);
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
        case WM_DESTROY:
            if (panel == hwnd) panel = nullptr;
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakePanel() {
    WNDCLASSW existing;
    if (!GetClassInfoW(nullptr, u"SipWndClass", &existing)) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PanelProc;
        wc.lpszClassName = u"SipWndClass";
        RegisterClassW(&wc);
    }
    RECT r = InputPanelRect();
    // Disabled: a tap on the drawn keys neither activates it nor takes the focus.
    return CreateWindowExW(WS_EX_TOPMOST, u"SipWndClass", u"Input Panel", WS_POPUP | WS_DISABLED, r.left, r.top,
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
