// Icons drawn through their masks, the screen surface, and PNG files.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "gdi/icon.h"
#include "gdi/png.h"
#include "gdi/surface.h"
#include "gdi_support.h"

namespace {

using gdi_test::Hex;
using gdi_test::TestBitmap;

// A 2x2 icon: top-left transparent, the others red, green and blue.
HICON MakeIcon() {
    const uint8_t mask[] = {0x80, 0, 0x00, 0};  // 1 = transparent
    HBITMAP hmask = CreateBitmap(2, 2, 1, 1, mask);
    HBITMAP hcolor = CreateBitmap(2, 2, 1, 24, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, hcolor);
    SetPixel(dc, 1, 0, RGB(255, 0, 0));
    SetPixel(dc, 0, 1, RGB(0, 255, 0));
    SetPixel(dc, 1, 1, RGB(0, 0, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    ICONINFO ii{TRUE, 0, 0, hmask, hcolor};
    HICON icon = CreateIconIndirect(&ii);
    // The icon has copies; the caller's bitmaps are its own to delete.
    EXPECT_TRUE(DeleteObject(hmask));
    EXPECT_TRUE(DeleteObject(hcolor));
    return icon;
}

TEST(GdiIcon, DrawIconExMasksThenInverts) {
    HICON icon = MakeIcon();
    ASSERT_NE(icon, nullptr);
    TestBitmap b(4, 4, 24, RGB(9, 9, 9));
    SetTextColor(b.dc, RGB(1, 2, 3));  // the DC's colours do not matter
    SetBkColor(b.dc, RGB(4, 5, 6));
    EXPECT_TRUE(DrawIconEx(b.dc, 1, 1, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE));
    EXPECT_EQ(Hex(b.At(1, 1)), Hex(RGB(9, 9, 9)));
    EXPECT_EQ(Hex(b.At(2, 1)), Hex(RGB(255, 0, 0)));
    EXPECT_EQ(Hex(b.At(1, 2)), Hex(RGB(0, 255, 0)));
    EXPECT_EQ(Hex(b.At(2, 2)), Hex(RGB(0, 0, 255)));
    EXPECT_EQ(Hex(b.At(3, 3)), Hex(RGB(9, 9, 9)));
    EXPECT_EQ(GetTextColor(b.dc), RGB(1, 2, 3));

    // Scaled to 4x4: each icon pixel covers two by two.
    TestBitmap big(4, 4, 24, RGB(9, 9, 9));
    EXPECT_TRUE(DrawIconEx(big.dc, 0, 0, icon, 4, 4, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(big.Picture(RGB(9, 9, 9)), "##..\n##..\n....\n....\n");
    EXPECT_EQ(big.Picture(RGB(0, 0, 255)), "....\n....\n..##\n..##\n");

    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(icon, &ii));
    EXPECT_TRUE(ii.fIcon);
    BITMAP bm{};
    GetObjectW(ii.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidth, 2);
    GetObjectW(ii.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 24);
    EXPECT_TRUE(DeleteObject(ii.hbmMask));
    EXPECT_TRUE(DeleteObject(ii.hbmColor));

    EXPECT_FALSE(DeleteObject(icon));  // icons go with DestroyIcon
    EXPECT_TRUE(DestroyIcon(icon));
    SetLastError(0);
    EXPECT_FALSE(DrawIconEx(b.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// Drawing an icon must give exactly what its mask through AND and its image
// through XOR give, also where a transparent pixel's colour is not black,
// across mask bytes, clipped and partly off the bitmap.
TEST(GdiIcon, DrawIconExEqualsMaskThenImageBlits) {
    constexpr int kW = 11, kH = 5;
    uint8_t maskBits[kH][2] = {};  // rows of a monochrome bitmap are word-aligned
    HBITMAP hcolor = CreateBitmap(kW, kH, 1, 24, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, hcolor);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            if ((x * 7 + y * 3) % 4 == 0) maskBits[y][x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            SetPixel(dc, x, y, RGB(x * 23, y * 51, (x + y) * 13));
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    HBITMAP hmask = CreateBitmap(kW, kH, 1, 1, maskBits);
    ICONINFO ii{TRUE, 0, 0, hmask, hcolor};
    HICON icon = CreateIconIndirect(&ii);
    ASSERT_NE(icon, nullptr);
    const struct {
        int x, y;
        RECT clip;  // empty: none
    } rows[] = {
        {2, 1, {}}, {-3, -2, {}}, {10, 3, {}}, {1, 1, {3, 2, 9, 5}}, {0, 0, {0, 0, 1, 1}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        TestBitmap drawn(16, 8, 24, RGB(200, 100, 50)), expected(16, 8, 24, RGB(200, 100, 50));
        for (TestBitmap *b : {&drawn, &expected}) {
            SetPixel(b->dc, 3, 2, RGB(1, 2, 3));
            if (!IsRectEmpty(&rows[i].clip)) {
                HRGN region = CreateRectRgnIndirect(&rows[i].clip);
                SelectClipRgn(b->dc, region);
                DeleteObject(region);
            }
        }
        EXPECT_TRUE(DrawIconEx(drawn.dc, rows[i].x, rows[i].y, icon, 0, 0, 0, nullptr, DI_NORMAL)) << "row " << i;
        HDC source = CreateCompatibleDC(nullptr);
        SetTextColor(expected.dc, RGB(0, 0, 0));
        SetBkColor(expected.dc, RGB(255, 255, 255));
        HGDIOBJ before = SelectObject(source, hmask);
        BitBlt(expected.dc, rows[i].x, rows[i].y, kW, kH, source, 0, 0, SRCAND);
        SelectObject(source, hcolor);
        BitBlt(expected.dc, rows[i].x, rows[i].y, kW, kH, source, 0, 0, SRCINVERT);
        SelectObject(source, before);
        DeleteDC(source);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(Hex(drawn.At(x, y)), Hex(expected.At(x, y))) << "row " << i << " at " << x << "," << y;
    }
    DestroyIcon(icon);
    DeleteObject(hmask);
    DeleteObject(hcolor);
}

TEST(GdiIcon, IconFromBgraUsesAlphaAsTheMask) {
    const uint8_t pixels[2 * 4] = {10, 20, 30, 255, 99, 99, 99, 0};  // opaque, then transparent
    HICON icon = wince::gdi::CreateIconFromBgra(pixels, 2, 1, 8);
    ASSERT_NE(icon, nullptr);
    TestBitmap b(2, 1, 24, RGB(7, 7, 7));
    EXPECT_TRUE(DrawIconEx(b.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(Hex(b.At(0, 0)), Hex(RGB(30, 20, 10)));
    EXPECT_EQ(Hex(b.At(1, 0)), Hex(RGB(7, 7, 7)));
    DestroyIcon(icon);
}

TEST(GdiPng, WriteAndReadBack) {
    testing_support::TempDevice device;
    auto screen = wince::ScreenSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->Width(), 240);
    EXPECT_EQ(screen->Height(), 320);
    EXPECT_EQ(screen->Pixel(100, 100), RGB(255, 255, 255));  // white when made
    screen->Fill(RECT{10, 20, 30, 40}, RGB(1, 2, 3));
    screen->SetPixel(0, 0, RGB(250, 128, 7));
    std::string path = (device.Root() / "shot.png").string(), error;
    ASSERT_TRUE(wince::WritePng(*screen, path, &error)) << error;
    auto back = wince::ReadPng(path, &error);
    ASSERT_NE(back, nullptr) << error;
    ASSERT_EQ(back->Width(), 240);
    ASSERT_EQ(back->Height(), 320);
    for (int y = 0; y < 320; ++y)
        ASSERT_EQ(memcmp(back->Row(y), screen->Row(y), 240 * 3), 0) << "row " << y;
    EXPECT_FALSE(wince::WritePng(*screen, (device.Root() / "no/such/dir/x.png").string(), &error));
    EXPECT_FALSE(error.empty());
    std::ofstream(device.Root() / "bad.png") << "not a png";
    EXPECT_EQ(wince::ReadPng((device.Root() / "bad.png").string(), &error), nullptr);
    wince::ResizeScreenSurface(320, 240);
    EXPECT_EQ(wince::ScreenSurface()->Width(), 320);
}

}  // namespace
