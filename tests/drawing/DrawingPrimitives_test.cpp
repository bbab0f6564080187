// DibBitmap's layout and creations, and the key-colour operations on it.
#include "drawing/DibBitmap.h"

#include <gtest/gtest.h>

#include "device_profile.h"
#include "drawing/KeyColor.h"
#include "temp_device.h"

namespace {

class DibTest : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        testing_support::WriteProfile(device.Root(), "[screen]\nwidth = 240\nheight = 320\n[font]\nmode = fixed\n");
    }
};

void Fill(DibBitmap &b, COLORREF c) {
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) b.SetPixelColor(x, y, c);
}

TEST_F(DibTest, StridesAndTopDownLayout) {
    const struct {
        int width, height, stride;
    } rows[] = {{26, 44, 80}, {13, 5, 40}, {1, 1, 4}, {4, 2, 12}, {52, 82, 156}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        DibBitmap b;
        ASSERT_TRUE(b.Create(rows[i].width, rows[i].height)) << "row " << i;
        EXPECT_EQ(b.stride, rows[i].stride) << "row " << i;
        BITMAP bm{};
        ASSERT_EQ(GetObjectW(b.bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
        EXPECT_EQ(bm.bmWidthBytes, rows[i].stride) << "row " << i;
        EXPECT_EQ(bm.bmBitsPixel, 24) << "row " << i;
        EXPECT_EQ(bm.bmBits, b.bits) << "row " << i;
    }
    // Pixel (x, y) is blue, green, red at bits + y x stride + x x 3, row 0 on top.
    DibBitmap b;
    ASSERT_TRUE(b.Create(3, 2));
    Fill(b, RGB(0, 0, 0));
    b.bits[1 * b.stride + 2 * 3 + 0] = 30;  // blue
    b.bits[1 * b.stride + 2 * 3 + 1] = 20;  // green
    b.bits[1 * b.stride + 2 * 3 + 2] = 10;  // red
    EXPECT_EQ(GetPixel(b.Dc(), 2, 1), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(b.Dc(), 2, 0), RGB(0, 0, 0));

    DibBitmap none;
    EXPECT_FALSE(none.Create(0, 5));
    EXPECT_EQ(none.bitmap, nullptr);
    EXPECT_FALSE(none.Create(-3, 5));
}

TEST_F(DibTest, CreationsFromABitmapAndAContextAndDrawing) {
    // A device-dependent bitmap with a red pixel at (4, 1).
    HDC screen = GetDC(nullptr);
    HBITMAP source = CreateCompatibleBitmap(screen, 6, 3);
    ReleaseDC(nullptr, screen);
    HDC scratch = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(scratch, source);
    RECT all{0, 0, 6, 3};
    FillRect(scratch, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetPixel(scratch, 4, 1, RGB(255, 0, 0));
    SelectObject(scratch, old);

    DibBitmap copy;
    ASSERT_TRUE(copy.Create(source));
    EXPECT_EQ(copy.width, 6);
    EXPECT_EQ(copy.height, 3);
    EXPECT_EQ(copy.PixelColor(4, 1), RGB(255, 0, 0));
    EXPECT_EQ(copy.PixelColor(0, 0), RGB(255, 255, 255));
    DeleteObject(source);

    // Part of a context: (3, 0) to (6, 2) of the copy.
    DibBitmap part;
    ASSERT_TRUE(part.Create(copy.Dc(), 3, 0, 6, 2));
    EXPECT_EQ(part.width, 3);
    EXPECT_EQ(part.height, 2);
    EXPECT_EQ(part.PixelColor(1, 1), RGB(255, 0, 0));
    EXPECT_FALSE(part.Create(copy.Dc(), 3, 0, 3, 2));  // nothing to copy into

    // Drawing gives up the kept context and copies the whole bitmap.
    DibBitmap target;
    ASSERT_TRUE(target.Create(8, 4));
    Fill(target, RGB(0, 0, 255));
    HDC targetDc = target.Dc();
    EXPECT_TRUE(copy.Draw(targetDc, POINT{1, 1}));
    EXPECT_EQ(copy.dc, nullptr);
    EXPECT_EQ(target.PixelColor(5, 2), RGB(255, 0, 0));
    EXPECT_EQ(target.PixelColor(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(target.PixelColor(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(target.PixelColor(7, 3), RGB(0, 0, 255));
    DeleteDC(scratch);
}

TEST_F(DibTest, RecolorByKeyMatchesAllThreeBytes) {
    DibBitmap templ;
    ASSERT_TRUE(templ.Create(4, 1));
    templ.SetPixelColor(0, 0, RGB(255, 0, 0));  // the key
    templ.SetPixelColor(1, 0, RGB(254, 0, 0));  // red differs
    templ.SetPixelColor(2, 0, RGB(255, 1, 0));  // green differs
    templ.SetPixelColor(3, 0, RGB(255, 0, 1));  // blue differs
    DibBitmap canvas;
    ASSERT_TRUE(canvas.Create(5, 2));
    Fill(canvas, RGB(9, 9, 9));
    RecolorByKey(canvas, RECT{1, 1, 5, 2}, templ, 0, 0, RGB(255, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(canvas.PixelColor(1, 1), RGB(1, 2, 3));
    for (int x : {0, 2, 3, 4}) EXPECT_EQ(canvas.PixelColor(x, 1), RGB(9, 9, 9)) << x;
    for (int x = 0; x < 5; ++x) EXPECT_EQ(canvas.PixelColor(x, 0), RGB(9, 9, 9)) << x;

    // Columns beyond the canvas are skipped; template reads stay inside it.
    RecolorByKey(canvas, RECT{-1, 0, 3, 1}, templ, 0, 0, RGB(254, 0, 0), RGB(7, 7, 7));
    EXPECT_EQ(canvas.PixelColor(0, 0), RGB(7, 7, 7));
    RecolorByKey(canvas, RECT{0, 0, 5, 2}, templ, 2, 0, RGB(255, 0, 1), RGB(5, 5, 5));
    EXPECT_EQ(canvas.PixelColor(1, 0), RGB(5, 5, 5));
    EXPECT_EQ(canvas.PixelColor(1, 1), RGB(1, 2, 3));  // template row 1 does not exist
}

TEST_F(DibTest, TintsMoveTheAverageAQuarterTowardsWhite) {
    const struct {
        COLORREF pixels[2];
        COLORREF tint;
    } rows[] = {
        {{RGB(0, 0, 0), RGB(0, 0, 0)}, RGB(63, 63, 63)},
        {{RGB(255, 255, 255), RGB(255, 255, 255)}, RGB(255, 255, 255)},
        {{RGB(100, 150, 200), RGB(100, 150, 200)}, RGB(138, 176, 213)},
        // Averages truncate: red (3 x 1) / 2 = 1, blue (3 x 3) / 2 = 4, each (n + 255) / 4 = 64.
        {{RGB(0, 10, 0), RGB(1, 11, 3)}, RGB(64, 71, 64)},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        DibBitmap canvas;
        ASSERT_TRUE(canvas.Create(3, 1));
        canvas.SetPixelColor(0, 0, rows[i].pixels[0]);
        canvas.SetPixelColor(1, 0, rows[i].pixels[1]);
        canvas.SetPixelColor(2, 0, RGB(255, 0, 255));
        EXPECT_EQ(TintedAverage(canvas, RECT{0, 0, 2, 1}), rows[i].tint) << "row " << i;

        DibBitmap templ;
        ASSERT_TRUE(templ.Create(3, 1));
        templ.SetPixelColor(0, 0, RGB(255, 255, 255));
        templ.SetPixelColor(1, 0, RGB(255, 255, 255));
        templ.SetPixelColor(2, 0, RGB(0, 0, 0));
        COLORREF tint = RGB(1, 1, 1);
        EXPECT_TRUE(TintedAverageByKey(canvas, RECT{0, 0, 3, 1}, templ, 0, 0, RGB(255, 255, 255), tint)) << "row " << i;
        EXPECT_EQ(tint, rows[i].tint) << "row " << i;
        EXPECT_FALSE(TintedAverageByKey(canvas, RECT{0, 0, 3, 1}, templ, 0, 0, RGB(255, 0, 0), tint)) << "row " << i;
        EXPECT_EQ(tint, RGB(0, 0, 0)) << "row " << i;
    }
    DibBitmap canvas;
    ASSERT_TRUE(canvas.Create(2, 2));
    Fill(canvas, RGB(200, 200, 200));
    EXPECT_EQ(TintedAverage(canvas, RECT{1, 1, 1, 2}), RGB(0, 0, 0));  // empty
}

}  // namespace
