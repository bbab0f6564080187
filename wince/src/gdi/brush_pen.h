// Logical pens and brushes, and how a brush paints a span of pixels.
#pragma once

#include <memory>

#include "bitmap.h"
#include "canvas.h"
#include "objects.h"

namespace wince::gdi {

struct Pen : GdiObject {
    static constexpr Kind kKind = Kind::Pen;
    Pen() : GdiObject(kKind) {}
    LOGPEN log{};
};

struct Brush : GdiObject {
    static constexpr Kind kKind = Kind::Brush;
    Brush() : GdiObject(kKind) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    HBITMAP patternHandle = nullptr;
    std::shared_ptr<Bitmap> pattern;  // a private copy: the caller may delete its bitmap
};

// What a brush puts into a row of a canvas: its colours as native values.
// Monochrome patterns take the DC's text (0) and background (1) colours.
// Pattern pixels are aligned to (alignX, alignY) on the canvas.
struct BrushPaint {
    const Brush *brush = nullptr;
    uint32_t solid = 0;   // native value of a solid brush
    bool null = true;     // paints nothing
    COLORREF text = 0, bk = 0xFFFFFF;
    int alignX = 0, alignY = 0;

    bool IsSolid() const { return !null && !brush->pattern; }
    // The native values for pixels x..x+n-1 of row y.
    void Row(const Canvas &target, int x, int y, int n, uint32_t *out) const;
};

BrushPaint MakeBrushPaint(const Brush *brush, const Canvas &target, COLORREF text, COLORREF bk, POINT align);

int PenObjectInfo(const Pen &pen, int size, void *buffer);
int BrushObjectInfo(const Brush &brush, int size, void *buffer);

}  // namespace wince::gdi
