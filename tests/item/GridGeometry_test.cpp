// Where rows, columns, cells, captions and the scroll strip go, at the
// resolutions of real screens; no window is needed.
#include <gtest/gtest.h>

#include <vector>

#include "drawing/ScreenMetrics.h"
#include "item/GridLayout.h"
#include "item/ScrollStrip.h"

namespace {

struct Resolution {
    Resolution(int x, int y) : saved(DisplayResolution) { DisplayResolution = DisplayResolutionValues{x, y}; }
    ~Resolution() { DisplayResolution = saved; }
    DisplayResolutionValues saved;
};

std::string Text(const RECT &r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(GridGeometry, ColumnEdgesAtEachResolution) {
    const struct {
        int dpiX, dpiY, right, cols;
        std::vector<int> edges;
    } rows[] = {
        {96, 96, 240, 2, {26, 133, 240}},
        {96, 96, 240, 1, {26, 240}},
        {96, 96, 225, 4, {26, 75, 125, 175, 225}},  // the strip took 15
        {131, 131, 327, 3, {35, 132, 229, 327}},
        {192, 192, 480, 4, {52, 159, 266, 373, 480}},
        {192, 192, 452, 2, {52, 252, 452}},
        // Wider than tall pixels: the right margin follows the vertical scale.
        {192, 96, 480, 2, {52, 279, 506}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Resolution res(rows[i].dpiX, rows[i].dpiY);
        std::vector<int> edges{-1};
        ComputeColumnEdges(RECT{0, 0, rows[i].right, 72}, rows[i].cols, edges);
        EXPECT_EQ(edges, rows[i].edges) << "row " << i;
    }
}

TEST(GridGeometry, CellsArePitchedByRowsAndEndBeforeTheNextColumn) {
    const struct {
        int dpi, row, column;
        const char *cell;
    } rows[] = {
        {96, 0, 0, "26,0,132,17"},  {96, 0, 1, "133,0,239,17"},    {96, 3, 1, "133,54,239,71"},
        {192, 0, 0, "52,0,265,34"}, {192, 2, 1, "266,72,479,106"}, {131, 1, 0, "35,25,180,48"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Resolution res(rows[i].dpi, rows[i].dpi);
        std::vector<int> edges;
        RECT area{0, 0, rows[i].dpi == 131 ? 327 : rows[i].dpi * 240 / 96, 400};
        ComputeColumnEdges(area, 2, edges);
        EXPECT_EQ(Text(CellRect(area, edges, rows[i].row, rows[i].column)), rows[i].cell) << "row " << i;
    }
}

TEST(GridGeometry, CaptionsSitRightOfTheNameDateLeftOfSize) {
    Resolution res(96, 96);
    RECT cell{26, 18, 239, 35};
    CellParts both = LayOutCell(cell, true, 30, true, 50);
    EXPECT_EQ(both.icon.x, 27);
    EXPECT_EQ(both.icon.y, 19);
    EXPECT_EQ(Text(both.sizeBox), "206,18,236,35");
    EXPECT_EQ(Text(both.dateBox), "153,18,203,35");
    EXPECT_EQ(Text(both.nameBox), "44,18,150,35");
    CellParts none = LayOutCell(cell, false, 30, false, 50);
    EXPECT_EQ(Text(none.nameBox), "44,18,236,35");
    EXPECT_EQ(Text(none.sizeBox), "0,0,0,0");

    Resolution high(192, 192);
    CellParts sized = LayOutCell(RECT{52, 0, 479, 34}, true, 60, false, 0);
    EXPECT_EQ(sized.icon.x, 54);
    EXPECT_EQ(Text(sized.sizeBox), "413,0,473,34");
    EXPECT_EQ(Text(sized.nameBox), "88,0,407,34");
}

TEST(GridGeometry, VisibleRowsClampFirstRowAndDecideTheStrip) {
    const struct {
        int count, cols, rows, firstRowBefore;
        bool shown;
        int total, maxFirst, firstRow, firstIndex;
    } rows[] = {
        {8, 2, 4, 0, false, 4, 0, 0, 0},
        {9, 2, 4, 0, true, 5, 1, 0, 0},
        {9, 2, 4, 1, true, 5, 1, 1, 2},
        {9, 4, 3, 0, false, 3, 0, 0, 0},
        {1, 2, 4, 0, false, 1, 0, 0, 0},
        {100, 4, 15, 30, true, 25, 10, 10, 40},
        // Documents went away: firstRow drops to the new end, then to 0.
        {20, 2, 4, 6, true, 10, 6, 6, 12},
        {12, 2, 4, 6, true, 6, 2, 2, 4},
        {8, 2, 4, 2, false, 4, 0, 0, 0},
        // Empty last row slots do not need a strip: 7 in 2 x 4 fit.
        {7, 2, 4, 3, false, 4, 0, 0, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        ScrollStrip strip;
        strip.firstRow = rows[i].firstRowBefore;
        bool shown = UpdateVisibleRows(strip, rows[i].count, rows[i].cols, rows[i].rows);
        EXPECT_EQ(shown, rows[i].shown) << "row " << i;
        EXPECT_EQ(strip.totalRows, rows[i].total) << "row " << i;
        EXPECT_EQ(strip.visibleRows, rows[i].rows) << "row " << i;
        EXPECT_EQ(strip.maxFirstRow, rows[i].maxFirst) << "row " << i;
        EXPECT_EQ(strip.firstRow, rows[i].firstRow) << "row " << i;
        EXPECT_EQ(FirstIndex(strip, rows[i].cols, shown), rows[i].firstIndex) << "row " << i;
    }
}

TEST(GridGeometry, StripGeometry) {
    const struct {
        int dpi, areaRight, areaBottom, total, visible, firstRow;
        int stripX, minThumb;
        const char *strip, *up, *down, *thumb;
    } rows[] = {
        {96, 239, 72, 5, 4, 0, 224, 10, "0,0,15,72", "1,1,14,13", "1,59,14,71", "1,13,14,49"},
        {96, 239, 72, 5, 4, 1, 224, 10, "0,0,15,72", "1,1,14,13", "1,59,14,71", "1,23,14,59"},
        // A long list: the thumb is held at its smallest length.
        {96, 239, 270, 1000, 15, 0, 224, 10, "0,0,15,270", "1,1,14,13", "1,257,14,269", "1,13,14,23"},
        {96, 239, 270, 1000, 15, 985, 224, 10, "0,0,15,270", "1,1,14,13", "1,257,14,269", "1,247,14,257"},
        {192, 479, 144, 5, 4, 1, 451, 20, "0,0,28,144", "1,1,27,25", "1,119,27,143", "1,44,27,119"},
        {131, 326, 98, 5, 4, 0, 306, 14, "0,0,20,98", "1,1,19,17", "1,81,19,97", "1,17,19,67"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Resolution res(rows[i].dpi, rows[i].dpi);
        ScrollStrip strip;
        strip.totalRows = rows[i].total;
        strip.visibleRows = rows[i].visible;
        strip.firstRow = rows[i].firstRow;
        strip.Layout(RECT{0, 0, rows[i].areaRight, rows[i].areaBottom});
        EXPECT_EQ(strip.stripX, rows[i].stripX) << "row " << i;
        EXPECT_EQ(strip.minThumb, rows[i].minThumb) << "row " << i;
        EXPECT_EQ(Text(strip.stripRect), rows[i].strip) << "row " << i;
        EXPECT_EQ(Text(strip.upRect), rows[i].up) << "row " << i;
        EXPECT_EQ(Text(strip.downRect), rows[i].down) << "row " << i;
        EXPECT_EQ(Text(strip.thumbRect), rows[i].thumb) << "row " << i;
        EXPECT_EQ(strip.stripRect.right, ScrollStripWidth()) << "row " << i;
    }
}

TEST(GridGeometry, WidthRuleAndFixedZones) {
    const struct {
        int client, target;
        bool off;
    } widths[] = {{240, 240, false}, {244, 240, false}, {236, 240, false},
                  {245, 240, true},  {235, 240, true},  {0, 240, true}};
    for (size_t i = 0; i < std::size(widths); ++i)
        EXPECT_EQ(ItemWidthIsOff(widths[i].client, widths[i].target), widths[i].off) << "row " << i;

    Resolution res(192, 192);
    EXPECT_EQ(Text(FolderIconZone()), "2,2,34,34");
    EXPECT_EQ(Text(MessageLineRect(RECT{0, 0, 479, 40})), "56,0,479,40");
}

}  // namespace
