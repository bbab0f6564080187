// The Pocket PC shell's two bars: the navigation bar across the top and the
// menu bar across the bottom, with the work area between them. A process
// gets them when it first uses the shell's dialog or menu-bar functions (the
// Today host starts them itself); before that its screen has no bars and
// the work area is the whole screen.
#pragma once

#include <windows.h>

namespace wince::shell {

int NavBarHeight();
int MenuBarHeight();
// The input panel's button at the right of the menu bar.
int SipButtonWidth();

bool BarsUp();
// Creates the bars once; top-level windows learn of the smaller work area
// through WM_SETTINGCHANGE with SETTINGCHANGE_RESET.
void StartBars();
// Removes the bars and forgets what belonged to them (for tests, which
// change devices within one process).
void StopBars();
HWND NavigationBar();
HWND MenuStrip();

// Between the bars (the whole screen before they are up).
RECT WorkArea();
// The work area above the input panel while the panel is up.
RECT VisibleDesktop();
// Where the bottom bar is; a program's menu bar lies there.
RECT MenuBarStrip();

// The program window the bars speak for: the active top-level window that
// is not part of the shell itself.
HWND FrontWindow();
// Puts the front window's menu bar over the bottom strip (the others go
// under it) and lets the navigation bar show the front window's title and
// "ok". Called whenever activation or a menu bar's visibility changes.
void ArrangeBars();

// Program menu bars are top-level toolbars placed over the bottom strip,
// each belonging to the window that asked for it; the one that belongs to
// the window in front covers the strip.
void AddMenuBar(HWND bar, HWND owner, bool coversSipButton);
// Over the strip, left of the input panel's button unless it covers it.
void PlaceMenuBar(HWND bar);
HWND MenuBarOf(HWND owner);
bool IsMenuBar(HWND bar);
// The menu bar lies over the strip now, where a user can tap it.
bool MenuBarShown(HWND bar);
// The bars, program menu bars and the input panel.
bool IsShellWindow(HWND hwnd);

// "ok" in the navigation bar for a dialog.
void SetDoneButton(HWND dialog, bool show);
bool HasDoneButton(HWND dialog);

// Dialogs that fill the work area and follow the input panel.
void AddFullScreenDialog(HWND dialog, DWORD flags);
void FitFullScreenDialog(HWND dialog);
// The input panel went up or down: full-screen dialogs shrink or grow,
// and top-level windows are told.
void InputPanelChanged();
// The screen turned: the bars, menu bars and full-screen dialogs follow.
void ScreenChanged();

// What the navigation bar's Start menu does.
void ShowStartMenu();
void ShowToday();
void ShowHelp();

}  // namespace wince::shell
