// The Today screen's height query, and the repaint below an item that shrank.
#pragma once

#include <todaycmn.h>

inline constexpr UINT_PTR RepaintBelowTimer = 201;

LRESULT QueryItemHeight(HWND hwnd, TODAYLISTITEM *record);
void RepaintBelowItem(HWND hwnd);
