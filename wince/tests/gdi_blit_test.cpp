// BitBlt and friends on known pixels: every raster operation, clipping at
// the edges, monochrome <-> colour conversion, stretching, transparency.
#include <windows.h>

#include <gtest/gtest.h>

#include "gdi_support.h"

namespace {

using gdi_test::Hex;
using gdi_test::TestBitmap;

TEST(GdiBlit, EachRasterOperationOnKnownPixels) {
    const COLORREF src = RGB(0xF0, 0x0F, 0x55), dst = RGB(0x3C, 0xC3, 0xAA), pat = RGB(0x12, 0x34, 0x56);
    struct Row {
        DWORD rop;
        COLORREF expected;
    } rows[] = {
        {SRCCOPY, src},
        {SRCPAINT, RGB(0xFC, 0xCF, 0xFF)},
        {SRCAND, RGB(0x30, 0x03, 0x00)},
        {SRCINVERT, RGB(0xCC, 0xCC, 0xFF)},
        {NOTSRCCOPY, RGB(0x0F, 0xF0, 0xAA)},
        {PATCOPY, pat},
        {PATINVERT, RGB(0x3C ^ 0x12, 0xC3 ^ 0x34, 0xAA ^ 0x56)},
        {DSTINVERT, RGB(0xC3, 0x3C, 0x55)},
        {BLACKNESS, RGB(0, 0, 0)},
        {WHITENESS, RGB(255, 255, 255)},
        {SRCERASE, RGB(0xF0 & ~0x3C, 0x0F & ~0xC3, 0x55 & ~0xAA)},
        {MERGECOPY, RGB(0xF0 & 0x12, 0x0F & 0x34, 0x55 & 0x56)},
    };
    TestBitmap source(2, 2, 24, src);
    for (size_t i = 0; i < std::size(rows); ++i) {
        TestBitmap target(2, 2, 32, dst);
        HBRUSH brush = CreateSolidBrush(pat);
        HGDIOBJ old = SelectObject(target.dc, brush);
        EXPECT_TRUE(BitBlt(target.dc, 1, 0, 1, 2, source.dc, 0, 0, rows[i].rop)) << "row " << i;
        EXPECT_EQ(Hex(GetPixel(target.dc, 1, 1)), Hex(rows[i].expected)) << "row " << i;
        EXPECT_EQ(Hex(GetPixel(target.dc, 0, 1)), Hex(dst)) << "row " << i << ": outside the rectangle";
        SelectObject(target.dc, old);
        DeleteObject(brush);
    }
}

TEST(GdiBlit, ClippedAtTheEdgesOfBothBitmaps) {
    // A 3x3 source with a distinct colour per pixel.
    TestBitmap source(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) SetPixel(source.dc, x, y, RGB(x * 10 + 1, y * 10 + 1, 7));
    struct Row {
        int x, y, cx, cy, sx, sy;
        const char *picture;  // 4x4 target: digit = source pixel x + 3y, '.' untouched
    } rows[] = {
        {0, 0, 3, 3, 0, 0, "012.\n345.\n678.\n....\n"},
        {-1, -1, 3, 3, 0, 0, "45..\n78..\n....\n....\n"},   // negative destination
        {2, 2, 3, 3, 0, 0, "....\n....\n..01\n..34\n"},     // beyond the target
        {0, 0, 3, 3, -1, -1, "....\n.01.\n.34.\n....\n"},   // source starts outside: those stay
        {0, 0, 4, 4, 1, 1, "45..\n78..\n....\n....\n"},     // source ends early
        {1, 1, -2, -2, 2, 2, "4...\n....\n....\n....\n"},    // negative extents count back from both corners
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        TestBitmap target(4, 4, 24, RGB(255, 255, 255));
        EXPECT_TRUE(BitBlt(target.dc, r.x, r.y, r.cx, r.cy, source.dc, r.sx, r.sy, SRCCOPY)) << "row " << i;
        std::string picture;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                COLORREF c = target.At(x, y);
                picture += c == RGB(255, 255, 255) ? '.' : char('0' + (GetRValue(c) - 1) / 10 + 3 * ((GetGValue(c) - 1) / 10));
            }
            picture += '\n';
        }
        EXPECT_EQ(picture, r.picture) << "row " << i;
    }
}

TEST(GdiBlit, OverlappingCopyWithinOneBitmap) {
    TestBitmap b(4, 1);
    for (int x = 0; x < 4; ++x) SetPixel(b.dc, x, 0, RGB(x + 1, 0, 0));
    BitBlt(b.dc, 1, 0, 3, 1, b.dc, 0, 0, SRCCOPY);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(GetRValue(b.At(x, 0)), x == 0 ? 1 : x) << x;
}

TEST(GdiBlit, MonochromeAndColourConversion) {
    // Colour -> monochrome: the source's background colour becomes white.
    TestBitmap colour(3, 1);
    SetPixel(colour.dc, 0, 0, RGB(10, 20, 30));
    SetPixel(colour.dc, 1, 0, RGB(255, 0, 255));
    SetPixel(colour.dc, 2, 0, RGB(255, 255, 255));
    SetBkColor(colour.dc, RGB(255, 0, 255));
    HDC monoDc = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateCompatibleBitmap(monoDc, 3, 1);
    SelectObject(monoDc, mono);
    EXPECT_TRUE(BitBlt(monoDc, 0, 0, 3, 1, colour.dc, 0, 0, SRCCOPY));
    const COLORREF monoExpected[3] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)};
    for (int x = 0; x < 3; ++x) EXPECT_EQ(Hex(GetPixel(monoDc, x, 0)), Hex(monoExpected[x])) << x;

    // Monochrome -> colour: black bits take the text colour, white bits the
    // background colour of the destination DC.
    TestBitmap target(3, 1);
    SetTextColor(target.dc, RGB(1, 2, 3));
    SetBkColor(target.dc, RGB(4, 5, 6));
    EXPECT_TRUE(BitBlt(target.dc, 0, 0, 3, 1, monoDc, 0, 0, SRCCOPY));
    const COLORREF colourExpected[3] = {RGB(1, 2, 3), RGB(4, 5, 6), RGB(1, 2, 3)};
    for (int x = 0; x < 3; ++x) EXPECT_EQ(Hex(target.At(x, 0)), Hex(colourExpected[x])) << x;

    // Drawing colours into a monochrome bitmap takes the nearest of black
    // and white.
    RECT r{0, 0, 3, 1};
    HBRUSH light = CreateSolidBrush(RGB(200, 200, 200));
    FillRect(monoDc, &r, light);
    EXPECT_EQ(GetPixel(monoDc, 2, 0), RGB(255, 255, 255));
    DeleteDC(monoDc);
    DeleteObject(mono);
    DeleteObject(light);
}

TEST(GdiBlit, StretchBltNearestNeighbour) {
    TestBitmap source(2, 2);
    SetPixel(source.dc, 0, 0, RGB(255, 0, 0));
    SetPixel(source.dc, 1, 0, RGB(0, 255, 0));
    SetPixel(source.dc, 0, 1, RGB(0, 0, 255));
    SetPixel(source.dc, 1, 1, RGB(0, 0, 0));
    TestBitmap target(4, 4);
    EXPECT_TRUE(StretchBlt(target.dc, 0, 0, 4, 4, source.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(target.Picture(RGB(255, 0, 0)), "##..\n##..\n....\n....\n");
    EXPECT_EQ(target.Picture(RGB(0, 0, 0)), "....\n....\n..##\n..##\n");
    // Mirrored by a negative width.
    EXPECT_TRUE(StretchBlt(target.dc, 0, 0, 4, 2, source.dc, 2, 0, -2, 1, SRCCOPY));
    EXPECT_EQ(target.Picture(RGB(0, 255, 0)), "##..\n##..\n....\n....\n");
    // Shrinking.
    TestBitmap small(1, 1);
    EXPECT_TRUE(StretchBlt(small.dc, 0, 0, 1, 1, source.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(Hex(small.At(0, 0)), Hex(RGB(255, 0, 0)));
}

TEST(GdiBlit, TransparentImageSkipsTheKeyColour) {
    TestBitmap source(3, 1, 24, RGB(255, 0, 255));
    SetPixel(source.dc, 1, 0, RGB(10, 20, 30));
    TestBitmap target(6, 1, 24, RGB(1, 1, 1));
    // From a DC, stretched to twice the width.
    EXPECT_TRUE(TransparentImage(target.dc, 0, 0, 6, 1, source.dc, 0, 0, 3, 1, RGB(255, 0, 255)));
    EXPECT_EQ(target.Picture(RGB(10, 20, 30)), "..##..\n");
    EXPECT_EQ(target.Picture(RGB(1, 1, 1)), "##..##\n");
    // From a bitmap handle.
    TestBitmap again(3, 1, 24, RGB(1, 1, 1));
    EXPECT_TRUE(TransparentImage(again.dc, 0, 0, 3, 1, source.bitmap, 0, 0, 3, 1, RGB(10, 20, 30)));
    EXPECT_EQ(again.Picture(RGB(255, 0, 255)), "#.#\n");
    SetLastError(0);
    EXPECT_FALSE(TransparentImage(again.dc, 0, 0, 3, 1, reinterpret_cast<HANDLE>(0x99), 0, 0, 3, 1, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(GdiBlit, PatBltWithPatternBrushAndNullBrush) {
    // A 2x2 checker pattern from a monochrome bitmap: 0 bits are the text
    // colour, 1 bits the background colour.
    const uint8_t checker[] = {0x40, 0, 0x80, 0};
    HBITMAP pattern = CreateBitmap(2, 2, 1, 1, checker);
    HBRUSH brush = CreatePatternBrush(pattern);
    EXPECT_TRUE(DeleteObject(pattern));  // the brush keeps its own copy
    TestBitmap target(4, 2);
    SetTextColor(target.dc, RGB(0, 0, 0));
    SetBkColor(target.dc, RGB(255, 0, 0));
    SelectObject(target.dc, brush);
    EXPECT_TRUE(PatBlt(target.dc, 0, 0, 4, 2, PATCOPY));
    EXPECT_EQ(target.Picture(RGB(255, 0, 0)), ".#.#\n#.#.\n");
    LOGBRUSH lb{};
    GetObjectW(brush, sizeof lb, &lb);
    EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_PATTERN));
    SelectObject(target.dc, GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(PatBlt(target.dc, 0, 0, 4, 2, BLACKNESS));
    EXPECT_EQ(target.Picture(RGB(0, 0, 0)), "####\n####\n");
    EXPECT_TRUE(PatBlt(target.dc, 0, 0, 4, 2, PATCOPY));  // a null brush paints nothing
    EXPECT_EQ(target.Picture(RGB(0, 0, 0)), "####\n####\n");
    EXPECT_TRUE(PatBlt(target.dc, 3, 2, -2, -1, DSTINVERT));  // negative extents: x 1..2, y 1
    EXPECT_EQ(target.Picture(RGB(255, 255, 255)), "....\n.##.\n");
    DeleteObject(brush);
}

}  // namespace
