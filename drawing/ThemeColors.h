// The colours of text, selection and the scroll strip's theme.
#pragma once

#include <windows.h>

// The selection's colours; host is the Today screen window.
COLORREF GetHighlightColor(HWND host);
COLORREF GetHighlightTextColor(HWND host);
// Entry index (below 45) of the user's colour scheme, or defaultColor.
COLORREF GetThemeColor(int index, COLORREF defaultColor);

// The default of the scroll strip's theme colour, entry 6.
inline constexpr COLORREF DefaultThemeColor = 0x00CE8231;
