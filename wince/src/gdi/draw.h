// Helpers shared by the drawing functions: clipped spans, pen strokes.
#pragma once

#include <vector>

#include "dc.h"

namespace wince::gdi {

// Paints [x0, x1) of canvas row y with the brush, inside the DC's clip.
void FillSpanClipped(Dc &dc, const BrushPaint &paint, int y, int x0, int x1);

// Strokes lines with the DC's pen, in canvas coordinates.
class PenStroke {
   public:
    explicit PenStroke(Dc &dc);
    bool Null() const { return null_; }
    int Width() const { return width_; }
    // From (x0, y0) to (x1, y1), the last point left out, as LineTo draws.
    void Line(int x0, int y0, int x1, int y1);
    void Plot(int x, int y);

   private:
    Dc &dc_;
    Canvas canvas_;
    uint32_t color_ = 0;
    bool null_ = true, dashed_ = false;
    int width_ = 1;
    int dashStep_ = 0;
};

}  // namespace wince::gdi
