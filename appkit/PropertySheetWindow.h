// A modal property sheet over the platform's PropertySheet: a caption by
// string identifier, a parent, a first page, and pages added in order.
// The sheet window is routed through the object, so a derived sheet
// handles its own messages (Help among them).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "appkit/PropertyPage.h"
#include "appkit/Window.h"

class PropertySheetWindow : public Window {
   public:
    PropertySheetWindow(UINT captionId, Window *parent, UINT startPage);

    void AddPage(PropertyPage *page) { pages_.push_back(page); }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    PropertyPage *Page(int index) const { return pages_[static_cast<size_t>(index)]; }
    // The page shown now, or null.
    PropertyPage *ActivePage() const;

    // IDOK or IDCANCEL; -1 when the sheet cannot be made.
    virtual INT_PTR DoModal();

   private:
    static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);

    UINT captionId_;
    Window *parent_;
    UINT startPage_;
    std::vector<PropertyPage *> pages_;
};
