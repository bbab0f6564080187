// The stylus in the item: taps that select and open documents, holds that
// open the context menu, the folder icon and the scroll strip.
#pragma once

#include <windows.h>

// The cell under point from the geometry of the last paint, or -1.
int HitTestCell(POINT point);

LRESULT OnStylusDown(HWND window, LPARAM lParam);
LRESULT OnStylusUp(HWND window, LPARAM lParam);
LRESULT OnStylusMove(HWND window, LPARAM lParam);
