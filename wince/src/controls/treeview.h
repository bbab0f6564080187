// The "SysTreeView32" control: its state and the pieces its window
// procedure is made of (geometry, painting, notifications, input).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "treeview_items.h"

namespace wince::controls {

struct TreeState {
    TreeItems items;
    HFONT font = nullptr;
    HIMAGELIST images = nullptr, stateImages = nullptr;
    TreeId caret = 0, dropHilite = 0;
    int top = 0;  // the first shown row
    bool focused = false;
};

inline DWORD TreeStyle(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

// Geometry, in client coordinates.
struct TreeRow {
    RECT row{};     // the whole line
    RECT button{};  // empty when the item shows no button
    RECT icon{};    // empty without an image list
    RECT label{};   // the text, with a little room on both sides
    int lineX = -1;  // the centre of the item's line column; -1: no column
};
int TreeRowHeight(const TreeState *s);
int TreeIndent(const TreeState *s);
// Rows that fit whole in the client area, at least one.
int TreeVisibleRows(HWND hwnd, const TreeState *s);
TreeRow TreeRowOf(HWND hwnd, TreeState *s, TreeId id, int rowIndex);
// The item under a client point and the TVHT_* flags for it.
TreeId TreeHitTest(HWND hwnd, TreeState *s, POINT pt, UINT *flags);
// Keeps `top` in range and the scroll bar in step; repaints.
void TreeRefresh(HWND hwnd, TreeState *s);
// Scrolls so that the row is whole on screen; true when it scrolled.
bool TreeScrollToRow(HWND hwnd, TreeState *s, int row);
void TreeScroll(HWND hwnd, TreeState *s, WPARAM wParam);
// The text shown for an item (asking the parent for a callback text).
std::u16string TreeItemText(HWND hwnd, TreeState *s, TreeId id);
int TreeItemImage(HWND hwnd, TreeState *s, TreeId id, bool selected);
// Whether the item shows an expand button.
bool TreeShowsButton(HWND hwnd, TreeState *s, TreeId id);

void TreePaint(HWND hwnd, TreeState *s);

// Changes that tell the parent. Each returns false when the parent refused
// or the item went away; the window may be gone afterwards (check IsWindow).
bool TreeSelect(HWND hwnd, TreeState *s, TreeId id, UINT cause);
// TVM_EXPAND semantics; byUser: the parent hears of every change.
bool TreeExpand(HWND hwnd, TreeState *s, TreeId id, UINT code, bool byUser);
bool TreeDelete(HWND hwnd, TreeState *s, TreeId id);
// Expands the ancestors and scrolls the item into view; true when it
// scrolled without expanding anything.
bool TreeEnsureVisible(HWND hwnd, TreeState *s, TreeId id);
LRESULT TreeNotify(HWND hwnd, NMHDR *hdr, UINT code);
// Fills a TVITEMW as the notifications carry it: handle, state, param.
void TreeNotifyItem(TreeState *s, TreeId id, TVITEMW &item);

void TreeLButtonDown(HWND hwnd, TreeState *s, LPARAM lParam);
void TreeKeyDown(HWND hwnd, TreeState *s, WPARAM key);

}  // namespace wince::controls
