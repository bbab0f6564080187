// The item's part in the Today screen's selection: the highlighted cell,
// taking and losing the selection, and the navigation and action keys.
#pragma once

#include <windows.h>

// Chooses the cell the selection arrives on: key 0 (handed over without a
// key, as by a tap), VK_UP (from the item below) or VK_DOWN (from above).
// False, changing nothing, when the item has no documents or for any other key.
bool TakeSelection(WPARAM key);
// Moves the selection inside the item; false when the Today screen should
// move it on to the neighbouring item.
bool Navigate(WPARAM key);

// Catalogue index of the document in the selected cell, or -1.
int SelectedDocument();
// The first cell of the last row holding documents on the screen.
int LastRowStart();

// Handlers of the Today screen's messages; the results are the window
// procedure's.
LRESULT OnSelectionReceived(HWND window, WPARAM key);
LRESULT OnSelectionLost(HWND window);
LRESULT OnNavigation(HWND window, WPARAM key);
LRESULT OnAction(HWND window);
