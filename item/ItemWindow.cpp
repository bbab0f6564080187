#include "item/ItemWindow.h"

#include "catalogue/Refresh.h"

// Constructed when the library is loaded, before its load handling runs;
// destroyed at unload, after it.
ItemWindow itemWindow;

ItemWindow::ItemWindow() = default;

ItemWindow::~ItemWindow() { StopWatching(); }

void ItemWindow::ClearCatalogue() {
    catalogue.Clear();
    selectedCell = -1;
    rememberedCell = -1;
}
