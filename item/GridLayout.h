// The grid's geometry: heights, width, visible rows, columns, cells and the
// parts of a cell. Plain functions of their inputs, so that painting and hit
// testing share them and tests call them without a window.
#pragma once

#include <windows.h>

#include <vector>

class ScrollStrip;

// Rows and the gap below each, at 96 dots per inch.
inline constexpr int RowPitch = 18;
inline constexpr int RowHeight = 17;
// The folder icon's column at the item's left.
inline constexpr int IconColumnWidth = 26;

// Rows needed for count documents in cols columns.
int RowsNeeded(int count, int cols);
// The item's height in pixels at 96 dots per inch.
int ItemHeight(int count, int cols, int rows);

// The window whose vertical scroll bar narrows the item: the parent, or in
// a tab host the window three levels up.
HWND ItemWidthHost(HWND item, bool tabHost);
// The screen width, less a scroll bar when host has one.
int TargetItemWidth(HWND host);
// A width within 4 pixels of the target is left alone.
bool ItemWidthIsOff(int clientWidth, int targetWidth);

// More documents than cells.
bool ScrollStripNeeded(int count, int cols, int rows);
// Sets the strip's range for count documents and lowers firstRow into it;
// returns whether the strip is shown.
bool UpdateVisibleRows(ScrollStrip &strip, int count, int cols, int rows);
// Catalogue index of the top-left cell.
int FirstIndex(const ScrollStrip &strip, int cols, bool stripShown);

// cols + 1 edges over area, right of the icon column.
void ComputeColumnEdges(const RECT &area, int cols, std::vector<int> &columnEdges);
// The cell in row and column of the grid laid out over area.
RECT CellRect(const RECT &area, const std::vector<int> &columnEdges, int row, int column);

// Where the parts of one cell go.
struct CellParts {
    POINT icon;    // the document icon's top-left corner
    RECT sizeBox;  // empty when the size is not shown
    RECT dateBox;  // empty when the date is not shown
    RECT nameBox;
};
CellParts LayOutCell(const RECT &cell, bool showSize, int sizeWidth, bool showDate, int dateWidth);
// The box of a caption width wide at the right end of textPart, which then
// ends at the box's left edge.
RECT TakeCaptionBox(RECT &textPart, int width);

// The one line shown instead of the grid.
RECT MessageLineRect(const RECT &area);
// Taps here reach the folder icon (right and bottom edges excluded).
RECT FolderIconZone();

// Widths reserved for the size and date captions, measured with the item
// font at every paint that shows them.
extern int sizeWidth;
extern int dateWidth;
void MeasureSizeWidth(HDC hdc);
void MeasureDateWidth(HDC hdc);
