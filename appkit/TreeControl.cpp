#include "appkit/TreeControl.h"

namespace {
constexpr int kTextLength = 260;
}

HTREEITEM TreeControl::InsertItem(UINT mask, LPCWSTR text, int image, int selectedImage, HTREEITEM parent,
                                  HTREEITEM after) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = mask;
    insert.item.pszText = const_cast<LPWSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

BOOL TreeControl::DeleteItem(HTREEITEM item) {
    return static_cast<BOOL>(SendMessageW(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL TreeControl::Expand(HTREEITEM item, UINT action) {
    return static_cast<BOOL>(SendMessageW(Handle(), TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM TreeControl::GetNextItem(HTREEITEM item, UINT code) const {
    return reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

WideString TreeControl::GetItemText(HTREEITEM item) const {
    WCHAR text[kTextLength + 1] = {0};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = kTextLength;
    if (!SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return WideString();
    return WideString(tv.pszText ? tv.pszText : text);
}

UINT TreeControl::GetItemState(HTREEITEM item, UINT mask) const {
    TVITEMW tv{};
    tv.mask = TVIF_STATE;
    tv.hItem = item;
    tv.stateMask = mask;
    if (!SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return 0;
    return tv.state & mask;
}

BOOL TreeControl::SelectItem(HTREEITEM item) {
    return static_cast<BOOL>(SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
}

BOOL TreeControl::EnsureVisible(HTREEITEM item) {
    return static_cast<BOOL>(SendMessageW(Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)));
}

HIMAGELIST TreeControl::SetImageList(HIMAGELIST list, int which) {
    return reinterpret_cast<HIMAGELIST>(
        SendMessageW(Handle(), TVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list)));
}
