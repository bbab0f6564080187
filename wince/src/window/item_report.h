// Windows that show items of their own (popup menus, list boxes, combo
// boxes, trees, tabs) report them here, for the window dump and for a
// script's click: each item's text, where it is on the screen and whether a
// user can choose it. A control registers a reporter for its class (a tree
// for "SysTreeView32", a tab control for "SysTabControl32"); the script's
// click taps the middle of an item's rectangle, so the rectangle must be
// where a tap chooses the item.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wince {

struct ReportedItem {
    std::u16string text;
    RECT rect{};  // screen coordinates; empty when the item is not shown (scrolled away, collapsed)
    UINT id = 0;  // a menu item's command; a list item's index
    bool enabled = true;
    bool checked = false;
    bool selected = false;
    bool separator = false;
    // Tree items: depth (0 for a top item; -1 for items of other controls),
    // whether the item is expanded and whether it shows an expand button.
    int level = -1;
    bool expanded = false;
    bool hasButton = false;
    // A tab: the dump shows only its text, whether it is chosen and where.
    bool tab = false;
};

using ItemReporter = std::function<bool(HWND, std::vector<ReportedItem> &)>;

// Class names compare without regard to case, as window classes do.
void RegisterItemReporter(const std::u16string &className, ItemReporter reporter);
// False when the window's class has no reporter.
bool ReportItems(HWND hwnd, std::vector<ReportedItem> &out);

}  // namespace wince
