#include "item/ScrollStrip.h"

#include "drawing/ScreenMetrics.h"

int ScrollStripWidth() {
    return ScaleX(13) + 2;
}

void ScrollStrip::Layout(const RECT &area) {
    stripX = area.right - 2 - ScaleX(13);
    stripRect = RECT{0, area.top, ScaleX(13) + 2, area.bottom};
    minThumb = ScaleY(10);
    int trackLength = area.bottom - ScaleY(24) - area.top - 2;
    // Only laid out while the documents do not fit; a range that does not
    // say so gets a full-length thumb instead of a division by zero.
    int hidden = totalRows - visibleRows;
    int thumbLength = totalRows > 0 ? visibleRows * trackLength / totalRows : trackLength;
    if (thumbLength < minThumb) thumbLength = minThumb;
    int thumbTop = StripTrackTop(stripRect) + (hidden > 0 ? (trackLength - thumbLength) * firstRow / hidden : 0);
    thumbRect = RECT{1, thumbTop, stripRect.right - 1, thumbTop + thumbLength};
    upRect = RECT{1, area.top + 1, stripRect.right - 1, area.top + 1 + ScaleY(12)};
    downRect = RECT{1, area.bottom - 1 - ScaleY(12), stripRect.right - 1, area.bottom - 1};
}

int StripTrackTop(const RECT &stripRect) {
    return stripRect.top + 1 + ScaleY(12);
}
int StripTrackBottom(const RECT &stripRect) {
    return stripRect.bottom - ScaleY(12) - 1;
}
