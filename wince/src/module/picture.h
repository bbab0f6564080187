// Images as the resource formats store them (packed DIBs: a
// BITMAPINFOHEADER, its colours, the bits; icon images with their AND mask)
// decoded to plain pixels, and turned into GDI objects through the public
// GDI functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <windows.h>

namespace wince {

struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;     // top-down rows
    std::vector<uint8_t> transparent;  // icons: 1 where the AND mask keeps the screen
};

// `icon`: the height in the header counts the colour image and the mask.
// 32-bit icon images with an alpha channel take their mask from it.
bool DecodeDib(const uint8_t *data, size_t size, bool icon, Picture &out);

// Nearest-neighbour resampling to w x h.
Picture Scaled(const Picture &p, int w, int h);

// A 24-bit DIB section of the picture.
HBITMAP MakeColorBitmap(const Picture &p);
// An icon: the picture's colours and its mask.
HICON MakeIcon(const Picture &p);

}  // namespace wince
