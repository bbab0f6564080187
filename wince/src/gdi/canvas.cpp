#include "canvas.h"

#include <cstring>

namespace wince::gdi {

namespace {

const RGBQUAD kMonoPalette[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};

const RGBQUAD *PaletteOf(const Canvas &c, int &size) {
    if (c.palette && c.paletteSize > 0) {
        size = c.paletteSize;
        return c.palette;
    }
    size = 2;
    return kMonoPalette;  // a 1-bit bitmap without a table is black and white
}

inline uint32_t QuadRgb(const RGBQUAD &q) { return (uint32_t{q.rgbRed} << 16) | (q.rgbGreen << 8) | q.rgbBlue; }

}  // namespace

uint32_t NativeOf(const Canvas &c, COLORREF color) {
    if (!c.Paletted()) return RgbOf(color);
    int size = 0;
    const RGBQUAD *pal = PaletteOf(c, size);
    int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    int best = 0;
    long bestDistance = -1;
    int limit = size < (1 << c.bpp) ? size : (1 << c.bpp);
    for (int i = 0; i < limit; ++i) {
        long dr = r - pal[i].rgbRed, dg = g - pal[i].rgbGreen, db = b - pal[i].rgbBlue;
        long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) best = i, bestDistance = d;
        if (d == 0) break;
    }
    return static_cast<uint32_t>(best);
}

COLORREF ColorOf(const Canvas &c, uint32_t native) {
    if (!c.Paletted()) return ColorOfRgb(native);
    int size = 0;
    const RGBQUAD *pal = PaletteOf(c, size);
    uint32_t index = native & ((1u << c.bpp) - 1);
    if (static_cast<int>(index) >= size) return RGB(0, 0, 0);
    return RGB(pal[index].rgbRed, pal[index].rgbGreen, pal[index].rgbBlue);
}

bool IsMonochrome(const Canvas &c) {
    if (c.bpp != 1) return false;
    int size = 0;
    const RGBQUAD *pal = PaletteOf(c, size);
    return size >= 2 && QuadRgb(pal[0]) == 0 && QuadRgb(pal[1]) == 0xFFFFFF;
}

void ReadRow(const Canvas &c, int x, int y, int n, uint32_t *out) {
    const uint8_t *row = c.Row(y);
    switch (c.bpp) {
        case 24: {
            const uint8_t *p = row + x * 3;
            for (int i = 0; i < n; ++i, p += 3) out[i] = p[0] | (p[1] << 8) | (uint32_t{p[2]} << 16);
            break;
        }
        case 32: {
            const uint8_t *p = row + x * 4;
            for (int i = 0; i < n; ++i, p += 4) out[i] = p[0] | (p[1] << 8) | (uint32_t{p[2]} << 16);
            break;
        }
        case 8:
            for (int i = 0; i < n; ++i) out[i] = row[x + i];
            break;
        case 4:
            for (int i = 0; i < n; ++i) {
                int px = x + i;
                out[i] = (px & 1) ? (row[px >> 1] & 0x0F) : (row[px >> 1] >> 4);
            }
            break;
        case 1:
            for (int i = 0; i < n; ++i) {
                int px = x + i;
                out[i] = (row[px >> 3] >> (7 - (px & 7))) & 1;
            }
            break;
    }
}

void WriteRow(const Canvas &c, int x, int y, int n, const uint32_t *in) {
    uint8_t *row = c.Row(y);
    switch (c.bpp) {
        case 24: {
            uint8_t *p = row + x * 3;
            for (int i = 0; i < n; ++i, p += 3) {
                uint32_t v = in[i];
                p[0] = static_cast<uint8_t>(v), p[1] = static_cast<uint8_t>(v >> 8), p[2] = static_cast<uint8_t>(v >> 16);
            }
            break;
        }
        case 32: {
            uint8_t *p = row + x * 4;
            for (int i = 0; i < n; ++i, p += 4) {
                uint32_t v = in[i];
                p[0] = static_cast<uint8_t>(v), p[1] = static_cast<uint8_t>(v >> 8), p[2] = static_cast<uint8_t>(v >> 16);
                p[3] = 0;
            }
            break;
        }
        case 8:
            for (int i = 0; i < n; ++i) row[x + i] = static_cast<uint8_t>(in[i]);
            break;
        case 4:
            for (int i = 0; i < n; ++i) {
                int px = x + i;
                uint8_t &b = row[px >> 1];
                b = (px & 1) ? ((b & 0xF0) | (in[i] & 0x0F)) : ((b & 0x0F) | ((in[i] & 0x0F) << 4));
            }
            break;
        case 1:
            for (int i = 0; i < n; ++i) {
                int px = x + i;
                uint8_t bit = static_cast<uint8_t>(0x80 >> (px & 7));
                if (in[i] & 1)
                    row[px >> 3] |= bit;
                else
                    row[px >> 3] &= static_cast<uint8_t>(~bit);
            }
            break;
    }
}

void FillSpan(const Canvas &c, int x, int y, int n, uint32_t native) {
    if (n <= 0) return;
    uint8_t *row = c.Row(y);
    switch (c.bpp) {
        case 24: {
            uint8_t *p = row + x * 3;
            uint8_t b = static_cast<uint8_t>(native), g = static_cast<uint8_t>(native >> 8),
                    r = static_cast<uint8_t>(native >> 16);
            if (b == g && g == r) {
                memset(p, b, static_cast<size_t>(n) * 3);
                break;
            }
            // Short spans (thin lines, small boxes) pixel by pixel; longer
            // ones from the first pixel, doubling the filled part: a few
            // memcpy calls instead of a loop over every pixel.
            if (n <= 64) {
                for (int i = 0; i < n; ++i, p += 3) p[0] = b, p[1] = g, p[2] = r;
                break;
            }
            p[0] = b, p[1] = g, p[2] = r;
            size_t done = 3, total = static_cast<size_t>(n) * 3;
            while (done < total) {
                size_t chunk = done < total - done ? done : total - done;
                memcpy(p + done, p, chunk);
                done += chunk;
            }
            break;
        }
        case 32: {
            uint32_t v = native & 0x00FFFFFF;
            uint32_t *p = reinterpret_cast<uint32_t *>(row + x * 4);
            for (int i = 0; i < n; ++i) memcpy(p + i, &v, 4);
            break;
        }
        case 8:
            memset(row + x, static_cast<int>(native & 0xFF), static_cast<size_t>(n));
            break;
        default: {
            // 1 and 4 bits: few bitmaps, small; the row writer will do.
            uint32_t buffer[256];
            for (int done = 0; done < n;) {
                int k = n - done < 256 ? n - done : 256;
                for (int i = 0; i < k; ++i) buffer[i] = native;
                WriteRow(c, x + done, y, k, buffer);
                done += k;
            }
        }
    }
}

uint32_t ReadPixel(const Canvas &c, int x, int y) {
    uint32_t v = 0;
    ReadRow(c, x, y, 1, &v);
    return v;
}

void WritePixel(const Canvas &c, int x, int y, uint32_t native) { WriteRow(c, x, y, 1, &native); }

void ReadColorRow(const Canvas &c, int x, int y, int n, uint32_t *rgb) {
    ReadRow(c, x, y, n, rgb);
    if (!c.Paletted()) return;
    int size = 0;
    const RGBQUAD *pal = PaletteOf(c, size);
    for (int i = 0; i < n; ++i) rgb[i] = static_cast<int>(rgb[i]) < size ? QuadRgb(pal[rgb[i]]) : 0;
}

}  // namespace wince::gdi
