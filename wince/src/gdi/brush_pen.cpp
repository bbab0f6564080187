// Pens and brushes: creation, GetObject, and painting rows with a brush.
#include "brush_pen.h"

#include <cstring>

namespace wince::gdi {

namespace {

int Wrap(int v, int n) {
    int m = v % n;
    return m < 0 ? m + n : m;
}

}  // namespace

BrushPaint MakeBrushPaint(const Brush *brush, const Canvas &target, COLORREF text, COLORREF bk, POINT align) {
    BrushPaint p;
    p.brush = brush;
    p.text = text;
    p.bk = bk;
    p.alignX = align.x;
    p.alignY = align.y;
    p.null = !brush || brush->style == BS_NULL;
    if (!p.null && !brush->pattern) p.solid = NativeOf(target, brush->color);
    return p;
}

void BrushPaint::Row(const Canvas &target, int x, int y, int n, uint32_t *out) const {
    if (IsSolid()) {
        for (int i = 0; i < n; ++i) out[i] = solid;
        return;
    }
    if (null) return;
    Canvas pc = brush->pattern->GetCanvas();
    int py = Wrap(y - alignY, pc.height);
    int px = Wrap(x - alignX, pc.width);
    bool mono = IsMonochrome(pc);
    uint32_t zero = NativeOf(target, text), one = NativeOf(target, bk);
    uint32_t value = 0;
    for (int i = 0; i < n; ++i) {
        ReadRow(pc, px, py, 1, &value);
        out[i] = mono ? (value ? one : zero) : NativeOf(target, ColorOf(pc, value));
        if (++px == pc.width) px = 0;
    }
}

int PenObjectInfo(const Pen &pen, int size, void *buffer) {
    if (!buffer) return sizeof(LOGPEN);
    if (size < static_cast<int>(sizeof(LOGPEN))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    memcpy(buffer, &pen.log, sizeof(LOGPEN));
    return sizeof(LOGPEN);
}

int BrushObjectInfo(const Brush &brush, int size, void *buffer) {
    if (!buffer) return sizeof(LOGBRUSH);
    if (size < static_cast<int>(sizeof(LOGBRUSH))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    LOGBRUSH lb{};
    lb.lbStyle = brush.style;
    lb.lbColor = brush.style == BS_SOLID ? brush.color : 0;
    lb.lbHatch = brush.style == BS_PATTERN ? reinterpret_cast<ULONG_PTR>(brush.patternHandle) : 0;
    memcpy(buffer, &lb, sizeof lb);
    return sizeof(LOGBRUSH);
}

}  // namespace wince::gdi

using namespace wince::gdi;

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    auto b = std::make_shared<Brush>();
    b->style = BS_SOLID;
    b->color = color & 0x00FFFFFF;
    return static_cast<HBRUSH>(AddObject(b));
}

HBRUSH WINAPI CreatePatternBrush(HBITMAP hbm) {
    std::shared_ptr<Bitmap> bitmap = FindOrFail<Bitmap>(hbm);
    if (!bitmap) return nullptr;
    auto b = std::make_shared<Brush>();
    b->style = BS_PATTERN;
    b->patternHandle = hbm;
    b->pattern = CopyBitmap(*bitmap);
    if (!b->pattern) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return static_cast<HBRUSH>(AddObject(b));
}

HPEN WINAPI CreatePenIndirect(const LOGPEN *plpen) {
    if (!plpen || (plpen->lopnStyle != PS_SOLID && plpen->lopnStyle != PS_DASH && plpen->lopnStyle != PS_NULL)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto p = std::make_shared<Pen>();
    p->log = *plpen;
    p->log.lopnWidth.x = p->log.lopnWidth.x < 0 ? -p->log.lopnWidth.x : p->log.lopnWidth.x;
    p->log.lopnWidth.y = 0;
    p->log.lopnColor &= 0x00FFFFFF;
    return static_cast<HPEN>(AddObject(p));
}

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) {
    LOGPEN lp{};
    lp.lopnStyle = static_cast<UINT>(iStyle);
    lp.lopnWidth = POINT{cWidth, 0};
    lp.lopnColor = color;
    return CreatePenIndirect(&lp);
}
