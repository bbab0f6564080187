// The one item object of the process. It is not tied to a window: every
// item window the Today screen creates over the library's lifetime works on
// this same object.
#pragma once

#include <windows.h>

#include <vector>

#include "catalogue/DocumentCatalogue.h"
#include "config/FolderSettings.h"
#include "item/ScrollStrip.h"

class ItemWindow {
   public:
    ItemWindow();
    virtual ~ItemWindow();
    ItemWindow(const ItemWindow &) = delete;
    ItemWindow &operator=(const ItemWindow &) = delete;

    FolderSettings settings;
    ScrollStrip scrollStrip;
    bool scrollStripShown = false;
    int cols = 0;
    int rows = 0;
    DocumentCatalogue catalogue;
    int selectedCell = -1;
    int rememberedCell = -1;
    bool pressedOnIcon = false;
    bool pressedOnStrip = false;
    RECT paintRect{};
    std::vector<int> columnEdges{-1};
    DWORD folderAttributes = 0xFFFFFFFF;
    HWND notifyWindow = nullptr;

    int DocumentCount() const { return catalogue.Count(); }
    // Empties the catalogue and forgets the selection.
    void ClearCatalogue();
};

extern ItemWindow itemWindow;
