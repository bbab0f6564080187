// The Start menu and what its entries do.
#include <aygshell.h>

#include "shell_bars.h"
#include "window/window.h"

namespace wince::shell {
namespace {

enum : UINT { kToday = 1, kHelp = 2 };

}  // namespace

void ShowStartMenu() {
    HWND navBar = NavigationBar();
    if (!navBar) return;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuW(menu, MF_STRING, kToday, u"Today");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kHelp, u"Help");
    UINT chosen = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 0, NavBarHeight(), navBar, nullptr));
    DestroyMenu(menu);
    if (chosen == kToday) ShowToday();
    if (chosen == kHelp) ShowHelp();
}

// The Today screen is the Today host's desktop window. Another program asks
// the host to bring it to the front; with no Today screen running (a
// program run alone) nothing happens, and the trace says so.
void ShowToday() { SetForegroundWindow(TodayScreen()); }

// As the device's Help: WM_HELP to the window in front.
void ShowHelp() {
    HWND front = FrontWindow();
    if (!front) return;
    HWND focus = GetFocus();
    HWND item = focus && IsChild(front, focus) ? focus : front;
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = 1;  // HELPINFO_WINDOW
    info.iCtrlId = item == front ? 0 : GetDlgCtrlID(item);
    info.hItemHandle = item;
    SendMessageW(front, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace wince::shell
