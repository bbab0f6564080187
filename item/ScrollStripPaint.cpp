#include "item/ScrollStripPaint.h"

#include "drawing/KeyColor.h"
#include "drawing/ScreenMetrics.h"
#include "drawing/ThemeColors.h"
#include "item/ItemState.h"
#include "item/ScrollStrip.h"
#include "item/res/resource.h"

namespace {

constexpr COLORREF kThemeKey = RGB(255, 0, 0);
constexpr COLORREF kTintKey = RGB(255, 255, 255);
constexpr int kThemeIndex = 6;

// The template's parts, all in its right half: scaled offsets that match
// both bitmaps' rows exactly.
int TemplateX() {
    return ScaleX(13);
}

// Red becomes the theme colour; white becomes a lightened copy of what lies
// under it, so that the glyph looks translucent.
void DrawThemedGlyph(DibBitmap &canvas, const RECT &target, const DibBitmap &glyphs, int templateX, int templateY) {
    COLORREF theme = GetThemeColor(kThemeIndex, DefaultThemeColor);
    RecolorByKey(canvas, target, glyphs, templateX, templateY, kThemeKey, theme);
    COLORREF tint;
    if (TintedAverageByKey(canvas, target, glyphs, templateX, templateY, kTintKey, tint))
        RecolorByKey(canvas, target, glyphs, templateX, templateY, kTintKey, tint);
}

void FillSolid(HDC hdc, int left, int top, int right, int bottom, HBRUSH brush) {
    RECT r{left, top, right, bottom};
    FillRect(hdc, &r, brush);
}

RECT Shifted(const RECT &r, int dy) {
    return RECT{r.left, r.top + dy, r.right, r.bottom + dy};
}

}  // namespace

void PaintScrollStrip(ScrollStrip &strip, HWND, HDC hdc, const RECT &area) {
    if (strip.glyphs.Empty()) {
        // Loaded once; a later change of resolution keeps the first template.
        HBITMAP loaded = LoadBitmapW(ModuleHandle, MAKEINTRESOURCEW(ScaleX(1) == 1 ? IDB_STRIP : IDB_STRIP_LARGE));
        if (loaded) {
            strip.glyphs.Create(loaded);
            DeleteObject(loaded);
        }
    }
    strip.Layout(area);
    // The strip is composed in a bitmap of its own over the background the
    // context already holds, then copied back in one step.
    DibBitmap canvas;
    if (!canvas.Create(hdc, strip.stripX, area.top, strip.stripX + strip.stripRect.right, area.bottom)) return;
    const int dy = -static_cast<int>(area.top);  // canvas row 0 is area.top
    const RECT thumb = Shifted(strip.thumbRect, dy);
    const RECT stripRect = Shifted(strip.stripRect, dy);
    COLORREF thumbFill = TintedAverage(canvas, thumb);

    DrawThemedGlyph(canvas, Shifted(strip.upRect, dy), strip.glyphs, TemplateX(), 0);
    DrawThemedGlyph(canvas, Shifted(strip.downRect, dy), strip.glyphs, TemplateX(), ScaleY(12) + 1);

    COLORREF theme = GetThemeColor(kThemeIndex, DefaultThemeColor);
    HDC canvasDc = canvas.Dc();
    HBRUSH fillBrush = CreateSolidBrush(thumbFill);
    FillSolid(canvasDc, thumb.left + ScaleX(2), thumb.top + ScaleY(2), thumb.right + 1 - ScaleX(2),
              thumb.bottom + 1 - ScaleY(2), fillBrush);
    DeleteObject(fillBrush);

    RECT topCap{thumb.left, thumb.top, thumb.right, thumb.top + ScaleY(2)};
    RECT bottomCap{thumb.left, thumb.bottom - ScaleY(2), thumb.right, thumb.bottom};
    const int topCapY = ScaleY(24) + 2, bottomCapY = ScaleY(27) + 4;
    RecolorByKey(canvas, topCap, strip.glyphs, TemplateX(), topCapY, kThemeKey, theme);
    RecolorByKey(canvas, topCap, strip.glyphs, TemplateX(), topCapY, kTintKey, thumbFill);
    RecolorByKey(canvas, bottomCap, strip.glyphs, TemplateX(), bottomCapY, kThemeKey, theme);
    RecolorByKey(canvas, bottomCap, strip.glyphs, TemplateX(), bottomCapY, kTintKey, thumbFill);

    HBRUSH themeBrush = CreateSolidBrush(theme);
    int sideTop = thumb.top + ScaleY(2), sideBottom = thumb.bottom - ScaleY(2);
    int left = stripRect.left + ScaleX(1) + 1;
    FillSolid(canvasDc, left, sideTop, left + ScaleX(1), sideBottom, themeBrush);
    int right = stripRect.right - ScaleX(2) - 1;
    FillSolid(canvasDc, right, sideTop, right + ScaleX(1), sideBottom, themeBrush);
    int track = stripRect.left + ScaleX(6) + 1;
    FillSolid(canvasDc, track, StripTrackTop(stripRect), track + ScaleX(1), thumb.top, themeBrush);
    FillSolid(canvasDc, track, thumb.bottom, track + ScaleX(1), StripTrackBottom(stripRect), themeBrush);
    DeleteObject(themeBrush);

    canvas.Draw(hdc, POINT{strip.stripX, area.top});
}
