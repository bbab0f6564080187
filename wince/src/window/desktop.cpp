// The desktop window and messages for other processes.
#include "ipc/desktop_channel.h"
#include "script/script_runner.h"
#include "trace/trace.h"
#include "window.h"

namespace {

HWND desktop = nullptr;
bool hostedDesktop = false;  // set by the Today host rather than made here

}  // namespace

namespace wince {

void SetDesktopWindow(HWND hwnd) {
    desktop = hwnd;
    hostedDesktop = hwnd != nullptr;
    ListenAsDesktop(hwnd);
}

bool PostToOtherProcess(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd != kDesktopProxy) return false;
    // The host posting to the name others use for it reaches its own window.
    if (hostedDesktop && FromHandle(desktop)) return PostMessageW(desktop, msg, wParam, lParam) != FALSE;
    if (!SendToDesktop(msg, wParam, lParam)) return false;
    TracePostMessage(hwnd, msg, wParam, lParam);
    return true;
}

void BroadcastToOtherProcesses(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hostedDesktop) return;  // the desktop is one of this process's own windows
    if (SendToDesktop(msg, wParam, lParam)) TracePostMessage(HWND_BROADCAST, msg, wParam, lParam);
}

HWND TodayScreen() { return hostedDesktop && FromHandle(desktop) ? desktop : kDesktopProxy; }

bool ForegroundInOtherProcess(HWND hwnd) {
    if (hwnd != kDesktopProxy) return false;
    if (hostedDesktop && FromHandle(desktop)) return SetForegroundWindow(desktop) != FALSE;
    if (!RaiseDesktop()) {
        TraceSetForegroundWindow(hwnd, ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    TraceSetForegroundWindow(hwnd);
    // This program is behind the Today screen now: its window is no longer
    // the active one, and what a user does next reaches the Today screen.
    SetActiveWindow(nullptr);
    if (ScriptRunner *runner = ScriptRunner::Active()) runner->WentBehind();
    return true;
}

}  // namespace wince

using namespace wince;

namespace {

LRESULT CALLBACK DesktopProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

// The bottom window of the screen. The Today screen host takes this part on
// the device; in another process of the same device it is the host's window,
// named by a proxy handle; a process alone gets a plain window of the
// screen's size.
HWND WINAPI GetDesktopWindow(void) {
    if (desktop && FromHandle(desktop)) return desktop;
    if (DesktopListening()) return kDesktopProxy;
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
