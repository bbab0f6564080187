// The scroll strip under the stylus: arrows and pages that repeat while
// held, and the thumb that follows a drag.
#pragma once

#include <windows.h>

inline constexpr UINT_PTR ScrollRepeatTimer = 202;

// Moves the first visible row into 0..maxFirstRow; true when it changed.
bool SetPosition(int row);

// A press at point (item coordinates) inside the strip: starts a drag on
// the thumb, or scrolls one step and starts the repeat. True when the grid
// must be repainted.
bool StripPress(HWND window, POINT point);
// True while a drag runs, whether the position changed or not.
bool StripDrag(POINT point);
void StripRelease(HWND window);
// Timer 202: one more step, or the end of the repeat at the end of the range.
void StripRepeat(HWND window);
