// How glyph coverage goes onto a canvas: the ink over what lies under it,
// in proportion to the coverage.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "font.h"

namespace wince::gdi {

// One channel of ink over what lies under it by coverage a, rounded to
// nearest: (t + t / 256) / 256 divides by 255 exactly over the whole range,
// so coverage 0 keeps what is under and 255 gives the ink.
inline uint8_t Mix(unsigned ink, unsigned under, unsigned a) {
    unsigned t = ink * a + under * (255 - a) + 128;
    return static_cast<uint8_t>((t + (t >> 8)) >> 8);
}

// The ink's bytes as a 24-bit row holds them, for a run of pixels.
struct InkRow {
    static constexpr int kPixels = 32;  // wider rows go in pieces
    explicit InkRow(COLORREF color);
    uint8_t bytes[kPixels * 3];
};

// dst[j] = Mix(ink[j], dst[j], cov[j]) for n bytes, any coverage.
void BlendBytes(uint8_t *dst, const uint8_t *cov, const uint8_t *ink, int n);

// Blends glyph g, its top-left pixel at canvas (gx, gy), over the canvas
// inside area, which lies within the canvas and the glyph. Any canvas,
// pixel by pixel; palette canvases take ink where half covered or more.
void BlendGlyph(const Canvas &c, const Glyph &g, int gx, int gy, const RECT &area, COLORREF color);
// The same for a 24-bit canvas: only the inked columns of each row, many
// bytes at a time. The same pixels as BlendGlyph.
void BlendGlyph24(const Canvas &c, const Glyph &g, int gx, int gy, const RECT &area, const InkRow &ink);

}  // namespace wince::gdi
