// Text drawn whole when it fits, else shortened with "..." to the longest
// form that fits, else not at all.
#pragma once

#include <windows.h>

enum FitMode {
    FitMiddle = 0,  // "..." between the first and the last characters
    FitEnd = 1,     // "..." after the first characters
};

void FittedText(HDC hdc, LPCWSTR text, const RECT &rect, int mode, UINT flags);
