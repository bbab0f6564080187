// Geometry of popup menus: item rows and where a popup goes on the screen.
// Plain functions, so tests reach them without a window.
#pragma once

#include <windows.h>

#include <vector>

#include "menu.h"

namespace wince {

struct PopupMetrics {
    int border = 1;         // the frame around the popup
    int checkColumn = 14;   // left of the text: the check mark
    int arrowColumn = 14;   // right of the text: the submenu arrow
    int itemPadding = 6;    // added to the text height
    int separatorHeight = 7;
};

// The metrics at the device's dots per inch.
PopupMetrics ScaledPopupMetrics();

struct PopupLayout {
    SIZE size{};               // the whole popup window
    std::vector<RECT> items;   // each item's row, in window coordinates
};

// Rows from the texts' extents: textSizes[i] is item i's text size (ignored
// for separators).
PopupLayout LayoutPopup(const std::vector<MenuItem> &items, const std::vector<SIZE> &textSizes,
                        const PopupMetrics &m);

// Measures the items in the system font and lays them out.
PopupLayout MeasurePopup(const Menu &menu);

// A top-level popup at the point with TPM_ alignment flags, kept on the
// screen: when it would leave the screen it flips to the other side of the
// point, and when that does not fit either it is shifted inside.
RECT PlacePopup(SIZE size, POINT at, UINT flags, const RECT &screen);

// A submenu beside its parent's item: to the right, or to the left when the
// right side has no room, shifted up when it would leave the bottom.
RECT PlaceSubmenu(SIZE size, const RECT &parent, const RECT &item, const RECT &screen);

// The item row under a point in window coordinates, or -1.
int ItemAt(const PopupLayout &layout, POINT inWindow);

}  // namespace wince
