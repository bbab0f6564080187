#include "item/StylusInput.h"

#include <aygshell.h>
#include <todaycmn.h>

#include "drawing/ScreenMetrics.h"
#include "item/ContextMenu.h"
#include "item/DocumentActions.h"
#include "item/GridLayout.h"
#include "item/ItemState.h"
#include "item/ItemWindow.h"
#include "item/Selection.h"
#include "item/StripInput.h"

namespace {

POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

void RepaintWhole(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

bool InIconZone(POINT point) {
    RECT zone = FolderIconZone();
    return !TabHostMode && PtInRect(&zone, point);
}

bool InStripZone(POINT point) {
    return itemWindow.scrollStripShown && point.x >= itemWindow.paintRect.right - ScaleX(15);
}

}  // namespace

int HitTestCell(POINT point) {
    const std::vector<int> &edges = itemWindow.columnEdges;
    if (edges.empty() || edges[0] == -1) return -1;  // nothing painted yet
    if (point.y < 0) return -1;
    int row = point.y / ScaleY(RowPitch);
    int column = -1;
    for (int i = 0; i < itemWindow.cols && i < static_cast<int>(edges.size()); ++i)
        if (edges[i] <= point.x) column = i;
    if (column == -1) return -1;
    int cell = row * itemWindow.cols + column;
    // On a scrolled grid the cell's document lies firstRow rows further on.
    int document = itemWindow.scrollStrip.firstRow * itemWindow.cols + cell;
    return document < itemWindow.DocumentCount() ? cell : -1;
}

LRESULT OnStylusDown(HWND window, LPARAM lParam) {
    POINT point = PointOf(lParam);
    if (!HasTodaySelection) {
        PostMessageW(GetParent(window), TODAYM_TOOKSELECTION, reinterpret_cast<WPARAM>(window), 0);
        TakeSelection(0);
        InvalidateRect(window, nullptr, TRUE);
        HasTodaySelection = true;
    }
    itemWindow.pressedOnIcon = itemWindow.pressedOnStrip = false;
    if (InIconZone(point)) {
        itemWindow.pressedOnIcon = true;
        return 0;
    }
    if (InStripZone(point)) {
        itemWindow.pressedOnStrip = true;
        if (StripPress(window, point)) RepaintWhole(window);
        return 0;
    }
    int cell = HitTestCell(point);
    if (cell != -1 && cell != itemWindow.selectedCell) {
        itemWindow.selectedCell = itemWindow.rememberedCell = cell;
        RepaintWhole(window);  // highlighted before the hold is timed
    }
    SHRGINFO gesture{};
    gesture.cbSize = sizeof gesture;
    gesture.hwndClient = window;
    gesture.ptDown = point;
    gesture.dwFlags = SHRG_RETURNCMD;
    if (SHRecognizeGesture(&gesture) == GN_CONTEXTMENU) {
        ShowContextMenu(window, point, cell != -1 ? SelectedDocument() : -1);
    } else if (cell == -1) {
        TakeSelection(0);  // a tap on empty space
    }
    return 0;
}

LRESULT OnStylusUp(HWND window, LPARAM lParam) {
    POINT point = PointOf(lParam);
    if (itemWindow.pressedOnStrip) {
        itemWindow.pressedOnStrip = false;
        StripRelease(window);
        return 0;
    }
    bool wasOnIcon = itemWindow.pressedOnIcon;
    itemWindow.pressedOnIcon = false;
    if (wasOnIcon && InIconZone(point)) {
        LaunchOptionsProgram();
        RepaintWhole(window);
        return 0;
    }
    int cell = HitTestCell(point);
    int document = SelectedDocument();
    if (cell != -1 && cell == itemWindow.selectedCell && document != -1)
        OpenDocument(*itemWindow.catalogue.Entry(document));
    return 0;
}

LRESULT OnStylusMove(HWND window, LPARAM lParam) {
    if (!itemWindow.pressedOnStrip) return 1;
    if (StripDrag(PointOf(lParam))) RepaintWhole(window);
    return 0;
}
