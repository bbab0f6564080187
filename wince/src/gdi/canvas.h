// A view of pixels in memory (a surface, a bitmap, a DIB section, top-down
// or bottom-up) and the row operations every drawing function is built on.
//
// Row buffers hold "native" values: 0x00RRGGBB for 24 and 32 bits per
// pixel, the palette index for 1, 4 and 8. Raster operations work on native
// values, as the device does, so DSTINVERT on a palette bitmap inverts the
// index and on a colour bitmap the colour.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace wince::gdi {

struct Canvas {
    uint8_t *bits = nullptr;  // row 0, the top row
    ptrdiff_t stride = 0;     // negative for a bottom-up DIB
    int width = 0, height = 0;
    int bpp = 24;
    const RGBQUAD *palette = nullptr;  // for bpp <= 8
    int paletteSize = 0;

    uint8_t *Row(int y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
    bool Paletted() const { return bpp <= 8; }
    bool Valid() const { return bits != nullptr && width > 0 && height > 0; }
};

inline int DibStride(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

// Colour <-> native value. A colour goes to the nearest palette entry.
uint32_t NativeOf(const Canvas &c, COLORREF color);
COLORREF ColorOf(const Canvas &c, uint32_t native);
inline uint32_t RgbOf(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline COLORREF ColorOfRgb(uint32_t v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }

// x, y and n must lie inside the canvas.
void ReadRow(const Canvas &c, int x, int y, int n, uint32_t *out);
void WriteRow(const Canvas &c, int x, int y, int n, const uint32_t *in);
void FillSpan(const Canvas &c, int x, int y, int n, uint32_t native);
uint32_t ReadPixel(const Canvas &c, int x, int y);
void WritePixel(const Canvas &c, int x, int y, uint32_t native);

// Native values of a row as colours (palette looked up).
void ReadColorRow(const Canvas &c, int x, int y, int n, uint32_t *rgb);

// A 1-bit canvas whose palette is black then white behaves as a monochrome
// bitmap: blits to colour use the text and background colours.
bool IsMonochrome(const Canvas &c);

}  // namespace wince::gdi
