#include "item/ItemWindow.h"

// Constructed when the library is loaded, before its load handling runs;
// destroyed at unload, after it.
ItemWindow itemWindow;

ItemWindow::ItemWindow() = default;

ItemWindow::~ItemWindow() = default;
