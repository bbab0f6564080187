// Drawing a column of list items, shared by the list box and the list a
// combo box drops down.
#pragma once

#include <windows.h>

#include <vector>

#include "list_items.h"
#include "window/item_report.h"

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

// The items for the window dump and a script's click: each shown row in
// screen coordinates (a row counts as shown when its middle is in the
// client area); rows scrolled away, or all of them when the list is not on
// the screen, get an empty rectangle.
void ReportListItems(HWND hwnd, const ListItems &items, int selected, int top, HFONT font, bool shown,
                     std::vector<ReportedItem> &out);

void PaintList(HWND hwnd, HDC hdc, const ListItems &items, int selected, int top, HFONT font, bool focused);

}  // namespace wince::controls
