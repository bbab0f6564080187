// FillRect, FrameRect and DrawFocusRect.
#include <cstring>
#include <vector>

#include "draw.h"

namespace wince::gdi {

namespace {

// A system colour index + 1 may stand in for a brush.
constexpr uintptr_t kLastColorBrush = COLOR_GRADIENTINACTIVECAPTION + 1;

// The brush a FillRect-style call names, or null (last error set).
std::shared_ptr<Brush> BrushArgument(HBRUSH hbr) {
    auto value = reinterpret_cast<uintptr_t>(hbr);
    if (value >= 1 && value <= kLastColorBrush) {
        auto b = std::make_shared<Brush>();
        b->color = GetSysColor(static_cast<int>(value - 1));
        return b;
    }
    return FindOrFail<Brush>(hbr);
}

void FillCanvasRect(Dc &dc, const BrushPaint &paint, const RECT &r) {
    if (paint.null) return;
    if (paint.IsSolid()) {
        const Canvas &c = dc.Target();
        ForEachClipped(dc, r, [&](const RECT &i) {
            for (int y = i.top; y < i.bottom; ++y) FillSpan(c, i.left, y, i.right - i.left, paint.solid);
        });
        return;
    }
    for (int y = r.top; y < r.bottom; ++y) FillSpanClipped(dc, paint, y, r.left, r.right);
}

// The usual first drawing into a new bitmap is its background over all of
// it: the zeroing the bitmap was spared is then never needed.
bool FillWholeUnwrittenBitmap(Dc &dc, const RECT &r, const Brush &brush) {
    const Bitmap *b = dc.memory ? dc.state.bitmapObject.get() : nullptr;
    if (!b || !b->unwritten.load(std::memory_order_acquire) || dc.state.hasClip) return false;
    if (brush.style == BS_NULL || brush.pattern) return false;
    if (r.left > 0 || r.top > 0 || r.right < b->width || r.bottom < b->height) return false;
    Canvas c = b->CanvasToOverwrite();
    uint32_t native = NativeOf(c, brush.color);
    // Rows without padding, all bytes alike (white, black, greys): one fill.
    const uint8_t byte = static_cast<uint8_t>(native);
    if (c.bpp == 24 && c.stride == c.width * 3 && native == (byte * 0x010101u)) {
        memset(c.Row(0), byte, static_cast<size_t>(c.stride) * c.height);
        return true;
    }
    for (int y = 0; y < c.height; ++y) FillSpan(c, 0, y, c.width, native);
    return true;
}

}  // namespace

}  // namespace wince::gdi

using namespace wince::gdi;

int WINAPI FillRect(HDC hDC, const RECT *lprc, HBRUSH hbr) {
    std::shared_ptr<Dc> dc = FindDc(hDC);
    if (!dc) return 0;
    if (!lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::shared_ptr<Brush> brush = BrushArgument(hbr);
    if (!brush) return 0;
    RECT r = dc->CanvasRect(*lprc);
    if (FillWholeUnwrittenBitmap(*dc, r, *brush)) return 1;
    if (!dc->Target().Valid()) return 1;
    FillCanvasRect(*dc, DcBrushPaint(*dc, brush.get()), r);
    return 1;
}

int WINAPI FrameRect(HDC hDC, const RECT *lprc, HBRUSH hbr) {
    std::shared_ptr<Dc> dc = FindDc(hDC);
    if (!dc) return 0;
    if (!lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::shared_ptr<Brush> brush = BrushArgument(hbr);
    if (!brush) return 0;
    RECT r = dc->CanvasRect(*lprc);
    if (r.right <= r.left || r.bottom <= r.top || !dc->Target().Valid()) return 1;
    BrushPaint paint = DcBrushPaint(*dc, brush.get());
    FillCanvasRect(*dc, paint, RECT{r.left, r.top, r.right, r.top + 1});
    FillCanvasRect(*dc, paint, RECT{r.left, r.bottom - 1, r.right, r.bottom});
    FillCanvasRect(*dc, paint, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1});
    FillCanvasRect(*dc, paint, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1});
    return 1;
}

BOOL WINAPI DrawFocusRect(HDC hDC, const RECT *lprc) {
    std::shared_ptr<Dc> dc = FindDc(hDC);
    if (!dc) return FALSE;
    if (!lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT r = dc->CanvasRect(*lprc);
    const Canvas &c = dc->Target();
    if (r.right <= r.left || r.bottom <= r.top || !c.Valid()) return TRUE;
    // Every other pixel of the border inverted, so drawing it twice
    // removes it.
    auto invert = [&](int x, int y) {
        if ((x + y) % 2 != 0 || !dc->Clip().Contains(x, y)) return;
        WritePixel(c, x, y, ~ReadPixel(c, x, y));
    };
    for (int x = r.left; x < r.right; ++x) {
        invert(x, r.top);
        if (r.bottom - 1 > r.top) invert(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        invert(r.left, y);
        if (r.right - 1 > r.left) invert(r.right - 1, y);
    }
    return TRUE;
}
