// Painting the scroll strip in the theme colour over the Today background.
#pragma once

#include <windows.h>

class ScrollStrip;

// Paints the strip into the right end of area and records its geometry.
void PaintScrollStrip(ScrollStrip &strip, HWND window, HDC hdc, const RECT &area);
