// The popup menu window: frame, item rows in the system font, separators,
// grey disabled items, check marks, submenu arrows and the highlighted row.
#include <algorithm>

#include "menu.h"
#include "tracker.h"
#include "window/item_report.h"

namespace wince {
namespace {

void DrawCheck(HDC dc, const RECT &row, int column, COLORREF color) {
    // A tick inside the check column, two strokes three pixels wide.
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = SelectObject(dc, pen);
    int cx = row.left + column / 2, cy = (row.top + row.bottom) / 2;
    for (int d = 0; d < 3; ++d) {
        MoveToEx(dc, cx - 3, cy - 1 + d, nullptr);
        LineTo(dc, cx - 1, cy + 1 + d);
        LineTo(dc, cx + 4, cy - 4 + d);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void DrawArrow(HDC dc, const RECT &row, int column, COLORREF color) {
    // A small right-pointing triangle, drawn as vertical strokes.
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = SelectObject(dc, pen);
    int x = row.right - column / 2 - 2, cy = (row.top + row.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        MoveToEx(dc, x + i, cy - 3 + i, nullptr);
        LineTo(dc, x + i, cy + 4 - i);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void Paint(HWND hwnd, const PopupLevel &level) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    const Menu *menu = MenuFromHandle(level.menu);
    RECT all{0, 0, level.layout.size.cx, level.layout.size.cy};
    FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
    HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
    FrameRect(dc, &all, frame);
    DeleteObject(frame);
    if (menu) {
        PopupMetrics m = ScaledPopupMetrics();
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(SYSTEM_FONT));
        SetBkMode(dc, TRANSPARENT);
        size_t count = std::min(menu->items.size(), level.layout.items.size());
        for (size_t i = 0; i < count; ++i) {
            const MenuItem &item = menu->items[i];
            RECT row = level.layout.items[i];
            if (item.Separator()) {
                int y = (row.top + row.bottom) / 2;
                RECT line{row.left + 1, y, row.right - 1, y + 1};
                FillRect(dc, &line, GetSysColorBrush(COLOR_GRAYTEXT));
                continue;
            }
            bool lit = static_cast<int>(i) == level.highlight && !item.Disabled();
            if (lit) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
            COLORREF color = item.Disabled() ? GetSysColor(COLOR_GRAYTEXT)
                                             : GetSysColor(lit ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
            SetTextColor(dc, color);
            RECT text{row.left + m.checkColumn, row.top, row.right - m.arrowColumn, row.bottom};
            DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text,
                      DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_EXPANDTABS);
            if (item.Checked()) DrawCheck(dc, row, m.checkColumn, color);
            if (item.submenu) DrawArrow(dc, row, m.arrowColumn, color);
        }
        SelectObject(dc, oldFont);
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            if (PopupLevel *level = LevelOfWindow(hwnd)) {
                Paint(hwnd, *level);
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            return 1;  // the paint covers every pixel
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The open popup's items, for the window dump and a script's click.
bool ReportPopupItems(HWND hwnd, std::vector<ReportedItem> &out) {
    PopupLevel *level = LevelOfWindow(hwnd);
    const Menu *menu = level ? MenuFromHandle(level->menu) : nullptr;
    if (!menu) return false;
    for (size_t i = 0; i < menu->items.size() && i < level->layout.items.size(); ++i) {
        const MenuItem &item = menu->items[i];
        ReportedItem r;
        r.text = item.text;
        r.rect = level->layout.items[i];
        OffsetRect(&r.rect, level->rect.left, level->rect.top);
        r.id = item.submenu ? 0 : item.id;
        r.enabled = !item.Disabled() && !item.Separator();
        r.checked = item.Checked();
        r.selected = static_cast<int>(i) == level->highlight;
        r.separator = item.Separator();
        out.push_back(r);
    }
    return true;
}

void RegisterPopupClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = PopupProc;
    wc.lpszClassName = kPopupMenuClass;
    RegisterClassW(&wc);
    RegisterItemReporter(kPopupMenuClass, ReportPopupItems);
    registered = true;
}

}  // namespace

HWND CreatePopupWindow(const PopupLevel &level) {
    RegisterPopupClass();
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kPopupMenuClass, u"",
                                WS_POPUP, level.rect.left, level.rect.top, level.rect.right - level.rect.left,
                                level.rect.bottom - level.rect.top, nullptr, nullptr, nullptr, nullptr);
    if (hwnd) ShowWindow(hwnd, SW_SHOWNA);
    return hwnd;
}

}  // namespace wince
