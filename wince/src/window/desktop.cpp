// The desktop window and messages for other processes.
#include "window.h"

namespace wince {

bool PostToOtherProcess(HWND, UINT, WPARAM, LPARAM) { return false; }

}  // namespace wince

using namespace wince;

namespace {

HWND desktop = nullptr;

LRESULT CALLBACK DesktopProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

// The bottom window of the screen. The Today screen host takes this part on
// the device; a process without one gets a plain window of the screen's size.
HWND WINAPI GetDesktopWindow(void) {
    if (desktop && FromHandle(desktop)) return desktop;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DesktopProc;
    wc.lpszClassName = u"DesktopExplorerWindow";
    wc.hbrBackground = GetSysColorBrush(COLOR_BACKGROUND);
    RegisterClassW(&wc);
    desktop = CreateWindowExW(0, u"DesktopExplorerWindow", u"Desktop", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                              GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    if (desktop) SetWindowPos(desktop, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return desktop;
}
