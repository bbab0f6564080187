// Helpers for the GDI tests: a device with the fixed-metric font, and small
// bitmaps in memory DCs whose pixels a test reads directly.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "temp_device.h"
#include "device/device.h"

namespace gdi_test {

inline std::string Hex(COLORREF c) {
    char b[16];
    snprintf(b, sizeof b, "%06X", static_cast<unsigned>(c));
    return b;
}

// A fresh device whose profile asks for the fixed-metric font.
class FixedFontTest : public ::testing::Test {
   protected:
    void SetUp() override {
        std::ofstream(device.Root() / "device.ini")
            << "[screen]\nwidth = 240\nheight = 320\ndpi_x = 96\ndpi_y = 96\n[font]\nmode = fixed\n";
        wince::Device::Select(device.Root());
    }
    testing_support::TempDevice device;
};

// A memory DC holding a top-down DIB section of the given depth, filled
// with one colour (24 and 32 bits) or zero.
class TestBitmap {
   public:
    TestBitmap(int width, int height, int bpp = 24, COLORREF fill = RGB(255, 255, 255)) : w(width), h(height) {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[256];
        } info{};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = width;
        info.header.biHeight = -height;
        info.header.biPlanes = 1;
        info.header.biBitCount = static_cast<WORD>(bpp);
        info.colors[1] = RGBQUAD{255, 255, 255, 0};
        void *p = nullptr;
        bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint8_t *>(p);
        stride = ((width * bpp + 31) / 32) * 4;
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
        if (bpp >= 24) {
            RECT all{0, 0, width, height};
            HBRUSH b = CreateSolidBrush(fill);
            FillRect(dc, &all, b);
            DeleteObject(b);
        }
    }
    ~TestBitmap() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    COLORREF At(int x, int y) const {
        const uint8_t *p = bits + y * stride + x * 3;
        return RGB(p[2], p[1], p[0]);
    }
    // The rows as text, one character a pixel: '#' for the colour, '.' else.
    std::string Picture(COLORREF ink) const {
        std::string s;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) s += At(x, y) == ink ? '#' : '.';
            s += '\n';
        }
        return s;
    }

    int w, h, stride = 0;
    HBITMAP bitmap = nullptr;
    HDC dc = nullptr;
    HGDIOBJ old = nullptr;
    uint8_t *bits = nullptr;
};

}  // namespace gdi_test
