// The "SysTabControl32" class: its items, the strip they lie in and the
// geometry that painting, hit-testing and TCM_ADJUSTRECT share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wince::controls {

struct TabItem {
    std::u16string text;
    int image = -1;
    LPARAM param = 0;
    DWORD state = 0;
};

struct TabState {
    HFONT font = nullptr;
    std::vector<TabItem> items;
    int selected = -1;
    bool focused = false;
};

// The height of the strip that holds the tabs.
int TabStripHeight(HFONT font);
// Each tab's rectangle in client coordinates, left to right; along the
// bottom with TCS_BOTTOM, else along the top.
std::vector<RECT> TabRects(HWND hwnd, const TabState &s);
// The display area for a window rectangle (larger false), or the window
// rectangle for a display area (larger true).
void AdjustTabRect(HWND hwnd, const TabState &s, bool larger, RECT &r);
int TabAt(HWND hwnd, const TabState &s, POINT client);
void PaintTabs(HWND hwnd, HDC hdc, const TabState &s);

}  // namespace wince::controls
