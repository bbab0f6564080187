// Device contexts: memory DCs drawing on a selected bitmap, and surface DCs
// drawing on a surface through an origin and a visible region (window DCs).
#pragma once

#include <memory>
#include <vector>

#include "bitmap.h"
#include "brush_pen.h"
#include "canvas.h"
#include "font.h"
#include "objects.h"
#include "region.h"
#include "surface.h"

namespace wince::gdi {

// Everything SaveDC saves.
struct DcState {
    HPEN pen = nullptr;
    std::shared_ptr<Pen> penObject;
    HBRUSH brush = nullptr;
    std::shared_ptr<Brush> brushObject;
    HFONT font = nullptr;
    std::shared_ptr<Font> fontObject;
    HBITMAP bitmap = nullptr;
    std::shared_ptr<Bitmap> bitmapObject;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    POINT viewportOrg{0, 0};
    POINT position{0, 0};
    bool hasClip = false;
    Region clip;  // device coordinates of the DC (before the surface origin)
};

struct Dc : GdiObject {
    static constexpr Kind kKind = Kind::Dc;
    Dc() : GdiObject(kKind) {}

    bool memory = false;
    std::shared_ptr<Surface> surface;  // surface DCs
    POINT origin{0, 0};                // device (0,0) on the canvas
    Region visible;                    // surface DCs: where it may draw, canvas coordinates
    HWND window = nullptr;
    DcState state;
    std::vector<DcState> saved;
    // The face realized for the selected font on the device of that
    // generation (FaceOf): text is measured many times a paint.
    std::shared_ptr<FontFace> face;
    HGDIOBJ faceFont = nullptr;
    unsigned faceGeneration = 0;

    // The canvas and the clip in canvas coordinates, kept up to date.
    const Canvas &Target() {
        if (dirty) Update();
        return canvas_;
    }
    const Region &Clip() {
        if (dirty) Update();
        return clip_;
    }
    void Invalidate() { dirty = true; }

    // Logical to canvas coordinates.
    int CanvasX(int x) const { return x + state.viewportOrg.x + origin.x; }
    int CanvasY(int y) const { return y + state.viewportOrg.y + origin.y; }
    RECT CanvasRect(const RECT &logical) const;

   private:
    void Update();
    bool dirty = true;
    Canvas canvas_;
    Region clip_;
};

std::shared_ptr<Dc> FindDc(HDC hdc);  // sets ERROR_INVALID_HANDLE when it fails
// FindDc through BorrowObject, for the length of one text call.
std::shared_ptr<Dc> BorrowDc(HDC hdc);

// Calls fn(rect) for every part of area (canvas coordinates) inside the clip.
template <typename Fn>
void ForEachClipped(Dc &dc, const RECT &area, Fn fn) {
    if (area.left >= area.right || area.top >= area.bottom) return;
    for (const RECT &r : dc.Clip().Rects()) {
        RECT i = RectIntersection(r, area);
        if (!RectIsEmpty(i)) fn(i);
    }
}

// A new DC with the default objects selected (and, for a memory DC, the
// default bitmap).
std::shared_ptr<Dc> MakeDc(bool memory);
// Deselects everything, so the objects may be deleted, and removes the DC.
void DestroyDc(Dc &dc);
// SelectClipRgn on a DC: the new clip (device coordinates), or none.
int SelectClip(Dc &dc, const Region *region);

// The brush of the DC, ready to paint its canvas.
BrushPaint DcBrushPaint(Dc &dc, const Brush *brush);

}  // namespace wince::gdi
