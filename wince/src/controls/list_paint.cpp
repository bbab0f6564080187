#include "list_paint.h"

#include <algorithm>

#include "control_util.h"

namespace wince::controls {

int ItemHeight(HFONT font) { return FontHeight(font) + Scaled(2); }

int VisibleItemCount(HWND hwnd, int itemHeight) {
    RECT client;
    GetClientRect(hwnd, &client);
    return std::max(1, static_cast<int>(client.bottom) / std::max(1, itemHeight));
}

int ItemAtY(const ListItems &items, int top, int itemHeight, int y) {
    if (y < 0) return -1;
    int index = top + y / std::max(1, itemHeight);
    return items.Valid(index) ? index : -1;
}

int ClampTop(const ListItems &items, int top, int visible) {
    return std::max(0, std::min(top, items.Count() - visible));
}

void UpdateListScrollBar(HWND hwnd, const ListItems &items, int top, int visible) {
    if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL) && items.Count() <= visible) return;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, items.Count() - 1),
                  static_cast<UINT>(visible), top, 0};
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void ReportListItems(HWND hwnd, const ListItems &items, int selected, int top, HFONT font, bool shown,
                     std::vector<ReportedItem> &out) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    int height = ItemHeight(font);
    for (int i = 0; i < items.Count(); ++i) {
        ReportedItem r;
        r.text = items.At(i).text;
        r.id = static_cast<UINT>(i);
        r.enabled = enabled;
        r.selected = i == selected;
        RECT row{0, (i - top) * height, client.right, (i - top + 1) * height};
        int middle = (row.top + row.bottom) / 2;
        if (shown && i >= top && middle < client.bottom) {
            row.bottom = std::min(row.bottom, client.bottom);
            OffsetRect(&row, origin.x, origin.y);
            r.rect = row;
        }
        out.push_back(r);
    }
}

void PaintList(HWND hwnd, HDC hdc, const ListItems &items, int selected, int top, HFONT font, bool focused) {
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH background = ControlColors(hwnd, hdc, WM_CTLCOLORLISTBOX);
    COLORREF text = GetTextColor(hdc);
    FillRect(hdc, &client, background);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    HGDIOBJ oldFont = SelectObject(hdc, FontOrSystem(font));
    SetBkMode(hdc, TRANSPARENT);
    int height = ItemHeight(font);
    for (int i = top; i < items.Count(); ++i) {
        RECT row{0, (i - top) * height, client.right, (i - top + 1) * height};
        if (row.top >= client.bottom) break;
        bool chosen = i == selected;
        if (chosen) Fill(hdc, row, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(hdc, !enabled ? GetSysColor(COLOR_GRAYTEXT) : chosen ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
        RECT label = row;
        label.left += Scaled(2);
        const std::u16string &t = items.At(i).text;
        DrawTextW(hdc, t.c_str(), static_cast<int>(t.size()), &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (chosen && focused) DrawFocusRect(hdc, &row);
    }
    SelectObject(hdc, oldFont);
}

}  // namespace wince::controls
