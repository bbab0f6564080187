#include "item/Selection.h"

#include "item/DocumentActions.h"
#include "item/ItemState.h"
#include "item/ItemWindow.h"

namespace {

int Count() {
    return itemWindow.DocumentCount();
}
int FirstCellIndex() {
    return itemWindow.scrollStrip.firstRow * itemWindow.cols;
}

// The last cell on the screen that holds a document.
int LastDocumentCell() {
    int onScreen = Count() - FirstCellIndex();
    int cells = itemWindow.rows * itemWindow.cols;
    return (onScreen < cells ? onScreen : cells) - 1;
}

}  // namespace

int SelectedDocument() {
    if (itemWindow.selectedCell == -1) return -1;
    int index = FirstCellIndex() + itemWindow.selectedCell;
    return index < Count() ? index : -1;
}

int LastRowStart() {
    int cols = itemWindow.cols;
    if (cols <= 0) return 0;
    int remainder = Count() % cols;
    if (remainder == 0) remainder = cols;
    int lastVisibleRow = (itemWindow.rows - 1) * cols;
    int lastDocumentRow = Count() - remainder;
    return lastVisibleRow < lastDocumentRow ? lastVisibleRow : lastDocumentRow;
}

bool TakeSelection(WPARAM key) {
    if (Count() == 0) return false;
    int remembered = itemWindow.rememberedCell;
    switch (key) {
        case 0:
            itemWindow.selectedCell = remembered == -1 ? 0 : remembered;
            return true;
        case VK_UP: {
            int lastRow = LastRowStart();
            itemWindow.selectedCell = remembered > lastRow ? remembered : lastRow;
            return true;
        }
        case VK_DOWN:
            itemWindow.selectedCell = remembered >= 0 && remembered < itemWindow.cols ? remembered : 0;
            return true;
    }
    return false;
}

bool Navigate(WPARAM key) {
    int &cell = itemWindow.selectedCell;
    const int cols = itemWindow.cols;
    if (cell == -1) return key != VK_UP && key != VK_DOWN;
    bool handled = true;
    switch (key) {
        case VK_LEFT:
            if (cell > 0) cell -= 1;
            break;
        case VK_RIGHT:
            // Past the end of a row it goes on at the start of the next, but
            // not beyond the documents on the screen.
            if (cell < LastDocumentCell()) cell += 1;
            break;
        case VK_UP:
            if (cell >= cols)
                cell -= cols;
            else
                handled = false;
            break;
        case VK_DOWN:
            if (cell >= LastRowStart()) {
                handled = false;
                break;
            }
            cell += cols;
            if (FirstCellIndex() + cell >= Count()) cell = Count() - FirstCellIndex() - 1;  // the cell below is empty
            break;
    }
    itemWindow.rememberedCell = cell;
    return handled;
}

LRESULT OnSelectionReceived(HWND window, WPARAM key) {
    HasTodaySelection = TakeSelection(key);
    InvalidateRect(window, nullptr, TRUE);
    return HasTodaySelection ? TRUE : FALSE;
}

LRESULT OnSelectionLost(HWND window) {
    itemWindow.rememberedCell = itemWindow.selectedCell;
    itemWindow.selectedCell = -1;
    InvalidateRect(window, nullptr, TRUE);
    HasTodaySelection = false;
    return TRUE;
}

LRESULT OnNavigation(HWND window, WPARAM key) {
    bool handled = Navigate(key);
    InvalidateRect(window, nullptr, TRUE);
    return handled ? TRUE : FALSE;
}

LRESULT OnAction(HWND) {
    int document = SelectedDocument();
    if (document != -1) OpenDocument(*itemWindow.catalogue.Entry(document));
    return TRUE;
}
