// Regions, clip regions and surface DCs (origin and visible area).
#include <windows.h>

#include <gtest/gtest.h>

#include "gdi/surface.h"
#include "gdi_support.h"

namespace {

using gdi_test::TestBitmap;

TEST(GdiRegion, CombineTable) {
    struct Row {
        RECT a, b;
        int mode;
        int complexity;
        RECT box;
        POINT inside, outside;
    } rows[] = {
        {{0, 0, 10, 10}, {10, 0, 20, 10}, RGN_OR, SIMPLEREGION, {0, 0, 20, 10}, {15, 5}, {25, 5}},
        {{0, 0, 10, 10}, {5, 5, 15, 15}, RGN_OR, COMPLEXREGION, {0, 0, 15, 15}, {12, 12}, {12, 2}},
        {{0, 0, 10, 10}, {5, 5, 15, 15}, RGN_AND, SIMPLEREGION, {5, 5, 10, 10}, {7, 7}, {2, 2}},
        {{0, 0, 10, 10}, {20, 20, 30, 30}, RGN_AND, NULLREGION, {0, 0, 0, 0}, {-100, -100}, {5, 5}},
        {{0, 0, 10, 10}, {0, 5, 10, 10}, RGN_DIFF, SIMPLEREGION, {0, 0, 10, 5}, {5, 2}, {5, 7}},
        {{0, 0, 10, 10}, {3, 3, 6, 6}, RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}, {1, 1}, {4, 4}},
        {{0, 0, 10, 10}, {0, 0, 10, 10}, RGN_XOR, NULLREGION, {0, 0, 0, 0}, {-100, -100}, {5, 5}},
        {{0, 0, 10, 10}, {5, 0, 15, 10}, RGN_XOR, COMPLEXREGION, {0, 0, 15, 10}, {12, 5}, {7, 5}},
        {{0, 0, 10, 10}, {50, 50, 60, 60}, RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}, {9, 9}, {10, 10}},
        {{10, 10, 0, 0}, {0, 0, 0, 0}, RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}, {0, 0}, {10, 0}},  // normalized
    };
    HRGN dest = CreateRectRgn(0, 0, 0, 0);
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        HRGN a = CreateRectRgnIndirect(&r.a), b = CreateRectRgnIndirect(&r.b);
        EXPECT_EQ(CombineRgn(dest, a, b, r.mode), r.complexity) << "row " << i;
        RECT box{-1, -1, -1, -1};
        EXPECT_EQ(GetRgnBox(dest, &box), r.complexity) << "row " << i;
        EXPECT_TRUE(EqualRect(&box, &r.box)) << "row " << i << ": " << box.left << "," << box.top << ","
                                             << box.right << "," << box.bottom;
        if (r.inside.x != -100) {
            EXPECT_TRUE(PtInRegion(dest, r.inside.x, r.inside.y)) << "row " << i;
        }
        EXPECT_FALSE(PtInRegion(dest, r.outside.x, r.outside.y)) << "row " << i;
        DeleteObject(a);
        DeleteObject(b);
    }
    SetLastError(0);
    EXPECT_EQ(CombineRgn(dest, dest, nullptr, RGN_OR), ERROR);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0);
    EXPECT_EQ(CombineRgn(dest, dest, dest, 9), ERROR);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    DeleteObject(dest);
}

TEST(GdiRegion, ClipRegionsLimitDrawing) {
    TestBitmap b(6, 4);
    HRGN clip = CreateRectRgn(1, 1, 5, 3);
    EXPECT_EQ(SelectClipRgn(b.dc, clip), SIMPLEREGION);
    DeleteObject(clip);  // the DC keeps its own copy
    EXPECT_EQ(ExcludeClipRect(b.dc, 2, 1, 3, 2), COMPLEXREGION);
    RECT box{};
    EXPECT_EQ(GetClipBox(b.dc, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.right, 5);
    RECT all{0, 0, 6, 4};
    FillRect(b.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(b.Picture(RGB(0, 0, 0)), "......\n.#.##.\n.####.\n......\n");
    EXPECT_EQ(GetPixel(b.dc, 0, 0), CLR_INVALID);  // outside the clip
    EXPECT_EQ(SetPixel(b.dc, 0, 0, RGB(0, 0, 0)), CLR_INVALID);

    // The clip stays put in device coordinates when the viewport moves;
    // IntersectClipRect takes logical coordinates.
    SetViewportOrgEx(b.dc, 1, 0, nullptr);
    EXPECT_EQ(IntersectClipRect(b.dc, 1, 0, 10, 10), COMPLEXREGION);  // device x >= 2
    EXPECT_EQ(GetClipBox(b.dc, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 1);  // logical
    HRGN got = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(b.dc, got), 1);
    EXPECT_TRUE(PtInRegion(got, 3, 1));
    EXPECT_FALSE(PtInRegion(got, 1, 2));
    EXPECT_EQ(SelectClipRgn(b.dc, nullptr), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(b.dc, got), 0);
    SetViewportOrgEx(b.dc, 0, 0, nullptr);
    EXPECT_EQ(GetClipBox(b.dc, &box), SIMPLEREGION);
    EXPECT_TRUE(EqualRect(&box, &all));
    DeleteObject(got);
}

TEST(GdiRegion, SurfaceDcOriginAndClip) {
    auto surface = wince::Surface::Create(8, 6);
    ASSERT_NE(surface, nullptr);
    surface->Fill(RECT{0, 0, 8, 6}, RGB(255, 255, 255));
    wince::Region visible(RECT{2, 1, 6, 5});
    visible.Subtract(RECT{4, 3, 6, 5});
    HWND window = reinterpret_cast<HWND>(0x42);
    HDC dc = wince::CreateSurfaceDC(surface, POINT{2, 1}, visible, window);
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(wince::IsSurfaceDC(dc));
    EXPECT_EQ(wince::WindowOfDC(dc), window);
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 24);
    EXPECT_FALSE(DeleteDC(dc));  // a window's DC goes back through the window manager

    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 4);
    EXPECT_EQ(box.bottom, 4);
    RECT r{-5, -5, 20, 20};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    auto picture = [&] {
        std::string s;
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 8; ++x) s += surface->Pixel(x, y) == RGB(0, 0, 0) ? '#' : '.';
            s += '\n';
        }
        return s;
    };
    EXPECT_EQ(picture(), "........\n..####..\n..####..\n..##....\n..##....\n........\n");
    // The DC's own clip intersects the visible area, in the DC's coordinates.
    surface->Fill(RECT{0, 0, 8, 6}, RGB(255, 255, 255));
    IntersectClipRect(dc, 1, 0, 2, 10);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(picture(), "........\n...#....\n...#....\n...#....\n...#....\n........\n");
    // The window manager moves the window: new origin, new visible area.
    surface->Fill(RECT{0, 0, 8, 6}, RGB(255, 255, 255));
    wince::SetSurfaceDCClip(dc, POINT{0, 0}, wince::Region(RECT{0, 0, 8, 6}));
    SetPixel(dc, 1, 1, RGB(0, 0, 0));
    SetPixel(dc, 3, 1, RGB(0, 0, 0));  // outside the DC's own clip
    EXPECT_EQ(picture(), "........\n.#......\n........\n........\n........\n........\n");
    EXPECT_TRUE(wince::DestroySurfaceDC(dc));
    EXPECT_FALSE(wince::IsSurfaceDC(dc));
    EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST(GdiRegion, RectangleHelpers) {
    RECT a{0, 0, 10, 10}, b{5, 5, 15, 15}, out{-1, -1, -1, -1};
    EXPECT_TRUE(IntersectRect(&out, &a, &b));
    EXPECT_EQ(out.left, 5);
    EXPECT_EQ(out.bottom, 10);
    RECT far{20, 20, 30, 30};
    EXPECT_FALSE(IntersectRect(&out, &a, &far));
    EXPECT_TRUE(IsRectEmpty(&out));
    EXPECT_TRUE(UnionRect(&out, &a, &b));
    EXPECT_EQ(out.right, 15);
    struct Row {
        RECT a, b;
        BOOL ok;
        RECT result;
    } rows[] = {
        {{0, 0, 10, 10}, {0, 0, 10, 5}, TRUE, {0, 5, 10, 10}},  {{0, 0, 10, 10}, {5, -1, 11, 11}, TRUE, {0, 0, 5, 10}},
        {{0, 0, 10, 10}, {2, 2, 5, 5}, TRUE, {0, 0, 10, 10}},   {{0, 0, 10, 10}, {-1, -1, 11, 11}, FALSE, {0, 0, 0, 0}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(SubtractRect(&out, &rows[i].a, &rows[i].b), rows[i].ok) << "row " << i;
        EXPECT_TRUE(EqualRect(&out, &rows[i].result)) << "row " << i;
    }
    SetRect(&out, 1, 2, 3, 4);
    InflateRect(&out, 1, 1);
    OffsetRect(&out, 10, 0);
    EXPECT_EQ(out.left, 10);
    EXPECT_EQ(out.bottom, 5);
    EXPECT_TRUE(PtInRect(&out, POINT{10, 1}));
    EXPECT_FALSE(PtInRect(&out, POINT{14, 1}));  // right edge is outside
    SetRectEmpty(&out);
    EXPECT_TRUE(IsRectEmpty(&out));
}

}  // namespace
