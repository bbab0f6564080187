// Icons: a colour image and a mask, drawn as the device draws icons.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bitmap.h"
#include "objects.h"

namespace wince::gdi {

struct Icon : GdiObject {
    static constexpr Kind kKind = Kind::Icon;
    Icon() : GdiObject(kKind) {}
    bool isIcon = true;
    DWORD hotX = 0, hotY = 0;
    int width = 0, height = 0;
    std::shared_ptr<Bitmap> color;  // null: a monochrome icon, mask twice as high
    std::shared_ptr<Bitmap> mask;
    // Runs of pixels per row for the one-pass draw (empty when the bitmaps
    // are not a 24-bit image with a monochrome mask): copied where the mask
    // is clear, XORed where it is set and the image is not black, and left
    // alone where the draw would not change the screen.
    struct Run {
        int x0, x1;
        bool invert;
    };
    std::vector<Run> runs;
    std::vector<size_t> rowRuns;  // first run of each row, and one past the last row's
};

// Fills in the runs once the icon has its bitmaps.
void PlanIconRuns(Icon &icon);

// An icon from 32-bit blue-green-red-alpha pixels, top row first, rows of
// stride bytes; pixels with alpha below one half are transparent. For the
// resource loader.
HICON CreateIconFromBgra(const uint8_t *pixels, int width, int height, int stride);

}  // namespace wince::gdi
