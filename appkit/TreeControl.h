// A tree-view control object: the platform's tree-view messages as calls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "appkit/Window.h"
#include "config/WideString.h"

class TreeControl : public Window {
   public:
    HTREEITEM InsertItem(UINT mask, LPCWSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after);
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
    BOOL Expand(HTREEITEM item, UINT action);
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    WideString GetItemText(HTREEITEM item) const;
    UINT GetItemState(HTREEITEM item, UINT mask) const;
    BOOL SelectItem(HTREEITEM item);
    BOOL EnsureVisible(HTREEITEM item);
    HIMAGELIST SetImageList(HIMAGELIST list, int which);
};
