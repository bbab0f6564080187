// Recolouring and tinting a bitmap through a template: the template's pixels
// of a key colour choose which pixels of the canvas are touched.
#pragma once

#include <windows.h>

#include "drawing/DibBitmap.h"

// Every canvas pixel of rect whose template pixel, read from (templateX,
// templateY) on, equals key becomes color.
void RecolorByKey(DibBitmap &canvas, const RECT &rect, const DibBitmap &templ, int templateX, int templateY,
                  COLORREF key, COLORREF color);
// The tint of the canvas pixels of rect whose template pixel equals key;
// false (and black) when there is none.
bool TintedAverageByKey(const DibBitmap &canvas, const RECT &rect, const DibBitmap &templ, int templateX, int templateY,
                        COLORREF key, COLORREF &tint);
// The tint of all canvas pixels of rect; black for an empty rect.
COLORREF TintedAverage(const DibBitmap &canvas, const RECT &rect);
