// Device-dependent bitmaps and DIB sections.
#include "bitmap.h"

#include <cstring>
#include <mutex>
#include <new>

#include "dc.h"

namespace wince::gdi {

namespace {

// Keeps a hostile size from asking for gigabytes.
constexpr int64_t kMaxBitmapBytes = int64_t{256} << 20;

bool SupportedDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32; }

// Rows of a DDB as CreateBitmap takes them and GetObject reports them:
// padded to 16 bits.
int DdbWidthBytes(int width, int bpp) { return ((width * bpp + 15) / 16) * 2; }

// Taken by the rare first use of a bitmap whose zeroing was deferred.
std::mutex &ZeroingLock() {
    static std::mutex *lock = new std::mutex;  // bitmaps may outlive static destruction
    return *lock;
}

}  // namespace

Canvas Bitmap::GetCanvas() const {
    if (unwritten.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> guard(ZeroingLock());
        if (unwritten.load(std::memory_order_relaxed)) {
            memset(memory, 0, static_cast<size_t>(stride) * height);
            unwritten.store(false, std::memory_order_release);
        }
    }
    return CanvasToOverwrite();
}

Canvas Bitmap::CanvasToOverwrite() const {
    if (unwritten.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> guard(ZeroingLock());
        unwritten.store(false, std::memory_order_release);
    }
    Canvas c;
    c.width = width;
    c.height = height;
    c.bpp = bpp;
    if (topDown) {
        c.bits = memory;
        c.stride = stride;
    } else {
        c.bits = memory + static_cast<ptrdiff_t>(height - 1) * stride;
        c.stride = -static_cast<ptrdiff_t>(stride);
    }
    if (!colors.empty()) {
        c.palette = colors.data();
        c.paletteSize = static_cast<int>(colors.size());
    }
    return c;
}

std::shared_ptr<Bitmap> MakeBitmap(int width, int height, int bpp, bool deferZero) {
    if (width <= 0 || height <= 0 || !SupportedDepth(bpp)) return nullptr;
    int64_t stride = ((int64_t{width} * bpp + 31) / 32) * 4;
    if (stride * height > kMaxBitmapBytes) return nullptr;
    try {
        auto b = std::make_shared<Bitmap>();
        b->width = width;
        b->height = height;
        b->bpp = bpp;
        b->stride = static_cast<int>(stride);
        if (bpp == 24) {
            b->surface = Surface::Create(width, height, !deferZero);
            if (!b->surface) return nullptr;
            b->memory = b->surface->Bits();
            b->unwritten = deferZero;
        } else {
            b->storage.assign(static_cast<size_t>(stride * height), 0);
            b->memory = b->storage.data();
        }
        return b;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

std::shared_ptr<Bitmap> CopyBitmap(const Bitmap &from) {
    std::shared_ptr<Bitmap> b = MakeBitmap(from.width, from.height, from.bpp);
    if (!b) return nullptr;
    b->colors = from.colors;
    Canvas src = from.GetCanvas(), dst = b->GetCanvas();
    size_t rowBytes = static_cast<size_t>(from.stride);
    for (int y = 0; y < from.height; ++y) memcpy(dst.Row(y), src.Row(y), rowBytes);
    return b;
}

int BitmapObjectInfo(const Bitmap &b, int size, void *buffer) {
    if (!buffer) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BITMAP bm{};
    bm.bmType = 0;
    bm.bmWidth = b.width;
    bm.bmHeight = b.height;
    bm.bmWidthBytes = b.dib ? b.stride : DdbWidthBytes(b.width, b.bpp);
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(b.bpp);
    bm.bmBits = b.dib ? b.memory : nullptr;
    if (b.dib && size >= static_cast<int>(sizeof(DIBSECTION))) {
        DIBSECTION ds{};
        ds.dsBm = bm;
        ds.dsBmih = b.header;
        memcpy(ds.dsBitfields, b.bitfields, sizeof ds.dsBitfields);
        ds.dshSection = nullptr;
        ds.dsOffset = 0;
        memcpy(buffer, &ds, sizeof ds);
        return sizeof(DIBSECTION);
    }
    memcpy(buffer, &bm, sizeof bm);
    return sizeof(BITMAP);
}

std::shared_ptr<Surface> SurfaceOfBitmap(HBITMAP bitmap) {
    std::shared_ptr<Bitmap> b = Find<Bitmap>(bitmap);
    if (!b || !b->topDown) return nullptr;  // a surface is top-down
    b->GetCanvas();                          // its pixels are read through the surface
    return b->surface;
}

}  // namespace wince::gdi

using namespace wince::gdi;

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void *lpBits) {
    if (nWidth < 0 || nHeight < 0 || nPlanes != 1 || (nBitCount != 1 && nBitCount != 24 && nBitCount != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (nWidth == 0 || nHeight == 0) return static_cast<HBITMAP>(AddObject(MakeBitmap(1, 1, 1)));
    std::shared_ptr<Bitmap> b = MakeBitmap(nWidth, nHeight, static_cast<int>(nBitCount));
    if (!b) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (lpBits) {
        const auto *src = static_cast<const uint8_t *>(lpBits);
        int srcStride = ((nWidth * static_cast<int>(nBitCount) + 15) / 16) * 2;
        size_t rowBytes = (static_cast<size_t>(nWidth) * nBitCount + 7) / 8;
        Canvas c = b->GetCanvas();
        for (int y = 0; y < nHeight; ++y) memcpy(c.Row(y), src + static_cast<size_t>(y) * srcStride, rowBytes);
    }
    return static_cast<HBITMAP>(AddObject(b));
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return nullptr;
    if (cx < 0 || cy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (cx == 0 || cy == 0) return static_cast<HBITMAP>(AddObject(MakeBitmap(1, 1, 1)));
    // A memory DC makes bitmaps like the one it holds: monochrome while it
    // still has its default bitmap.
    int bpp = 24;
    const Bitmap *selected = dc->memory ? dc->state.bitmapObject.get() : nullptr;
    if (selected) bpp = selected->bpp;
    std::shared_ptr<Bitmap> b = MakeBitmap(cx, cy, bpp, true);
    if (!b) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (selected && bpp > 1 && bpp <= 8) b->colors = selected->colors;
    return static_cast<HBITMAP>(AddObject(b));
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO *pbmi, UINT usage, void **ppvBits, HANDLE hSection,
                                DWORD offset) {
    (void)hdc;  // needed only for DIB_PAL_COLORS, which is not offered
    (void)offset;
    if (ppvBits) *ppvBits = nullptr;
    if (!pbmi || usage != DIB_RGB_COLORS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (hSection) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    const BITMAPINFOHEADER &h = pbmi->bmiHeader;
    int bpp = h.biBitCount;
    bool bitfields = h.biCompression == BI_BITFIELDS;
    bool ok = h.biSize >= sizeof(BITMAPINFOHEADER) && h.biWidth > 0 && h.biHeight != 0 &&
              h.biHeight != INT32_MIN && h.biPlanes == 1 && SupportedDepth(bpp) &&
              (h.biCompression == BI_RGB || (bitfields && bpp == 32));
    const uint8_t *extra = reinterpret_cast<const uint8_t *>(pbmi) + h.biSize;
    if (ok && bitfields) {
        // Only the layout every 32-bit DIB has: red, green, blue bytes.
        const auto *masks = reinterpret_cast<const DWORD *>(extra);
        ok = masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF;
    }
    if (!ok) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    std::shared_ptr<Bitmap> b = MakeBitmap(h.biWidth, height, bpp);
    if (!b) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    b->dib = true;
    b->topDown = h.biHeight < 0;
    b->header = h;
    b->header.biSize = sizeof(BITMAPINFOHEADER);
    if (b->header.biSizeImage == 0) b->header.biSizeImage = static_cast<DWORD>(b->stride) * height;
    if (bitfields) b->bitfields[0] = 0xFF0000, b->bitfields[1] = 0xFF00, b->bitfields[2] = 0xFF;
    if (bpp <= 8) {
        int full = 1 << bpp;
        int given = h.biClrUsed ? static_cast<int>(h.biClrUsed < static_cast<DWORD>(full) ? h.biClrUsed : full) : full;
        b->colors.assign(full, RGBQUAD{0, 0, 0, 0});
        memcpy(b->colors.data(), extra, sizeof(RGBQUAD) * given);
    }
    if (ppvBits) *ppvBits = b->memory;
    return static_cast<HBITMAP>(AddObject(b));
}

namespace {

std::shared_ptr<Bitmap> PalettedDibOf(HDC hdc) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return nullptr;
    std::shared_ptr<Bitmap> b = dc->memory ? dc->state.bitmapObject : nullptr;
    if (!b || !b->dib || b->bpp > 8) return nullptr;
    return b;
}

}  // namespace

int WINAPI GetDIBColorTable(HDC hdc, UINT iStart, UINT cEntries, RGBQUAD *prgbq) {
    std::shared_ptr<Bitmap> b = PalettedDibOf(hdc);
    if (!b || !prgbq) return 0;
    UINT size = static_cast<UINT>(b->colors.size());
    if (iStart >= size) return 0;
    UINT n = cEntries < size - iStart ? cEntries : size - iStart;
    memcpy(prgbq, b->colors.data() + iStart, n * sizeof(RGBQUAD));
    return static_cast<int>(n);
}

int WINAPI SetDIBColorTable(HDC hdc, UINT iStart, UINT cEntries, const RGBQUAD *prgbq) {
    std::shared_ptr<Bitmap> b = PalettedDibOf(hdc);
    if (!b || !prgbq) return 0;
    UINT size = static_cast<UINT>(b->colors.size());
    if (iStart >= size) return 0;
    UINT n = cEntries < size - iStart ? cEntries : size - iStart;
    memcpy(b->colors.data() + iStart, prgbq, n * sizeof(RGBQUAD));
    return static_cast<int>(n);
}
