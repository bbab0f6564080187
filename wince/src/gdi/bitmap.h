// Bitmaps: device-dependent bitmaps (CreateBitmap, CreateCompatibleBitmap)
// and DIB sections, whose bits the caller addresses directly.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "canvas.h"
#include "objects.h"
#include "surface.h"

namespace wince::gdi {

struct Bitmap : GdiObject {
    static constexpr Kind kKind = Kind::Bitmap;
    Bitmap() : GdiObject(kKind) {}

    int width = 0, height = 0, bpp = 1;
    int stride = 0;            // bytes per row in memory, DWORD aligned
    bool dib = false;          // a DIB section
    bool topDown = true;       // row 0 first in memory
    uint8_t *memory = nullptr; // the first row in memory order
    std::vector<uint8_t> storage;
    std::shared_ptr<Surface> surface;  // holds 24-bit pixels; top-down ones are surfaces too
    std::vector<RGBQUAD> colors;       // colour table of a paletted bitmap
    BITMAPINFOHEADER header{};         // what CreateDIBSection was given
    DWORD bitfields[3] = {0, 0, 0};
    // A new device-dependent bitmap's pixels are zero, but zeroed only when
    // first used: most are painted over whole first (a paint's off-screen
    // bitmap gets its background), and then never need it.
    mutable std::atomic<bool> unwritten{false};

    // The pixels, zeroed first when still unwritten.
    Canvas GetCanvas() const;
    // The pixels of an unwritten bitmap as they are, for a caller that
    // writes every one of them now.
    Canvas CanvasToOverwrite() const;
};

// A zeroed bitmap that is not in the handle table yet (with deferZero, a
// 24-bit one is zeroed when first used, see Bitmap::unwritten). Null when
// the size is out of range or memory runs out.
std::shared_ptr<Bitmap> MakeBitmap(int width, int height, int bpp, bool deferZero = false);
// A bitmap with the same pixels and format, as a device-dependent bitmap.
std::shared_ptr<Bitmap> CopyBitmap(const Bitmap &from);
// GetObject for bitmaps: BITMAP, or DIBSECTION when the buffer has room.
int BitmapObjectInfo(const Bitmap &bitmap, int size, void *buffer);

// The surface over a 24-bit top-down bitmap's pixels, else null.
std::shared_ptr<Surface> SurfaceOfBitmap(HBITMAP bitmap);

}  // namespace wince::gdi
