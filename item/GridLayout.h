// The grid's geometry: heights, columns, cells, captions.
#pragma once

// Rows needed for count documents in cols columns.
int RowsNeeded(int count, int cols);
// The item's height in pixels at 96 dots per inch.
int ItemHeight(int count, int cols, int rows);
