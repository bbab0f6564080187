#include "item/StripInput.h"

#include "drawing/ScreenMetrics.h"
#include "item/ItemWindow.h"

namespace {

ScrollStrip &Strip() {
    return itemWindow.scrollStrip;
}

int ArrowLength() {
    return ScaleY(13);
}

int TrackLength() {
    const ScrollStrip &s = Strip();
    return s.stripRect.bottom - s.stripRect.top - ScaleY(26);
}

// Where the thumb starts for the current position; the strip is only there
// while the rows do not fit, so the range is never empty.
int ThumbTop() {
    const ScrollStrip &s = Strip();
    int track = TrackLength();
    int hidden = s.totalRows - s.visibleRows;
    int thumb = s.totalRows > 0 ? s.visibleRows * track / s.totalRows : track;
    if (thumb < s.minThumb) thumb = s.minThumb;
    return s.stripRect.top + ArrowLength() + (hidden > 0 ? (track - thumb) * s.firstRow / hidden : 0);
}

void RepaintWhole(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

}  // namespace

bool SetPosition(int row) {
    ScrollStrip &s = Strip();
    if (row < 0) row = 0;
    if (row > s.maxFirstRow) row = s.maxFirstRow;
    bool changed = row != s.firstRow;
    s.firstRow = row;
    return changed;
}

bool StripPress(HWND window, POINT point) {
    ScrollStrip &s = Strip();
    POINT local{point.x - s.stripX, point.y};
    if (PtInRect(&s.thumbRect, local)) {
        s.dragOffset = point.y - ThumbTop();
        s.dragging = true;
        SetCapture(window);
        return true;
    }
    if (PtInRect(&s.upRect, local))
        s.scrollStep = -1;
    else if (PtInRect(&s.downRect, local))
        s.scrollStep = 1;
    else if (point.y < s.thumbRect.top)
        s.scrollStep = -s.visibleRows;
    else if (point.y > s.thumbRect.bottom)
        s.scrollStep = s.visibleRows;
    // Beside the thumb the step stays as it is: nothing outside a repeat.
    if (!SetPosition(s.firstRow + s.scrollStep)) return false;
    SetTimer(window, ScrollRepeatTimer, 100, nullptr);
    SetCapture(window);
    return true;
}

bool StripDrag(POINT point) {
    ScrollStrip &s = Strip();
    if (!s.dragging) return false;
    int track = TrackLength();
    if (track > 0) SetPosition((point.y - ArrowLength() - s.stripRect.top - s.dragOffset) * s.totalRows / track);
    return true;
}

void StripRelease(HWND window) {
    ScrollStrip &s = Strip();
    s.dragging = false;
    if (s.scrollStep != 0) {
        KillTimer(window, ScrollRepeatTimer);
        s.scrollStep = 0;
    }
    ReleaseCapture();
}

void StripRepeat(HWND window) {
    ScrollStrip &s = Strip();
    if (SetPosition(s.firstRow + s.scrollStep))
        RepaintWhole(window);
    else
        KillTimer(window, ScrollRepeatTimer);  // the step stays until the release
}
