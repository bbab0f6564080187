// Update regions, WM_PAINT, window device contexts and the screen.
#pragma once

#include "window.h"

namespace wince {

// The part of a window that is visible, in its top-level window's surface
// coordinates: its client area or whole rectangle, clipped by its ancestors,
// by siblings above it and by its own children (always, as on the device).
Region VisibleRegion(const Window *w, bool clientOnly);

bool TakePaintMessage(HWND filter, MSG *msg);
// Everything under the window repaints, as when it disappears or moves.
void InvalidateBeneath(Window *w);
void InvalidateNonClient(Window *w);
void DrawNonClient(Window *w);

}  // namespace wince
