// Lines and filled shapes: pen outline, brush fill, exact pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include "gdi_support.h"

namespace {

using gdi_test::TestBitmap;

TEST(GdiShapes, LinesLeaveOutTheirLastPoint) {
    TestBitmap b(6, 5);
    POINT previous{-1, -1};
    EXPECT_TRUE(MoveToEx(b.dc, 0, 0, &previous));
    EXPECT_EQ(previous.x, 0);
    EXPECT_TRUE(LineTo(b.dc, 4, 0));
    EXPECT_TRUE(LineTo(b.dc, 4, 4));
    const POINT diagonal[] = {{0, 1}, {3, 4}};
    EXPECT_TRUE(Polyline(b.dc, diagonal, 2));
    EXPECT_EQ(b.Picture(RGB(0, 0, 0)),
              "#####.\n"  // the corner is the second line's first point
              "#...#.\n"
              ".#..#.\n"
              "..#.#.\n"
              "......\n");
    EXPECT_TRUE(MoveToEx(b.dc, 9, 9, &previous));
    EXPECT_EQ(previous.x, 4);
    EXPECT_EQ(previous.y, 4);
}

TEST(GdiShapes, RectangleFillsInsideAndOutlinesWithThePen) {
    TestBitmap b(6, 5);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(b.dc, brush);
    EXPECT_TRUE(Rectangle(b.dc, 0, 0, 5, 4));
    EXPECT_EQ(b.Picture(RGB(0, 0, 0)), "#####.\n#...#.\n#...#.\n#####.\n......\n");
    EXPECT_EQ(b.Picture(RGB(0, 0, 255)), "......\n.###..\n.###..\n......\n......\n");
    // Without a pen the shape loses its right and bottom edge.
    TestBitmap n(6, 5);
    SelectObject(n.dc, brush);
    SelectObject(n.dc, GetStockObject(NULL_PEN));
    EXPECT_TRUE(Rectangle(n.dc, 0, 0, 5, 4));
    EXPECT_EQ(n.Picture(RGB(0, 0, 255)), "####..\n####..\n####..\n......\n......\n");
    SelectObject(b.dc, GetStockObject(WHITE_BRUSH));
    SelectObject(n.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
}

TEST(GdiShapes, EllipseAndRoundRectStayInsideTheirBox) {
    TestBitmap b(12, 12);
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
    SelectObject(b.dc, brush);
    EXPECT_TRUE(Ellipse(b.dc, 1, 1, 11, 11));
    std::string pen = b.Picture(RGB(0, 0, 0)), fill = b.Picture(RGB(0, 255, 0));
    // Symmetric, touching each side of the box once at the middle.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            char c = pen[y * 13 + x];
            EXPECT_EQ(c, pen[y * 13 + (11 - x)]) << "mirror of " << x << "," << y;
            EXPECT_EQ(c, pen[(11 - y) * 13 + x]) << "mirror of " << x << "," << y;
            if (x == 0 || y == 0 || x == 11 || y == 11) {
                EXPECT_EQ(c, '.') << x << "," << y;
            }
        }
    EXPECT_EQ(pen[1 * 13 + 5], '#');   // top
    EXPECT_EQ(pen[5 * 13 + 1], '#');   // left
    EXPECT_EQ(pen[1 * 13 + 1], '.');   // the corner is outside
    EXPECT_EQ(fill[6 * 13 + 6], '#');  // the middle is filled
    TestBitmap r(10, 8);
    SelectObject(r.dc, brush);
    EXPECT_TRUE(RoundRect(r.dc, 0, 0, 10, 8, 4, 4));
    std::string round = r.Picture(RGB(0, 0, 0));
    EXPECT_EQ(round.substr(0, 11), ".########.\n");  // the corner as a 4x4 ellipse's top row
    EXPECT_EQ(round.substr(4 * 11, 11), "#........#\n");
    SelectObject(b.dc, GetStockObject(WHITE_BRUSH));
    SelectObject(r.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
}

TEST(GdiShapes, PolygonFillsAlternateAndOutlines) {
    TestBitmap b(8, 8);
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(b.dc, brush);
    SelectObject(b.dc, GetStockObject(NULL_PEN));
    const POINT square[] = {{1, 1}, {6, 1}, {6, 6}, {1, 6}};
    EXPECT_TRUE(Polygon(b.dc, square, 4));
    EXPECT_EQ(b.Picture(RGB(255, 0, 0)),
              "........\n.#####..\n.#####..\n.#####..\n.#####..\n.#####..\n........\n........\n");
    SelectObject(b.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
}

TEST(GdiShapes, WidePensAndDashes) {
    TestBitmap b(12, 5);
    HPEN wide = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
    SelectObject(b.dc, wide);
    MoveToEx(b.dc, 1, 2, nullptr);
    LineTo(b.dc, 6, 2);
    // A square of the pen's width at every point: the ends reach out by half.
    EXPECT_EQ(b.Picture(RGB(0, 0, 0)), "............\n#######.....\n#######.....\n#######.....\n............\n");
    TestBitmap d(20, 1);
    HPEN dash = CreatePen(PS_DASH, 1, RGB(0, 0, 0));
    SelectObject(d.dc, dash);
    MoveToEx(d.dc, 0, 0, nullptr);
    LineTo(d.dc, 20, 0);
    EXPECT_EQ(d.Picture(RGB(0, 0, 0)), "######...######...##\n");
    SelectObject(b.dc, GetStockObject(BLACK_PEN));
    SelectObject(d.dc, GetStockObject(BLACK_PEN));
    DeleteObject(wide);
    DeleteObject(dash);
}

TEST(GdiShapes, FrameRectFocusRectAndSystemColourBrushes) {
    TestBitmap b(5, 4);
    RECT r{0, 0, 5, 4};
    EXPECT_EQ(FrameRect(b.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 1);
    EXPECT_EQ(b.Picture(RGB(0, 0, 0)), "#####\n#...#\n#...#\n#####\n");
    // A focus rectangle inverts every other pixel; drawn twice it is gone.
    TestBitmap f(4, 3);
    RECT focus{0, 0, 4, 3};
    EXPECT_TRUE(DrawFocusRect(f.dc, &focus));
    EXPECT_EQ(f.Picture(RGB(0, 0, 0)), "#.#.\n...#\n#.#.\n");
    EXPECT_TRUE(DrawFocusRect(f.dc, &focus));
    EXPECT_EQ(f.Picture(RGB(0, 0, 0)), "....\n....\n....\n");
    // COLOR_x + 1 instead of a brush.
    TestBitmap s(2, 2, 24, RGB(1, 2, 3));
    EXPECT_EQ(FillRect(s.dc, &r, reinterpret_cast<HBRUSH>(COLOR_WINDOWTEXT + 1)), 1);
    EXPECT_EQ(s.At(1, 1), GetSysColor(COLOR_WINDOWTEXT));
}

// Solid fills of every width from one pixel to past the short-span limit,
// at odd offsets: exactly the span in the colour, nothing beside it.
TEST(GdiShapes, SolidFillsOfEveryWidthCoverExactlyTheirSpan) {
    for (COLORREF colour : {RGB(10, 200, 30), RGB(77, 77, 77)})
        for (int width = 1; width <= 80; ++width) {
            TestBitmap b(88, 3, 24, RGB(255, 255, 255));
            HBRUSH brush = CreateSolidBrush(colour);
            RECT r{3, 1, 3 + width, 2};
            FillRect(b.dc, &r, brush);
            DeleteObject(brush);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 88; ++x) {
                    bool inside = y == 1 && x >= 3 && x < 3 + width;
                    ASSERT_EQ(b.At(x, y), inside ? colour : RGB(255, 255, 255))
                        << "width " << width << " at " << x << "," << y;
                }
        }
}

}  // namespace
