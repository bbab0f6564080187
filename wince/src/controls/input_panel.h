// The simulated input panel: a keyboard drawn at the bottom of the screen
// while an edit box of a dialog with a "SIPPREF" control has the focus.
#pragma once

#include <windows.h>

namespace wince {

void ShowInputPanel(bool show);
// Where the panel lies (or would lie) on the screen.
RECT InputPanelRect();
// The panel's window ("SipWndClass"), or null before it was first shown.
HWND InputPanelWindow();

// The window procedure of the "SIPPREF" control.
LRESULT CALLBACK SipPreferenceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace wince
