// BitBlt, StretchBlt, PatBlt and TransparentImage: one engine that walks
// the destination's clip rectangles row by row.
#include <algorithm>
#include <cstring>
#include <vector>

#include "blit.h"
#include "dc.h"
#include "rop.h"

namespace wince::gdi {

namespace {

struct Source {
    Canvas canvas;
    RECT rect{};  // canvas coordinates; non-empty
    bool flipX = false, flipY = false;
    COLORREF bk = RGB(255, 255, 255);
};

struct Request {
    RECT dest{};  // canvas coordinates; non-empty
    const Source *source = nullptr;
    uint8_t rop3 = 0xCC;
    bool transparent = false;
    COLORREF key = 0;
};

// Pixels of a source that shares memory with the destination, copied
// first so that overlapping blits read what was there before.
void Snapshot(Source &s, std::vector<uint8_t> &copy) {
    int top = std::max<int>(0, s.rect.top), bottom = std::min<int>(s.canvas.height, s.rect.bottom);
    if (bottom <= top) return;
    size_t rowBytes = static_cast<size_t>(s.canvas.stride < 0 ? -s.canvas.stride : s.canvas.stride);
    copy.resize(rowBytes * (bottom - top));
    for (int y = top; y < bottom; ++y) memcpy(copy.data() + rowBytes * (y - top), s.canvas.Row(y), rowBytes);
    s.canvas.bits = copy.data();
    s.canvas.stride = static_cast<ptrdiff_t>(rowBytes);
    s.canvas.height = bottom - top;
    s.rect.top -= top;
    s.rect.bottom -= top;
}

std::vector<int> Map(int destLength, int sourceStart, int sourceLength, bool flip) {
    std::vector<int> map(destLength);
    for (int i = 0; i < destLength; ++i) {
        int k = static_cast<int>(int64_t{i} * sourceLength / destLength);
        map[i] = sourceStart + (flip ? sourceLength - 1 - k : k);
    }
    return map;
}

void Blit(Dc &dc, Request req) {
    Canvas target = dc.Target();
    if (!target.Valid()) return;
    const uint8_t rop = req.rop3;
    const bool usesSource = req.source && (RopUsesSource(rop) || req.transparent);
    const bool usesPattern = RopUsesPattern(rop);
    const bool usesDest = RopUsesDest(rop) || req.transparent;

    BrushPaint paint;
    if (usesPattern) {
        paint = DcBrushPaint(dc, dc.state.brushObject.get());
        if (paint.null) return;  // a null brush paints nothing
    }
    Source src;
    std::vector<uint8_t> snapshot;
    if (usesSource) {
        src = *req.source;
        if (!src.canvas.Valid()) return;
        if (src.canvas.bits == target.bits) Snapshot(src, snapshot);
    }
    const int dw = req.dest.right - req.dest.left, dh = req.dest.bottom - req.dest.top;
    std::vector<int> cols, rows;
    bool stretch = false;
    if (usesSource) {
        int sw = src.rect.right - src.rect.left, sh = src.rect.bottom - src.rect.top;
        stretch = sw != dw || sh != dh || src.flipX || src.flipY;
        cols = Map(dw, src.rect.left, sw, src.flipX);
        rows = Map(dh, src.rect.top, sh, src.flipY);
    }

    // Solid fills and plain copies take the short ways.
    if (!usesSource && !usesDest && (rop == 0x00 || rop == 0xFF || (rop == 0xF0 && paint.IsSolid()))) {
        uint32_t v = rop == 0x00 ? NativeOf(target, RGB(0, 0, 0))
                     : rop == 0xFF ? NativeOf(target, RGB(255, 255, 255))
                                   : paint.solid;
        ForEachClipped(dc, req.dest, [&](const RECT &r) {
            for (int y = r.top; y < r.bottom; ++y) FillSpan(target, r.left, y, r.right - r.left, v);
        });
        return;
    }
    SourceConverter convert(src.canvas, target, src.bk, dc.state.textColor, dc.state.bkColor);
    const bool plainCopy = usesSource && !stretch && rop == 0xCC && !req.transparent && convert.Identity() &&
                           src.canvas.bpp == target.bpp && target.bpp >= 8;
    const int bytesPerPixel = target.bpp / 8;

    std::vector<uint32_t> sbuf(usesSource ? dw : 0), pbuf(usesPattern ? dw : 0), dbuf(dw), span;
    std::vector<uint8_t> keyed(req.transparent ? dw : 0);
    ForEachClipped(dc, req.dest, [&](const RECT &r) {
        for (int y = r.top; y < r.bottom; ++y) {
            int x0 = r.left, x1 = r.right, sy = 0;
            if (usesSource) {
                sy = rows[y - req.dest.top];
                if (sy < 0 || sy >= src.canvas.height) continue;
                // Columns whose source lies outside the source are not drawn.
                auto inside = [&](int x) {
                    int sx = cols[x - req.dest.left];
                    return sx >= 0 && sx < src.canvas.width;
                };
                while (x0 < x1 && !inside(x0)) ++x0;
                while (x1 > x0 && !inside(x1 - 1)) --x1;
            }
            int n = x1 - x0;
            if (n <= 0) continue;
            if (plainCopy) {
                memmove(target.Row(y) + x0 * bytesPerPixel,
                        src.canvas.Row(sy) + cols[x0 - req.dest.left] * bytesPerPixel,
                        static_cast<size_t>(n) * bytesPerPixel);
                continue;
            }
            if (usesSource) {
                const int *c = &cols[x0 - req.dest.left];
                if (!stretch) {
                    ReadRow(src.canvas, c[0], sy, n, sbuf.data());
                } else {
                    int lo = std::min(c[0], c[n - 1]), hi = std::max(c[0], c[n - 1]);
                    span.resize(hi - lo + 1);
                    ReadRow(src.canvas, lo, sy, hi - lo + 1, span.data());
                    for (int i = 0; i < n; ++i) sbuf[i] = span[c[i] - lo];
                }
                if (req.transparent) {
                    for (int i = 0; i < n; ++i) keyed[i] = ColorOf(src.canvas, sbuf[i]) == req.key;
                }
                convert.Convert(sbuf.data(), sbuf.data(), n);
            }
            if (usesPattern) paint.Row(target, x0, y, n, pbuf.data());
            if (usesDest) ReadRow(target, x0, y, n, dbuf.data());
            if (req.transparent) {
                for (int i = 0; i < n; ++i)
                    if (!keyed[i]) dbuf[i] = sbuf[i];
            } else {
                ApplyRop(rop, usesPattern ? pbuf.data() : nullptr, usesSource ? sbuf.data() : nullptr, dbuf.data(), n);
            }
            WriteRow(target, x0, y, n, dbuf.data());
        }
    });
}

RECT Extent(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

// Negative extents count from the other edge.
void Normalize(int &x, int &w) {
    if (w < 0) x += w, w = -w;
}

bool SourceFromDc(HDC hdc, Source &s, int x, int y, int w, int h) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return false;
    s.canvas = dc->Target();
    s.bk = dc->state.bkColor;
    s.flipX = w < 0;
    s.flipY = h < 0;
    Normalize(x, w);
    Normalize(y, h);
    s.rect = Extent(dc->CanvasX(x), dc->CanvasY(y), w, h);
    return true;
}

}  // namespace

void BlitCanvas(Dc &dc, const RECT &dest, const Canvas &src, const RECT &source, DWORD rop, COLORREF srcBk) {
    if (RectIsEmpty(dest) || RectIsEmpty(source)) return;
    Source s;
    s.canvas = src;
    s.rect = source;
    s.bk = srcBk;
    Request req;
    req.dest = dest;
    req.source = &s;
    req.rop3 = Rop3(rop);
    Blit(dc, req);
}

}  // namespace wince::gdi

using namespace wince::gdi;

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    Request req;
    req.rop3 = Rop3(rop);
    if (cx < 0) x += cx, x1 += cx, cx = -cx;
    if (cy < 0) y += cy, y1 += cy, cy = -cy;
    Source src;
    if (RopUsesSource(req.rop3)) {
        if (!SourceFromDc(hdcSrc, src, x1, y1, cx, cy)) return FALSE;
        req.source = &src;
    }
    if (cx == 0 || cy == 0) return TRUE;
    req.dest = Extent(dc->CanvasX(x), dc->CanvasY(y), cx, cy);
    Blit(*dc, req);
    return TRUE;
}

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop) {
    std::shared_ptr<Dc> dc = FindDc(hdcDest);
    if (!dc) return FALSE;
    Request req;
    req.rop3 = Rop3(rop);
    Source src;
    if (RopUsesSource(req.rop3)) {
        if (!SourceFromDc(hdcSrc, src, xSrc, ySrc, wSrc, hSrc)) return FALSE;
        if (wSrc == 0 || hSrc == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        // Mirroring on the destination side mirrors the source instead.
        if (wDest < 0) src.flipX = !src.flipX;
        if (hDest < 0) src.flipY = !src.flipY;
        req.source = &src;
    }
    Normalize(xDest, wDest);
    Normalize(yDest, hDest);
    if (wDest == 0 || hDest == 0) return TRUE;
    req.dest = Extent(dc->CanvasX(xDest), dc->CanvasY(yDest), wDest, hDest);
    Blit(*dc, req);
    return TRUE;
}

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    Request req;
    req.rop3 = Rop3(rop);
    if (RopUsesSource(req.rop3)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Normalize(x, w);
    Normalize(y, h);
    if (w == 0 || h == 0) return TRUE;
    req.dest = Extent(dc->CanvasX(x), dc->CanvasY(y), w, h);
    Blit(*dc, req);
    return TRUE;
}

BOOL WINAPI TransparentImage(HDC hdcDest, LONG DstX, LONG DstY, LONG DstCx, LONG DstCy, HANDLE hSrc, LONG SrcX,
                             LONG SrcY, LONG SrcCx, LONG SrcCy, COLORREF TransparentColor) {
    std::shared_ptr<Dc> dc = FindDc(static_cast<HDC>(hdcDest));
    if (!dc) return FALSE;
    // The source is a DC or a bitmap.
    Source src;
    std::shared_ptr<GdiObject> o = FindObject(hSrc);
    if (o && o->kind == Kind::Dc) {
        if (!SourceFromDc(static_cast<HDC>(hSrc), src, SrcX, SrcY, SrcCx, SrcCy)) return FALSE;
    } else if (o && o->kind == Kind::Bitmap) {
        src.canvas = static_cast<Bitmap &>(*o).GetCanvas();
        src.rect = Extent(SrcX, SrcY, SrcCx, SrcCy);
    } else {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (DstCx <= 0 || DstCy <= 0 || SrcCx <= 0 || SrcCy <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Request req;
    req.source = &src;
    req.transparent = true;
    req.key = TransparentColor & 0x00FFFFFF;
    req.dest = Extent(dc->CanvasX(DstX), dc->CanvasY(DstY), DstCx, DstCy);
    Blit(*dc, req);
    return TRUE;
}
