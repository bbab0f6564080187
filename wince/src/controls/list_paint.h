// Drawing a column of list items, shared by the list box and the list a
// combo box drops down.
#pragma once

#include <windows.h>

#include "list_items.h"

namespace wince::controls {

int ItemHeight(HFONT font);
// Whole items that fit in the client area, at least one.
int VisibleItemCount(HWND hwnd, int itemHeight);
// The item under a client y, or -1 past the last item.
int ItemAtY(const ListItems &items, int top, int itemHeight, int y);
// Keeps `top` within the list so that the last page is full.
int ClampTop(const ListItems &items, int top, int visible);
// Shows the window's vertical scroll bar when the items do not fit.
void UpdateListScrollBar(HWND hwnd, const ListItems &items, int top, int visible);

void PaintList(HWND hwnd, HDC hdc, const ListItems &items, int selected, int top, HFONT font, bool focused);

}  // namespace wince::controls
