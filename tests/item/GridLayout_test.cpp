// The item's height in rows of documents.
#include "item/GridLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(GridLayout, HeightFollowsTheRowsShown) {
    const struct {
        int count, cols, rows, needed, height;
    } rows[] = {
        {0, 2, 4, 0, 20},  {1, 2, 4, 1, 20},   {2, 1, 4, 2, 36},   {8, 2, 4, 4, 72},    {9, 2, 4, 5, 72},
        {9, 4, 3, 3, 54},  {6, 3, 3, 2, 36},   {100, 4, 15, 25, 270}, {3, 1, 3, 3, 54}, {4, 4, 3, 1, 20},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(RowsNeeded(rows[i].count, rows[i].cols), rows[i].needed) << "row " << i;
        EXPECT_EQ(ItemHeight(rows[i].count, rows[i].cols, rows[i].rows), rows[i].height) << "row " << i;
    }
}

}  // namespace
