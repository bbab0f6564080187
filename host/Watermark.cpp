#include "Watermark.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "device/device.h"

namespace {

COLORREF ProfileColor(const char *key, COLORREF fallback) {
    std::string v = wince::Device::Current().Profile().Get(key);
    unsigned r, g, b;
    if (sscanf(v.c_str(), "#%02x%02x%02x", &r, &g, &b) == 3) return RGB(r, g, b);
    return fallback;
}

int Mix(int a, int b, int at, int span) { return span <= 0 ? a : a + (b - a) * at / span; }

}  // namespace

// A vertical gradient over the whole screen, [today] top and bottom.
void PaintTodayBackground(HDC hdc, const RECT &area, POINT origin, HWND) {
    COLORREF top = ProfileColor("today.top", RGB(255, 255, 255));
    COLORREF bottom = ProfileColor("today.bottom", RGB(198, 220, 245));
    int span = GetSystemMetrics(SM_CYSCREEN);
    for (int y = area.top; y < area.bottom; ++y) {
        int at = std::clamp<int>(y + origin.y, 0, span);
        COLORREF c = RGB(Mix(GetRValue(top), GetRValue(bottom), at, span), Mix(GetGValue(top), GetGValue(bottom), at, span),
                         Mix(GetBValue(top), GetBValue(bottom), at, span));
        HBRUSH brush = CreateSolidBrush(c);
        RECT line{area.left, y, area.right, y + 1};
        FillRect(hdc, &line, brush);
        DeleteObject(brush);
    }
}

COLORREF TodayTextColor() { return ProfileColor("today.text", RGB(0, 0, 0)); }

COLORREF TodayHighlightColor() { return ProfileColor("today.highlight", GetSysColor(COLOR_HIGHLIGHT)); }

COLORREF TodayHighlightedTextColor() { return ProfileColor("today.highlighted_text", GetSysColor(COLOR_HIGHLIGHTTEXT)); }
