#include "picture.h"

#include <cstring>

namespace wince {
namespace {

uint32_t Le32(const uint8_t *p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }
uint16_t Le16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// One channel of a BI_BITFIELDS pixel, widened to 8 bits.
uint8_t Channel(uint32_t value, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    uint32_t bits = mask >> shift, v = (value & mask) >> shift;
    return static_cast<uint8_t>(bits >= 255 ? v * 255 / bits : (v * 255 + bits / 2) / bits);
}

size_t Stride(int width, int bpp) { return ((static_cast<size_t>(width) * bpp + 31) / 32) * 4; }

}  // namespace

bool DecodeDib(const uint8_t *data, size_t size, bool icon, Picture &out) {
    if (!data || size < sizeof(BITMAPINFOHEADER)) return false;
    BITMAPINFOHEADER h;
    memcpy(&h, data, sizeof h);
    int bpp = h.biBitCount;
    bool bitfields = h.biCompression == BI_BITFIELDS;
    if (h.biSize < sizeof h || h.biSize > size || h.biWidth <= 0 || h.biWidth > 0x4000 || h.biHeight == 0 ||
        h.biHeight < -0x4000 || h.biHeight > 0x8000 || h.biPlanes != 1)
        return false;
    if (!(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)) return false;
    if (!(h.biCompression == BI_RGB || (bitfields && (bpp == 16 || bpp == 32)))) return false;
    bool topDown = h.biHeight < 0 && !icon;
    int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (icon) {
        if (h.biHeight < 0 || height < 2) return false;
        height /= 2;
    }
    int width = h.biWidth;
    size_t at = h.biSize;
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bpp == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (bitfields) {
        if (h.biSize == sizeof h) {
            if (at + 12 > size) return false;
            at += 12;
        }
        for (int i = 0; i < 3; ++i) masks[i] = Le32(data + sizeof h + 4 * i);
    }
    std::vector<COLORREF> colors;
    if (bpp <= 8) {
        size_t count = h.biClrUsed && h.biClrUsed < (1u << bpp) ? h.biClrUsed : (1u << bpp);
        if (at + count * 4 > size) return false;
        for (size_t i = 0; i < count; ++i) colors.push_back(RGB(data[at + 4 * i + 2], data[at + 4 * i + 1], data[at + 4 * i]));
        colors.resize(size_t{1} << bpp, 0);
        at += count * 4;
    }
    size_t stride = Stride(width, bpp), maskStride = Stride(width, 1);
    size_t need = stride * height + (icon ? maskStride * height : 0);
    if (at > size || size - at < need) return false;
    out.width = width;
    out.height = height;
    out.pixels.assign(static_cast<size_t>(width) * height, 0);
    out.transparent.assign(icon ? out.pixels.size() : 0, 0);
    bool anyAlpha = false;
    std::vector<uint8_t> alpha(icon && bpp == 32 ? out.pixels.size() : 0);
    for (int y = 0; y < height; ++y) {
        const uint8_t *row = data + at + stride * (topDown ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            COLORREF c = 0;
            if (bpp <= 8) {
                int perByte = 8 / bpp, shift = 8 - bpp * (x % perByte + 1);
                c = colors[(row[x / perByte] >> shift) & ((1 << bpp) - 1)];
            } else if (bpp == 24) {
                c = RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            } else {
                uint32_t v = bpp == 16 ? Le16(row + 2 * x) : Le32(row + 4 * x);
                c = RGB(Channel(v, masks[0]), Channel(v, masks[1]), Channel(v, masks[2]));
                if (!alpha.empty()) {
                    alpha[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(v >> 24);
                    anyAlpha = anyAlpha || (v >> 24);
                }
            }
            out.pixels[static_cast<size_t>(y) * width + x] = c;
        }
    }
    if (!icon) return true;
    const uint8_t *maskBits = data + at + stride * height;
    for (int y = 0; y < height; ++y) {
        const uint8_t *row = maskBits + maskStride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            size_t i = static_cast<size_t>(y) * width + x;
            if (anyAlpha) {
                out.transparent[i] = alpha[i] < 128;
                if (out.transparent[i]) out.pixels[i] = 0;  // black leaves the screen as it is
            } else {
                out.transparent[i] = (row[x / 8] >> (7 - x % 8)) & 1;
            }
        }
    }
    return true;
}

Picture Scaled(const Picture &p, int w, int h) {
    if (w == p.width && h == p.height) return p;
    Picture s;
    s.width = w;
    s.height = h;
    s.pixels.resize(static_cast<size_t>(w) * h);
    if (!p.transparent.empty()) s.transparent.resize(s.pixels.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            size_t from = static_cast<size_t>(y * p.height / h) * p.width + x * p.width / w;
            s.pixels[static_cast<size_t>(y) * w + x] = p.pixels[from];
            if (!p.transparent.empty()) s.transparent[static_cast<size_t>(y) * w + x] = p.transparent[from];
        }
    return s;
}

HBITMAP MakeColorBitmap(const Picture &p) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;  // top-down, as the picture
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    size_t stride = Stride(p.width, 24);
    auto *out = static_cast<uint8_t *>(bits);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            COLORREF c = p.pixels[static_cast<size_t>(y) * p.width + x];
            uint8_t *px = out + stride * y + 3 * x;
            px[0] = GetBValue(c), px[1] = GetGValue(c), px[2] = GetRValue(c);
        }
    return bitmap;
}

HICON MakeIcon(const Picture &p) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = p.width;
    info.header.biHeight = -p.height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.colors[1] = RGBQUAD{255, 255, 255, 0};
    void *bits = nullptr;
    HBITMAP mask = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    HBITMAP color = mask ? MakeColorBitmap(p) : nullptr;
    HICON icon = nullptr;
    if (mask && color) {
        size_t stride = Stride(p.width, 1);
        auto *out = static_cast<uint8_t *>(bits);
        memset(out, 0, stride * p.height);
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if (!p.transparent.empty() && p.transparent[static_cast<size_t>(y) * p.width + x])
                    out[stride * y + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        ICONINFO ii = {TRUE, static_cast<DWORD>(p.width / 2), static_cast<DWORD>(p.height / 2), mask, color};
        icon = CreateIconIndirect(&ii);  // copies both bitmaps
    }
    if (mask) DeleteObject(mask);
    if (color) DeleteObject(color);
    return icon;
}

}  // namespace wince
