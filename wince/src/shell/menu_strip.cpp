// The bottom strip: the background of the menu bar, with the input panel's
// button at its right. A program's menu bar lies over its left part.
#include "bar_windows.h"
#include "controls/control_util.h"
#include "controls/input_panel.h"
#include "shell_bars.h"

namespace wince::shell {
namespace {

constexpr WCHAR kClass[] = u"menu_worker";

bool PanelUp() {
    HWND panel = InputPanelWindow();
    return panel && IsWindowVisible(panel);
}

RECT SipButton(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    return RECT{client.right - SipButtonWidth(), 0, client.right, client.bottom};
}

// A small keyboard: a frame with two rows of keys and a space bar.
void DrawKeyboard(HDC hdc, const RECT &button, bool up) {
    int w = controls::Scaled(16), h = controls::Scaled(11);
    int x = (button.left + button.right - w) / 2, y = (button.top + button.bottom - h) / 2;
    COLORREF ink = up ? RGB(0, 51, 153) : GetSysColor(COLOR_BTNTEXT);
    RECT frame{x, y, x + w, y + h};
    controls::Frame(hdc, frame, 1, ink);
    int key = controls::Scaled(2);
    for (int row = 0; row < 2; ++row)
        for (int kx = x + key; kx + key <= x + w - key; kx += 2 * key) {
            RECT k{kx, y + key + row * 2 * key, kx + key, y + 2 * key + row * 2 * key};
            controls::Fill(hdc, k, ink);
        }
    RECT space{x + w / 4, y + h - 2 * key, x + w - w / 4, y + h - key};
    controls::Fill(hdc, space, ink);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    controls::Fill(hdc, client, GetSysColor(COLOR_BTNFACE));
    RECT line{0, 0, client.right, 1};
    controls::Fill(hdc, line, GetSysColor(COLOR_BTNSHADOW));
    DrawKeyboard(hdc, SipButton(hwnd), PanelUp());
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK StripProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_LBUTTONDOWN: {
            POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT button = SipButton(hwnd);
            if (PtInRect(&button, p)) {
                ShowInputPanel(!PanelUp());
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND CreateMenuStrip() {
    controls::RegisterWindowClassOnce(kClass, StripProc);
    RECT r = MenuBarStrip();
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClass, u"", WS_POPUP | WS_VISIBLE, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace wince::shell
