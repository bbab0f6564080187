// Pixels and lines: GetPixel, SetPixel, MoveToEx, LineTo, Polyline.
#include <cstdlib>

#include "draw.h"

namespace wince::gdi {

namespace {

// A dashed pen: this many pixels drawn, then this many left out.
constexpr int kDashOn = 6, kDashOff = 3;

}  // namespace

void FillSpanClipped(Dc &dc, const BrushPaint &paint, int y, int x0, int x1) {
    if (x0 >= x1 || paint.null) return;
    const Canvas &c = dc.Target();
    for (const RECT &r : dc.Clip().Rects()) {
        if (y < r.top || y >= r.bottom) continue;
        int a = x0 > r.left ? x0 : r.left, b = x1 < r.right ? x1 : r.right;
        if (a >= b) continue;
        if (paint.IsSolid()) {
            FillSpan(c, a, y, b - a, paint.solid);
        } else {
            std::vector<uint32_t> row(b - a);
            paint.Row(c, a, y, b - a, row.data());
            WriteRow(c, a, y, b - a, row.data());
        }
    }
}

PenStroke::PenStroke(Dc &dc) : dc_(dc), canvas_(dc.Target()) {
    const Pen *pen = dc.state.penObject.get();
    null_ = !pen || pen->log.lopnStyle == PS_NULL;
    if (null_) return;
    color_ = NativeOf(canvas_, pen->log.lopnColor);
    width_ = pen->log.lopnWidth.x > 1 ? pen->log.lopnWidth.x : 1;
    dashed_ = pen->log.lopnStyle == PS_DASH && width_ == 1;  // wide pens are always solid
}

void PenStroke::Plot(int x, int y) {
    if (width_ == 1) {
        if (x >= 0 && y >= 0 && x < canvas_.width && y < canvas_.height && dc_.Clip().Contains(x, y))
            WritePixel(canvas_, x, y, color_);
        return;
    }
    int x0 = x - width_ / 2, y0 = y - width_ / 2;
    ForEachClipped(dc_, RECT{x0, y0, x0 + width_, y0 + width_}, [&](const RECT &r) {
        for (int yy = r.top; yy < r.bottom; ++yy) FillSpan(canvas_, r.left, yy, r.right - r.left, color_);
    });
}

void PenStroke::Line(int x0, int y0, int x1, int y1) {
    if (null_ || !canvas_.Valid()) return;
    if (y0 == y1 && width_ == 1 && !dashed_) {
        // Horizontal lines are spans.
        int a = x0 < x1 ? x0 : x1 + 1, b = x0 < x1 ? x1 : x0 + 1;
        ForEachClipped(dc_, RECT{a, y0, b, y0 + 1}, [&](const RECT &r) {
            FillSpan(canvas_, r.left, r.top, r.right - r.left, color_);
        });
        return;
    }
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0, y = y0;
    while (x != x1 || y != y1) {
        bool on = !dashed_ || dashStep_ < kDashOn;
        if (on) Plot(x, y);
        if (dashed_) dashStep_ = (dashStep_ + 1) % (kDashOn + kDashOff);
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x += sx;
        if (e2 <= dx) err += dx, y += sy;
    }
}

}  // namespace wince::gdi

using namespace wince::gdi;

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return CLR_INVALID;
    int cx = dc->CanvasX(x), cy = dc->CanvasY(y);
    const Canvas &c = dc->Target();
    if (!c.Valid() || !dc->Clip().Contains(cx, cy)) return CLR_INVALID;
    return ColorOf(c, ReadPixel(c, cx, cy));
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return CLR_INVALID;
    int cx = dc->CanvasX(x), cy = dc->CanvasY(y);
    const Canvas &c = dc->Target();
    if (!c.Valid() || !dc->Clip().Contains(cx, cy)) return CLR_INVALID;
    uint32_t native = NativeOf(c, color & 0x00FFFFFF);
    WritePixel(c, cx, cy, native);
    return ColorOf(c, native);
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (lppt) *lppt = dc->state.position;
    dc->state.position = POINT{x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    POINT from = dc->state.position;
    PenStroke(*dc).Line(dc->CanvasX(from.x), dc->CanvasY(from.y), dc->CanvasX(x), dc->CanvasY(y));
    dc->state.position = POINT{x, y};
    return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT *apt, int cpt) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (!apt || cpt < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    PenStroke pen(*dc);
    for (int i = 0; i + 1 < cpt; ++i)
        pen.Line(dc->CanvasX(apt[i].x), dc->CanvasY(apt[i].y), dc->CanvasX(apt[i + 1].x), dc->CanvasY(apt[i + 1].y));
    return TRUE;
}
