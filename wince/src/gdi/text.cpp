// Text output and measuring: ExtTextOut, GetTextExtent*, GetTextMetrics,
// GetTextFace, and the hook that records every text drawn.
#include "text.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "device/device.h"
#include "glyph_blend.h"

namespace wince::gdi {

namespace {

std::atomic<TextDrawnHook> textHook{nullptr};

RECT Limit(const RECT &area, const RECT *clip) { return clip ? RectIntersection(area, *clip) : area; }

}  // namespace

FontFace &FaceOf(Dc &dc) {
    HGDIOBJ font = dc.state.fontObject ? dc.state.font : GetStockObject(SYSTEM_FONT);
    unsigned generation = Device::Generation();
    if (!dc.face || dc.faceFont != font || dc.faceGeneration != generation) {
        // Font handles are never reused, so the handle names the font.
        dc.face = RealizeFont(dc.state.fontObject ? *dc.state.fontObject : *Find<Font>(font));
        dc.faceFont = font;
        dc.faceGeneration = generation;
    }
    return *dc.face;
}

int UnderlineOffset(const FontFace &face) {
    const TEXTMETRICW &m = face.Metrics();
    return m.tmAscent + (m.tmDescent > 1 ? (m.tmDescent - 1) / 2 : 0);
}

void FillSolid(Dc &dc, const RECT &area, COLORREF color, const RECT *clip) {
    const Canvas &c = dc.Target();
    if (!c.Valid()) return;
    uint32_t native = NativeOf(c, color);
    ForEachClipped(dc, Limit(area, clip), [&](const RECT &r) {
        for (int y = r.top; y < r.bottom; ++y) FillSpan(c, r.left, y, r.right - r.left, native);
    });
}

void DrawGlyphs(Dc &dc, FontFace &face, int x, int top, const char16_t *text, int count, const int *advances,
                COLORREF color, const RECT *clip) {
    const Canvas &c = dc.Target();
    if (!c.Valid() || count <= 0) return;
    int baseline = top + face.Metrics().tmAscent;
    int pen = x;
    const bool rgb24 = c.bpp == 24;
    const InkRow ink(rgb24 ? color : 0);
    // A clip of one rectangle (the usual case) is cut with the given one once,
    // and each glyph against the result.
    const std::vector<RECT> &clipRects = dc.Clip().Rects();
    const bool oneRect = clipRects.size() == 1;
    const RECT bounds = oneRect ? Limit(clipRects[0], clip) : RECT{};
    for (int i = 0; i < count; ++i) {
        char32_t ch = text[i];
        int advance = advances[i];
        if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            advance += advances[++i];
        }
        const Glyph &g = face.GlyphOf(ch);
        if (g.width > 0 && g.height > 0) {
            int gx = pen + g.left, gy = baseline + g.top;
            if (oneRect && rgb24) {
                RECT r{std::max<LONG>(gx, bounds.left), std::max<LONG>(gy, bounds.top),
                       std::min<LONG>(gx + g.width, bounds.right), std::min<LONG>(gy + g.height, bounds.bottom)};
                if (r.left < r.right && r.top < r.bottom) BlendGlyph24(c, g, gx, gy, r, ink);
                pen += advance;
                continue;
            }
            RECT area = Limit(RECT{gx, gy, gx + g.width, gy + g.height}, clip);
            ForEachClipped(dc, area, [&](const RECT &r) {
                if (rgb24)
                    BlendGlyph24(c, g, gx, gy, r, ink);
                else
                    BlendGlyph(c, g, gx, gy, r, color);
            });
        }
        pen += advance;
    }
    const TEXTMETRICW &m = face.Metrics();
    int thickness = std::max<int>(1, m.tmHeight / 14);
    if (face.Underline()) {
        int y = top + UnderlineOffset(face);
        FillSolid(dc, RECT{std::min(x, pen), y, std::max(x, pen), y + thickness}, color, clip);
    }
    if (face.StrikeOut()) {
        int y = baseline - m.tmAscent / 3;
        FillSolid(dc, RECT{std::min(x, pen), y, std::max(x, pen), y + thickness}, color, clip);
    }
}

RECT DrawTextCell(Dc &dc, FontFace &face, const RECT &cell, const char16_t *text, int count, const int *advances,
                  const RECT *clip) {
    RECT canvasCell = dc.CanvasRect(cell);
    if (dc.state.bkMode == OPAQUE) FillSolid(dc, canvasCell, dc.state.bkColor, clip);
    DrawGlyphs(dc, face, canvasCell.left, canvasCell.top, text, count, advances, dc.state.textColor, clip);
    return canvasCell;
}

void NotifyTextDrawn(Dc &dc, std::u16string_view text, const RECT &rect) {
    TextDrawnHook hook = textHook.load();
    if (hook) hook(static_cast<HDC>(dc.handle), dc.window, std::u16string(text), rect);
}

}  // namespace wince::gdi

void wince::SetTextDrawnHook(TextDrawnHook hook) { wince::gdi::textHook.store(hook); }

using namespace wince::gdi;

BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT *lprect, LPCWSTR lpString, UINT c,
                        const INT *lpDx) {
    std::shared_ptr<Dc> dc = BorrowDc(hdc);
    if (!dc) return FALSE;
    if ((c > 0 && !lpString) || c > 0x7FFFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    FontFace &face = FaceOf(*dc);
    const TEXTMETRICW &m = face.Metrics();
    int n = static_cast<int>(c);
    std::vector<int> advances(n);
    if (lpDx)
        std::copy(lpDx, lpDx + n, advances.begin());
    else
        face.Advances(lpString, n, advances.data());
    int width = 0;
    for (int a : advances) width += a;

    UINT align = dc->state.textAlign;
    int left = x, top = y;
    if ((align & TA_CENTER) == TA_CENTER) left -= width / 2;
    else if (align & TA_RIGHT) left -= width;
    if ((align & TA_BASELINE) == TA_BASELINE) top -= m.tmAscent;
    else if (align & TA_BOTTOM) top -= m.tmHeight;

    RECT canvasClip{};
    const RECT *clip = nullptr;
    if (lprect) {
        canvasClip = dc->CanvasRect(*lprect);
        if (options & ETO_OPAQUE) FillSolid(*dc, canvasClip, dc->state.bkColor, nullptr);
        if (options & ETO_CLIPPED) clip = &canvasClip;
    }
    if (n == 0) return TRUE;
    RECT cell{left, top, left + width, top + m.tmHeight};
    DrawTextCell(*dc, face, cell, lpString, n, advances.data(), clip);
    NotifyTextDrawn(*dc, std::u16string_view(lpString, n), clip ? wince::RectIntersection(cell, *lprect) : cell);
    return TRUE;
}

BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR lpszString, int cchString, int nMaxExtent, LPINT lpnFit,
                                  LPINT lpnDx, LPSIZE lpSize) {
    std::shared_ptr<Dc> dc = BorrowDc(hdc);
    if (!dc) return FALSE;
    if (cchString < 0 || (cchString > 0 && !lpszString) || !lpSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    FontFace &face = FaceOf(*dc);
    lpSize->cy = face.Metrics().tmHeight;
    int extent = 0, fit = 0;
    if (!lpnDx && face.MeasureKnownAscii(lpszString, cchString, nMaxExtent, &extent, &fit)) {
        if (lpnFit) *lpnFit = fit;
        lpSize->cx = extent;
        return TRUE;
    }
    // Most texts measured are short: no allocation for them.
    int local[128];
    std::vector<int> heap(cchString > 128 ? cchString : 0);
    int *advances = cchString > 128 ? heap.data() : local;
    face.Advances(lpszString, cchString, advances);
    // The characters that fit are those before the extent first passes the
    // maximum; the rest only add to the extent.
    int i = 0;
    for (; i < cchString && extent + advances[i] <= nMaxExtent; ++i) extent += advances[i];
    fit = i;
    for (; i < cchString; ++i) extent += advances[i];
    if (lpnDx)
        for (int k = 0, sum = 0; k < cchString; ++k) lpnDx[k] = sum += advances[k];
    if (lpnFit) *lpnFit = fit;
    lpSize->cx = extent;
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
    return GetTextExtentExPointW(hdc, lpString, c, 0, nullptr, nullptr, psizl);
}

BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (!lptm) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lptm = FaceOf(*dc).Metrics();
    return TRUE;
}

int WINAPI GetTextFaceW(HDC hdc, int c, LPWSTR lpName) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return 0;
    const std::u16string &name = FaceOf(*dc).FaceName();
    if (!lpName) return static_cast<int>(name.size()) + 1;
    if (c <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int n = std::min<int>(c - 1, static_cast<int>(name.size()));
    std::copy(name.begin(), name.begin() + n, lpName);
    lpName[n] = 0;
    return n;
}
