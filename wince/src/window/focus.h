// Keyboard focus, mouse capture and the active top-level window.
#pragma once

#include "window.h"

namespace wince {

// Brings a top-level window to the top of its z-order band and makes it the
// active window.
void ActivateWindow(Window *w);
// A window being disabled or hidden gives up the focus it or a child holds.
void HideFocusWithin(Window *w);
// A window being destroyed: forget it as focus, capture or active window
// without sending it anything.
void ForgetWindowFocus(Window *w);
void RestackWindow(Window *w, HWND insertAfter);
// Called after the active window changed or a top-level window was shown
// or hidden (the shell's bars follow the window in front).
void SetActivationHook(void (*hook)());
void RunActivationHook();

}  // namespace wince
