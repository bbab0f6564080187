// The Today screen's background and colours, from the device profile.
#pragma once

#include <windows.h>

// Paints the background for area (in the DC's coordinates), where the DC's
// (0,0) lies at origin of the screen window.
void PaintTodayBackground(HDC hdc, const RECT &area, POINT origin, HWND screen);
COLORREF TodayTextColor();
COLORREF TodayHighlightColor();
COLORREF TodayHighlightedTextColor();
