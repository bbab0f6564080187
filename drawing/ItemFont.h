// The user-interface font size and the one font all item text is drawn in.
#pragma once

#include <windows.h>

// Types as the shell's SHGetUIMetrics: 1 size in hundredths of a point,
// 2 in pixels, 3 in percent. Returns 0 for success.
LONG GetUIMetric(int type, DWORD *out, DWORD size, DWORD *needed);

// Replaces the font held in slot with a new item font and returns it (null
// when creation fails).
HFONT CreateItemFont(HDC hdc, HFONT &slot);
