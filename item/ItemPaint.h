// Painting the item: everything goes to an off-screen bitmap over the Today
// screen's background and reaches the screen in one copy.
#pragma once

#include <windows.h>

class DocumentEntry;
class FolderSettings;
class ItemWindow;

// One WM_PAINT's off-screen bitmap; destroying it finishes the paint.
class PaintBuffer {
   public:
    PaintBuffer(HWND window, HFONT font);
    virtual ~PaintBuffer();
    PaintBuffer(const PaintBuffer &) = delete;
    PaintBuffer &operator=(const PaintBuffer &) = delete;

    HWND window;
    HDC paintDc = nullptr;
    HDC memoryDc = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    HGDIOBJ previousFont = nullptr;
    PAINTSTRUCT paint{};
    RECT client{};
};

// The work of WM_PAINT; returns 1.
LRESULT PaintItem(HWND window);
// The message line or the documents with the scroll strip, into area.
void PaintGrid(ItemWindow &item, HWND window, HDC hdc, RECT area);
// One document in cell, which is narrowed as its parts are drawn.
void PaintCell(DocumentEntry &entry, HWND window, HDC hdc, RECT &cell, bool selected, const FolderSettings &settings);
