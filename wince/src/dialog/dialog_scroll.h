// A dialog whose controls reach below its client area scrolls them with a
// vertical scroll bar of its own, as the device's dialog manager does.
#pragma once

#include <windows.h>

namespace wince {

// Shows the bar (WS_VSCROLL) when the controls reach below the client
// area and sets its range; takes it away when they fit again.
void UpdateDialogScrollBar(HWND dialog);
// WM_VSCROLL from the dialog's own bar: moves the controls.
void ScrollDialog(HWND dialog, WPARAM wParam);

}  // namespace wince
