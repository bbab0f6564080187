// Tab geometry and painting: plain boxes, the chosen one joined to the
// display area, as the Pocket PC draws its tabs.
#include <commctrl.h>

#include <algorithm>

#include "control_util.h"
#include "tab.h"

namespace wince::controls {
namespace {

bool AtBottom(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & TCS_BOTTOM) != 0; }

RECT StripRect(HWND hwnd, const TabState &s) {
    RECT client;
    GetClientRect(hwnd, &client);
    int height = TabStripHeight(s.font);
    if (AtBottom(hwnd)) client.top = std::max(client.top, client.bottom - height);
    else client.bottom = std::min(client.bottom, client.top + height);
    return client;
}

void Line(HDC hdc, int x0, int y0, int x1, int y1) {
    MoveToEx(hdc, x0, y0, nullptr);
    LineTo(hdc, x1, y1);
}

}  // namespace

int TabStripHeight(HFONT font) { return FontHeight(font) + Scaled(8); }

std::vector<RECT> TabRects(HWND hwnd, const TabState &s) {
    RECT strip = StripRect(hwnd, s);
    std::vector<RECT> rects;
    int x = strip.left;
    for (const TabItem &item : s.items) {
        int width = std::max(MeasureTextWidth(s.font, item.text) + 2 * Scaled(6), Scaled(24));
        rects.push_back(RECT{x, strip.top, x + width, strip.bottom});
        x += width;
    }
    return rects;
}

void AdjustTabRect(HWND hwnd, const TabState &s, bool larger, RECT &r) {
    int height = TabStripHeight(s.font);
    bool bottom = AtBottom(hwnd);
    if (larger) {
        if (bottom) r.bottom += height;
        else r.top -= height;
    } else {
        if (bottom) r.bottom -= height;
        else r.top += height;
        if (r.bottom < r.top) r.bottom = r.top;
    }
}

int TabAt(HWND hwnd, const TabState &s, POINT p) {
    std::vector<RECT> rects = TabRects(hwnd, s);
    for (size_t i = 0; i < rects.size(); ++i)
        if (PtInRect(&rects[i], p)) return static_cast<int>(i);
    return -1;
}

void PaintTabs(HWND hwnd, HDC hdc, const TabState &s) {
    RECT client;
    GetClientRect(hwnd, &client);
    RECT strip = StripRect(hwnd, s);
    bool bottom = AtBottom(hwnd);
    Fill(hdc, client, GetSysColor(COLOR_WINDOW));
    Fill(hdc, strip, GetSysColor(COLOR_BTNFACE));
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    // The edge between the display area and the strip; the chosen tab opens it.
    int edge = bottom ? strip.top : strip.bottom - 1;
    Line(hdc, strip.left, edge, strip.right, edge);
    HGDIOBJ oldFont = SelectObject(hdc, FontOrSystem(s.font));
    SetBkMode(hdc, TRANSPARENT);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    std::vector<RECT> rects = TabRects(hwnd, s);
    for (size_t i = 0; i < rects.size(); ++i) {
        RECT r = rects[i];
        bool chosen = static_cast<int>(i) == s.selected;
        RECT box = r;
        if (bottom) box.bottom -= chosen ? 0 : Scaled(2);
        else box.top += chosen ? 0 : Scaled(2);
        if (chosen) Fill(hdc, box, GetSysColor(COLOR_WINDOW));
        int outer = bottom ? box.bottom - 1 : box.top;
        Line(hdc, box.left, edge, box.left, outer);
        Line(hdc, box.left, outer, box.right - 1, outer);
        Line(hdc, box.right - 1, outer, box.right - 1, edge);
        if (chosen) {
            HPEN back = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOW));
            HGDIOBJ framePen = SelectObject(hdc, back);
            Line(hdc, box.left + 1, edge, box.right - 1, edge);
            SelectObject(hdc, framePen);
            DeleteObject(back);
        }
        SetTextColor(hdc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawTextW(hdc, s.items[i].text.c_str(), -1, &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        if (chosen && s.focused) DrawFocusFrame(hdc, box);
    }
    SelectObject(hdc, oldFont);
    SelectObject(hdc, oldPen);
    DeleteObject(pen);
}

}  // namespace wince::controls
