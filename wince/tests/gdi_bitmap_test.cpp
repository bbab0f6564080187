// DIB section memory layout and bitmap creation, checked byte by byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gdi/surface.h"
#include "gdi_support.h"

namespace {

struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

HBITMAP MakeDib(int width, int height, int bpp, void **bits, const RGBQUAD *colors = nullptr, int count = 0) {
    DibInfo info{};
    info.header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(bpp), BI_RGB, 0, 0, 0,
                                   static_cast<DWORD>(count), 0};
    if (colors) memcpy(info.colors, colors, sizeof(RGBQUAD) * count);
    return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, bits, nullptr, 0);
}

TEST(GdiBitmap, DibSectionLayoutTopDownAndBottomUp) {
    struct Row {
        int width, height, bpp;
        int stride;
        int x, y;
        size_t offset;  // of the pixel's first byte in the bits
    } rows[] = {
        {5, -4, 24, 16, 2, 1, 16 + 6},  {5, 4, 24, 16, 2, 1, 2 * 16 + 6},  // bottom-up: row 1 is third in memory
        {3, -2, 32, 12, 1, 1, 12 + 4},  {3, 2, 32, 12, 1, 1, 4},
        {7, -3, 24, 24, 6, 2, 48 + 18}, {1, -1, 24, 4, 0, 0, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        void *bits = reinterpret_cast<void *>(1);
        HBITMAP b = MakeDib(r.width, r.height, r.bpp, &bits);
        ASSERT_NE(b, nullptr) << "row " << i;
        ASSERT_NE(bits, nullptr) << "row " << i;
        DIBSECTION ds{};
        ASSERT_EQ(GetObjectW(b, sizeof ds, &ds), static_cast<int>(sizeof ds)) << "row " << i;
        EXPECT_EQ(ds.dsBm.bmWidthBytes, r.stride) << "row " << i;
        int height = r.height < 0 ? -r.height : r.height;
        auto *bytes = static_cast<uint8_t *>(bits);
        for (int k = 0; k < r.stride * height; ++k) ASSERT_EQ(bytes[k], 0) << "row " << i << ": new bits are zero";
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, b);
        EXPECT_EQ(SetPixel(dc, r.x, r.y, RGB(0x11, 0x22, 0x33)), RGB(0x11, 0x22, 0x33)) << "row " << i;
        // Blue, green, red in memory.
        EXPECT_EQ(bytes[r.offset], 0x33) << "row " << i;
        EXPECT_EQ(bytes[r.offset + 1], 0x22) << "row " << i;
        EXPECT_EQ(bytes[r.offset + 2], 0x11) << "row " << i;
        // And the other way: bytes written by the caller are what GDI reads.
        bytes[r.offset] = 0xAB;
        EXPECT_EQ(GetPixel(dc, r.x, r.y), RGB(0x11, 0x22, 0xAB)) << "row " << i;
        int set = 0;
        for (int k = 0; k < r.stride * height; ++k) set += bytes[k] != 0;
        EXPECT_EQ(set, 3) << "row " << i << ": nothing else written";
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(b);
    }
}

TEST(GdiBitmap, FillRectWritesWholeRowsOfTheDib) {
    void *bits = nullptr;
    HBITMAP b = MakeDib(4, -3, 24, &bits);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, b);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    RECT r{1, 1, 3, 2};
    EXPECT_EQ(FillRect(dc, &r, brush), 1);
    auto *p = static_cast<uint8_t *>(bits);
    const uint8_t expected[12] = {0, 0, 0, 3, 2, 1, 3, 2, 1, 0, 0, 0};
    EXPECT_EQ(memcmp(p + 12, expected, 12), 0);  // 4 pixels fill a row exactly
    for (int k = 0; k < 12; ++k) EXPECT_EQ(p[k], 0) << "byte " << k;
    DeleteDC(dc);
    DeleteObject(b);
    DeleteObject(brush);
}

TEST(GdiBitmap, ATopDownDibIsASurface) {
    void *bits = nullptr;
    HBITMAP b = MakeDib(6, -4, 24, &bits);
    auto surface = wince::Surface::Wrap(static_cast<uint8_t *>(bits), 6, 4, 20);
    ASSERT_NE(surface, nullptr);
    HDC dc = wince::CreateSurfaceDC(surface, POINT{1, 1}, wince::Region(RECT{0, 0, 6, 4}), nullptr);
    SetPixel(dc, 0, 0, RGB(9, 8, 7));
    EXPECT_EQ(surface->Pixel(1, 1), RGB(9, 8, 7));
    EXPECT_EQ(static_cast<uint8_t *>(bits)[20 + 3], 7);
    EXPECT_TRUE(wince::DestroySurfaceDC(dc));
    DeleteObject(b);
}

TEST(GdiBitmap, PaletteDibsAndTheirColourTables) {
    const RGBQUAD colors[4] = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
    void *bits = nullptr;
    HBITMAP b = MakeDib(3, -2, 8, &bits, colors, 4);
    ASSERT_NE(b, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, b);
    RGBQUAD table[256];
    EXPECT_EQ(GetDIBColorTable(dc, 0, 256, table), 256);  // the table has 2^bpp entries
    EXPECT_EQ(table[3].rgbBlue, 255);
    // A colour goes to the nearest entry.
    EXPECT_EQ(SetPixel(dc, 1, 0, RGB(250, 10, 0)), RGB(255, 0, 0));
    EXPECT_EQ(static_cast<uint8_t *>(bits)[1], 1);
    const RGBQUAD yellow{0, 255, 255, 0};
    EXPECT_EQ(SetDIBColorTable(dc, 1, 1, &yellow), 1);
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 255, 0));
    EXPECT_EQ(GetDIBColorTable(dc, 300, 1, table), 0);

    // 4 bits: two pixels a byte, the first in the high half.
    const RGBQUAD gray[2] = {{0, 0, 0, 0}, {128, 128, 128, 0}};
    HBITMAP b4 = MakeDib(3, -1, 4, &bits, gray, 2);
    SelectObject(dc, b4);
    SetPixel(dc, 0, 0, RGB(128, 128, 128));
    SetPixel(dc, 2, 0, RGB(120, 130, 128));
    EXPECT_EQ(static_cast<uint8_t *>(bits)[0], 0x10);
    EXPECT_EQ(static_cast<uint8_t *>(bits)[1], 0x10);
    DeleteDC(dc);
    DeleteObject(b);
    DeleteObject(b4);
}

TEST(GdiBitmap, CreateBitmapReadsWordAlignedRows) {
    // 3x2 monochrome: rows of 16 bits.
    const uint8_t mono[] = {0xA0, 0x00, 0x40, 0x00};
    HBITMAP b = CreateBitmap(3, 2, 1, 1, mono);
    ASSERT_NE(b, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, b);
    const char *expected[2] = {"W.W", ".W."};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(GetPixel(dc, x, y), expected[y][x] == 'W' ? RGB(255, 255, 255) : RGB(0, 0, 0)) << x << "," << y;
    // Zero size gives a 1x1 monochrome bitmap.
    HBITMAP empty = CreateBitmap(0, 5, 1, 24, nullptr);
    BITMAP bm{};
    GetObjectW(empty, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    DeleteDC(dc);
    DeleteObject(b);
    DeleteObject(empty);
}

TEST(GdiBitmap, HugeOrBrokenHeadersAreRefused) {
    struct Row {
        LONG width, height;
        WORD planes, bpp;
        DWORD compression;
        DWORD error;
    } rows[] = {
        {0, 1, 1, 24, BI_RGB, ERROR_INVALID_PARAMETER},      {1, 0, 1, 24, BI_RGB, ERROR_INVALID_PARAMETER},
        {1, 1, 2, 24, BI_RGB, ERROR_INVALID_PARAMETER},      {1, 1, 1, 7, BI_RGB, ERROR_INVALID_PARAMETER},
        {1, 1, 1, 24, BI_BITFIELDS, ERROR_INVALID_PARAMETER}, {100000, 100000, 1, 32, BI_RGB, ERROR_NOT_ENOUGH_MEMORY},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        DibInfo info{};
        info.header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), rows[i].width, rows[i].height, rows[i].planes,
                                       rows[i].bpp, rows[i].compression, 0, 0, 0, 0, 0};
        void *bits = reinterpret_cast<void *>(1);
        SetLastError(0xDEADBEEF);
        EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, &bits, nullptr, 0),
                  nullptr)
            << "row " << i;
        EXPECT_EQ(bits, nullptr) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
    }
}

// A compatible bitmap is zeroed when first used; a fill over all of it as
// its first drawing skips that, and gives what filling a zeroed bitmap gives
// (the general way, taken when a pixel was read first), including for later
// drawing and for fills that do not cover it all.
TEST(GdiBitmap, NewCompatibleBitmapsReadAsZeroWhateverComesFirst) {
    struct Row {
        RECT fill;     // right 7 stands for the bitmap's width
        int brush;     // a stock brush, or -1 for a solid red one
        bool clipped;  // a clip region on the DC
    } rows[] = {
        {{0, 0, 7, 5}, WHITE_BRUSH, false}, {{-3, -2, 20, 9}, -1, false}, {{0, 0, 7, 4}, WHITE_BRUSH, false},
        {{1, 0, 7, 5}, -1, false},          {{0, 0, 7, 5}, -1, true},     {{0, 0, 7, 5}, NULL_BRUSH, false},
        {{0, 0, 0, 0}, WHITE_BRUSH, false},
    };
    HDC screen = GetDC(nullptr);
    // Seven pixels make padded rows, eight rows without padding.
    for (int width : {7, 8}) {
        for (size_t i = 0; i < std::size(rows); ++i) {
            RECT fill = rows[i].fill;
            if (fill.right == 7) fill.right = width;
            std::vector<COLORREF> pixels[2];
            for (int general = 0; general < 2; ++general) {
                HBITMAP bitmap = CreateCompatibleBitmap(screen, width, 5);
                HDC dc = CreateCompatibleDC(screen);
                HGDIOBJ old = SelectObject(dc, bitmap);
                if (general) GetPixel(dc, 3, 3);
                HRGN clip = rows[i].clipped ? CreateRectRgn(2, 1, 5, 4) : nullptr;
                if (clip) SelectClipRgn(dc, clip);
                HBRUSH brush = rows[i].brush == -1 ? CreateSolidBrush(RGB(200, 30, 40))
                                                   : static_cast<HBRUSH>(GetStockObject(rows[i].brush));
                FillRect(dc, &fill, brush);
                if (rows[i].brush == -1) DeleteObject(brush);
                SelectClipRgn(dc, nullptr);
                if (clip) DeleteObject(clip);
                SetPixel(dc, width - 1, 4, RGB(1, 2, 3));
                for (int y = 0; y < 5; ++y)
                    for (int x = 0; x < width; ++x) pixels[general].push_back(GetPixel(dc, x, y));
                SelectObject(dc, old);
                DeleteDC(dc);
                DeleteObject(bitmap);
            }
            EXPECT_EQ(pixels[0], pixels[1]) << "row " << i << " width " << width;
            bool covered = fill.left <= 0 && fill.top <= 0 && fill.right > 0 && fill.bottom > 0 && !rows[i].clipped &&
                           rows[i].brush != NULL_BRUSH;
            COLORREF first = !covered ? RGB(0, 0, 0) : rows[i].brush == -1 ? RGB(200, 30, 40) : RGB(255, 255, 255);
            EXPECT_EQ(pixels[0][0], first) << "row " << i << " width " << width;
        }
    }
    // Read before anything is drawn: black, through a blit as well.
    HBITMAP fresh = CreateCompatibleBitmap(screen, 4, 3);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HGDIOBJ oldFrom = SelectObject(from, fresh);
    HBITMAP target = CreateCompatibleBitmap(screen, 4, 3);
    HGDIOBJ oldTo = SelectObject(to, target);
    RECT all{0, 0, 4, 3};
    FillRect(to, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    BitBlt(to, 0, 0, 4, 3, from, 0, 0, SRCCOPY);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixel(to, x, y), RGB(0, 0, 0)) << x << "," << y;
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    DeleteObject(fresh);
    DeleteObject(target);
    ReleaseDC(nullptr, screen);
}

}  // namespace
