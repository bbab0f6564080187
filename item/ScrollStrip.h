// The scroll strip at the item's right edge: range, geometry of the last
// paint, drag state and glyph template.
#pragma once

#include <windows.h>

#include "drawing/DibBitmap.h"

class ScrollStrip {
   public:
    ScrollStrip() = default;
    virtual ~ScrollStrip() = default;
    ScrollStrip(const ScrollStrip &) = delete;
    ScrollStrip &operator=(const ScrollStrip &) = delete;

    // Sets the geometry fields for a strip at the right end of area, from
    // the range as it stands.
    void Layout(const RECT &area);

    int totalRows = 0;
    int visibleRows = 0;
    int firstRow = 0;
    int maxFirstRow = 0;
    int minThumb = 0;
    int dragOffset = 0;
    int scrollStep = 0;
    bool dragging = false;
    // Left edge of the strip in item coordinates; the rectangles below count
    // x from it and y in item coordinates.
    int stripX = 0;
    RECT stripRect{};
    RECT upRect{};
    RECT downRect{};
    RECT thumbRect{};
    DibBitmap glyphs;
};

// Width of the strip, the part of the item it takes: 15 at 96 dots per inch.
int ScrollStripWidth();
// The thin track between the arrows, in item y.
int StripTrackTop(const RECT &stripRect);
int StripTrackBottom(const RECT &stripRect);
