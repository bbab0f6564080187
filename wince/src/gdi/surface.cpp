// Surfaces: 24-bit top-down pixel memory, owned or borrowed.
#include "surface.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "canvas.h"

namespace wince {

namespace {

gdi::Canvas CanvasOf(const Surface &s) {
    gdi::Canvas c;
    c.bits = s.Bits();
    c.stride = s.Stride();
    c.width = s.Width();
    c.height = s.Height();
    c.bpp = 24;
    return c;
}

}  // namespace

std::shared_ptr<Surface> Surface::Create(int width, int height, bool clear) {
    if (width <= 0 || height <= 0 || int64_t{SurfaceStride(width)} * height > (int64_t{512} << 20)) return nullptr;
    try {
        auto s = std::make_shared<Surface>();
        s->width_ = width;
        s->height_ = height;
        s->stride_ = SurfaceStride(width);
        const size_t bytes = static_cast<size_t>(s->stride_) * height;
        s->storage_ = std::make_unique_for_overwrite<uint8_t[]>(bytes);
        s->bits_ = s->storage_.get();
        if (clear) memset(s->bits_, 0, bytes);
        return s;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

std::shared_ptr<Surface> Surface::Wrap(uint8_t *bits, int width, int height, int stride) {
    if (!bits || width <= 0 || height <= 0 || stride < width * 3) return nullptr;
    auto s = std::make_shared<Surface>();
    s->width_ = width;
    s->height_ = height;
    s->stride_ = stride;
    s->bits_ = bits;
    return s;
}

COLORREF Surface::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    const uint8_t *p = Row(y) + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void Surface::SetPixel(int x, int y, COLORREF color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint8_t *p = Row(y) + x * 3;
    p[0] = GetBValue(color), p[1] = GetGValue(color), p[2] = GetRValue(color);
}

void Surface::Fill(const RECT &rect, COLORREF color) {
    RECT r = RectIntersection(rect, RECT{0, 0, width_, height_});
    if (RectIsEmpty(r)) return;
    gdi::Canvas c = CanvasOf(*this);
    uint32_t native = gdi::RgbOf(color);
    for (int y = r.top; y < r.bottom; ++y) gdi::FillSpan(c, r.left, y, r.right - r.left, native);
}

void Surface::Copy(int x, int y, const Surface &from, const RECT &source) {
    RECT s = RectIntersection(source, RECT{0, 0, from.width_, from.height_});
    if (RectIsEmpty(s)) return;
    // Where the clipped source lands, clipped to this surface.
    int dx = x + (s.left - source.left), dy = y + (s.top - source.top);
    RECT d = RectIntersection(RECT{dx, dy, dx + (s.right - s.left), dy + (s.bottom - s.top)}, RECT{0, 0, width_, height_});
    if (RectIsEmpty(d)) return;
    int sx = s.left + (d.left - dx), sy = s.top + (d.top - dy);
    size_t bytes = static_cast<size_t>(d.right - d.left) * 3;
    int rows = d.bottom - d.top;
    // Overlapping copies within one surface go in the safe direction.
    bool upward = &from == this && sy < d.top;
    for (int i = 0; i < rows; ++i) {
        int k = upward ? rows - 1 - i : i;
        memmove(Row(d.top + k) + d.left * 3, from.Row(sy + k) + sx * 3, bytes);
    }
}

}  // namespace wince
