#include "item/GridLayout.h"

#include "drawing/ScreenMetrics.h"
#include "item/ScrollStrip.h"

int sizeWidth = 0;
int dateWidth = 0;

int RowsNeeded(int count, int cols) {
    if (cols <= 0) return 0;
    return count / cols + (count % cols ? 1 : 0);
}

int ItemHeight(int count, int cols, int rows) {
    int needed = RowsNeeded(count, cols);
    int shown = rows < needed ? rows : needed;
    int height = shown * RowPitch;
    return height < 20 ? 20 : height;
}

HWND ItemWidthHost(HWND item, bool tabHost) {
    HWND host = GetParent(item);
    if (tabHost) {
        host = host ? GetParent(host) : nullptr;
        host = host ? GetParent(host) : nullptr;
    }
    return host;
}

int TargetItemWidth(HWND host) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    if (host && (GetWindowLongW(host, GWL_STYLE) & WS_VSCROLL)) width -= GetSystemMetrics(SM_CXVSCROLL);
    return width;
}

bool ItemWidthIsOff(int clientWidth, int targetWidth) {
    int difference = clientWidth - targetWidth;
    return difference > 4 || difference < -4;
}

bool ScrollStripNeeded(int count, int cols, int rows) {
    return count > rows * cols;
}

bool UpdateVisibleRows(ScrollStrip &strip, int count, int cols, int rows) {
    strip.totalRows = RowsNeeded(count, cols);
    strip.visibleRows = rows;
    if (strip.totalRows > strip.visibleRows) {
        strip.maxFirstRow = strip.totalRows - strip.visibleRows;
        if (strip.firstRow > strip.maxFirstRow) strip.firstRow = strip.maxFirstRow;
    } else {
        strip.maxFirstRow = 0;
        strip.firstRow = 0;
    }
    return ScrollStripNeeded(count, cols, rows);
}

int FirstIndex(const ScrollStrip &strip, int cols, bool stripShown) {
    return stripShown ? strip.firstRow * cols : 0;
}

// The left margin is taken with the vertical scaling, the edges' offset with
// the horizontal one; on square pixels they agree.
void ComputeColumnEdges(const RECT &area, int cols, std::vector<int> &columnEdges) {
    if (cols < 1) cols = 1;
    int width = area.right - ScaleY(IconColumnWidth) - area.left;
    columnEdges.resize(static_cast<size_t>(cols) + 1);
    for (int i = 0; i <= cols; ++i) columnEdges[i] = area.left + ScaleX(IconColumnWidth) + i * width / cols;
}

RECT CellRect(const RECT &area, const std::vector<int> &columnEdges, int row, int column) {
    RECT cell;
    cell.left = columnEdges[column];
    cell.right = columnEdges[column + 1] - 1;
    cell.top = area.top + row * ScaleY(RowPitch);
    cell.bottom = cell.top + ScaleY(RowHeight);
    return cell;
}

RECT TakeCaptionBox(RECT &textPart, int width) {
    RECT box = textPart;
    box.right = textPart.right - ScaleX(3);
    box.left = box.right - width;
    textPart.right = box.left;
    return box;
}

CellParts LayOutCell(const RECT &cell, bool showSize, int sizeWidthNow, bool showDate, int dateWidthNow) {
    CellParts parts{};
    parts.icon = POINT{cell.left + ScaleX(1), cell.top + ScaleY(1)};
    RECT text = cell;
    text.left += ScaleX(18);
    if (showSize) parts.sizeBox = TakeCaptionBox(text, sizeWidthNow);
    if (showDate) parts.dateBox = TakeCaptionBox(text, dateWidthNow);
    text.right -= ScaleX(3);
    parts.nameBox = text;
    return parts;
}

RECT MessageLineRect(const RECT &area) {
    RECT line = area;
    line.left += ScaleX(28);
    return line;
}

RECT FolderIconZone() {
    return RECT{ScaleX(1), ScaleY(1), ScaleX(17), ScaleY(17)};
}

// The widest size caption: "99.9T" alone leaves the wider unit letters and
// "HUGE" without room in most fonts, and every such size would show cut.
void MeasureSizeWidth(HDC hdc) {
    static const WCHAR *const kWidest[] = {TEXT("99.9T"), TEXT("99.9B"), TEXT("99.9K"), TEXT("99.9M"),
                                           TEXT("99.9G"), TEXT("99.9P"), TEXT("HUGE")};
    int widest = -1;
    for (const WCHAR *text : kWidest) {
        SIZE extent{};
        if (GetTextExtentPoint32W(hdc, text, lstrlenW(text), &extent) && extent.cx > widest) widest = extent.cx;
    }
    if (widest >= 0) sizeWidth = widest;
}

// The widest short date of the year: 29 December 2005.
void MeasureDateWidth(HDC hdc) {
    SYSTEMTIME day{};
    day.wYear = 2005;
    day.wMonth = 12;
    day.wDayOfWeek = 4;
    day.wDay = 29;
    WCHAR text[100];
    int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, text, 100);
    if (length <= 0) return;
    SIZE extent{};
    if (GetTextExtentPoint32W(hdc, text, length - 1, &extent)) dateWidth = extent.cx;
}
