#include "item/GridLayout.h"

int RowsNeeded(int count, int cols) {
    if (cols <= 0) return 0;
    return count / cols + (count % cols ? 1 : 0);
}

int ItemHeight(int count, int cols, int rows) {
    int needed = RowsNeeded(count, cols);
    int shown = rows < needed ? rows : needed;
    int height = shown * 18;
    return height < 20 ? 20 : height;
}
