#include "shell_bars.h"

#include <aygshell.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "bar_windows.h"
#include "controls/control_util.h"
#include "controls/input_panel.h"
#include "window/focus.h"
#include "window/window.h"

namespace wince::shell {
namespace {

struct MenuBarEntry {
    HWND bar;
    HWND owner;
    bool coversSipButton;
};

bool up = false;
HWND navBar = nullptr;
HWND strip = nullptr;
std::vector<MenuBarEntry> &MenuBars() {
    static auto *bars = new std::vector<MenuBarEntry>;
    return *bars;
}
std::set<HWND> &DoneDialogs() {
    static auto *dialogs = new std::set<HWND>;
    return *dialogs;
}
std::map<HWND, DWORD> &FullScreenDialogs() {
    static auto *dialogs = new std::map<HWND, DWORD>;
    return *dialogs;
}

void Prune() {
    auto &bars = MenuBars();
    bars.erase(std::remove_if(bars.begin(), bars.end(), [](const MenuBarEntry &e) { return !IsWindow(e.bar); }),
               bars.end());
    for (auto it = DoneDialogs().begin(); it != DoneDialogs().end();)
        it = IsWindow(*it) ? std::next(it) : DoneDialogs().erase(it);
    for (auto it = FullScreenDialogs().begin(); it != FullScreenDialogs().end();)
        it = IsWindow(it->first) ? std::next(it) : FullScreenDialogs().erase(it);
}

HWND TopLevel(HWND hwnd) {
    Window *w = FromHandle(hwnd);
    return w ? TopLevelOf(w)->handle : nullptr;
}

void SendToTopLevels(UINT msg, WPARAM wParam) {
    std::vector<HWND> tops;
    for (Window *w : TopLevelWindows())
        if (!IsShellWindow(w->handle)) tops.push_back(w->handle);
    for (HWND hwnd : tops)
        if (IsWindow(hwnd)) SendMessageW(hwnd, msg, wParam, 0);
}

}  // namespace

int NavBarHeight() { return controls::Scaled(26); }
int MenuBarHeight() { return controls::Scaled(26); }
int SipButtonWidth() { return controls::Scaled(24); }

bool BarsUp() { return up && IsWindow(navBar) && IsWindow(strip); }

void StartBars() {
    if (BarsUp()) return;
    up = true;
    if (!IsWindow(navBar)) navBar = CreateNavigationBar();
    if (!IsWindow(strip)) strip = CreateMenuStrip();
    SetActivationHook(&ArrangeBars);
    if (HWND panel = InputPanelWindow(); panel && IsWindowVisible(panel)) ShowInputPanel(true);
    SendToTopLevels(WM_SETTINGCHANGE, SETTINGCHANGE_RESET);
    ArrangeBars();
}

void StopBars() {
    up = false;
    SetActivationHook(nullptr);
    std::vector<HWND> gone{navBar, strip};
    for (const MenuBarEntry &e : MenuBars()) gone.push_back(e.bar);
    MenuBars().clear();
    DoneDialogs().clear();
    FullScreenDialogs().clear();
    navBar = strip = nullptr;
    for (HWND hwnd : gone)
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
}

HWND NavigationBar() { return BarsUp() ? navBar : nullptr; }
HWND MenuStrip() { return BarsUp() ? strip : nullptr; }

RECT WorkArea() {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (!up) return RECT{0, 0, width, height};
    return RECT{0, NavBarHeight(), width, std::max(NavBarHeight(), height - MenuBarHeight())};
}

RECT VisibleDesktop() {
    RECT work = WorkArea();
    HWND panel = InputPanelWindow();
    if (panel && IsWindowVisible(panel)) {
        RECT sip;
        GetWindowRect(panel, &sip);
        work.bottom = std::max(work.top, std::min(work.bottom, sip.top));
    }
    return work;
}

RECT MenuBarStrip() {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    return RECT{0, height - MenuBarHeight(), width, height};
}

bool IsMenuBar(HWND bar) {
    for (const MenuBarEntry &e : MenuBars())
        if (e.bar == bar) return true;
    return false;
}

bool IsShellWindow(HWND hwnd) {
    return hwnd && (hwnd == navBar || hwnd == strip || hwnd == InputPanelWindow() || IsMenuBar(hwnd));
}

HWND FrontWindow() {
    HWND active = GetActiveWindow();
    if (active && !IsShellWindow(active)) return active;
    for (Window *w : TopLevelWindows())
        if (w->Visible() && !IsShellWindow(w->handle) && !(w->exStyle & WS_EX_NOACTIVATE)) return w->handle;
    return nullptr;
}

void ArrangeBars() {
    static bool arranging = false;
    if (arranging || !BarsUp()) return;
    arranging = true;
    Prune();
    HWND front = FrontWindow();
    // The front window's visible bars, in their present order, front first.
    std::vector<HWND> chosen;
    for (Window *w : TopLevelWindows()) {
        if (!w->Visible()) continue;
        for (const MenuBarEntry &e : MenuBars())
            if (e.bar == w->handle && front && TopLevel(e.owner) == front) chosen.push_back(e.bar);
    }
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(strip, HWND_TOPMOST, 0, 0, 0, 0, keep);
    for (auto it = chosen.rbegin(); it != chosen.rend(); ++it) SetWindowPos(*it, HWND_TOPMOST, 0, 0, 0, 0, keep);
    SetWindowPos(navBar, HWND_TOPMOST, 0, 0, 0, 0, keep);
    NavigationBarChanged(navBar);
    arranging = false;
}

bool MenuBarShown(HWND bar) {
    if (!IsMenuBar(bar) || !IsWindowVisible(bar)) return false;
    for (Window *w : TopLevelWindows()) {
        if (w->handle == bar) return true;
        if (w->handle == strip) return false;
    }
    return false;
}

void AddMenuBar(HWND bar, HWND owner, bool coversSipButton) {
    StartBars();
    Prune();
    if (!IsMenuBar(bar)) MenuBars().push_back(MenuBarEntry{bar, owner, coversSipButton});
    PlaceMenuBar(bar);
    ArrangeBars();
}

void PlaceMenuBar(HWND bar) {
    for (const MenuBarEntry &e : MenuBars()) {
        if (e.bar != bar) continue;
        RECT r = MenuBarStrip();
        if (!e.coversSipButton) r.right = std::max(r.left, r.right - SipButtonWidth());
        SetWindowPos(bar, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND MenuBarOf(HWND owner) {
    Prune();
    for (const MenuBarEntry &e : MenuBars())
        if (e.owner == owner) return e.bar;
    return nullptr;
}

void SetDoneButton(HWND dialog, bool show) {
    Prune();
    if (show) DoneDialogs().insert(dialog);
    else DoneDialogs().erase(dialog);
    if (BarsUp()) NavigationBarChanged(navBar);
}

bool HasDoneButton(HWND dialog) { return dialog && DoneDialogs().count(dialog) && IsWindow(dialog); }

void AddFullScreenDialog(HWND dialog, DWORD flags) {
    Prune();
    FullScreenDialogs()[dialog] = flags;
    // Its title shows in the navigation bar: a full-screen dialog has no
    // caption or frame of its own.
    LONG style = GetWindowLongW(dialog, GWL_STYLE), exStyle = GetWindowLongW(dialog, GWL_EXSTYLE);
    if ((style & WS_CAPTION) || (exStyle & WS_EX_DLGMODALFRAME)) {
        SetWindowLongW(dialog, GWL_EXSTYLE, exStyle & ~WS_EX_DLGMODALFRAME);
        SetWindowLongW(dialog, GWL_STYLE, style & ~WS_CAPTION);
        SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    FitFullScreenDialog(dialog);
}

void FitFullScreenDialog(HWND dialog) {
    auto it = FullScreenDialogs().find(dialog);
    if (it == FullScreenDialogs().end() || !IsWindow(dialog)) return;
    RECT r = VisibleDesktop();
    if (it->second & SHIDIF_FULLSCREENNOMENUBAR) {
        RECT below = WorkArea();
        if (r.bottom == below.bottom) r.bottom = GetSystemMetrics(SM_CYSCREEN);
    }
    RECT now;
    GetWindowRect(dialog, &now);
    if (EqualRect(&now, &r)) return;
    SetWindowPos(dialog, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void InputPanelChanged() {
    Prune();
    std::vector<HWND> dialogs;
    for (auto &[hwnd, flags] : FullScreenDialogs()) dialogs.push_back(hwnd);
    for (HWND hwnd : dialogs) FitFullScreenDialog(hwnd);
    SendToTopLevels(WM_SETTINGCHANGE, SPI_SETSIPINFO);
}

void ScreenChanged() {
    if (!BarsUp()) return;
    RECT nav{0, 0, GetSystemMetrics(SM_CXSCREEN), NavBarHeight()};
    RECT bottom = MenuBarStrip();
    SetWindowPos(navBar, nullptr, nav.left, nav.top, nav.right, nav.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(strip, nullptr, bottom.left, bottom.top, bottom.right - bottom.left, bottom.bottom - bottom.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (const MenuBarEntry &e : MenuBars()) PlaceMenuBar(e.bar);
    std::vector<HWND> dialogs;
    for (auto &[hwnd, flags] : FullScreenDialogs()) dialogs.push_back(hwnd);
    for (HWND hwnd : dialogs) FitFullScreenDialog(hwnd);
}

}  // namespace wince::shell
