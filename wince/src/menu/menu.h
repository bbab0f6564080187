// The menu manager's model: menus are lists of items behind HMENU handles;
// a popup item holds another menu, which the item owns.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wince {

struct MenuItem {
    UINT type = MFT_STRING;  // MF_SEPARATOR, MF_BITMAP, MF_OWNERDRAW, MF_MENUBREAK...
    UINT state = 0;          // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_HILITE, MF_DEFAULT
    UINT id = 0;
    HMENU submenu = nullptr;
    std::u16string text;     // string items only
    ULONG_PTR data = 0;      // application data, or the bitmap / owner-draw value
    HBITMAP checked = nullptr, unchecked = nullptr;

    bool Separator() const { return (type & MF_SEPARATOR) != 0; }
    bool Disabled() const { return (state & (MF_GRAYED | MF_DISABLED)) != 0; }
    bool Checked() const { return (state & MF_CHECKED) != 0; }
};

struct Menu {
    HMENU handle = nullptr;
    bool popup = false;
    std::vector<MenuItem> items;
};

// nullptr for a handle that is not a live menu.
Menu *MenuFromHandle(HMENU menu);
// The same, setting ERROR_INVALID_MENU_HANDLE when it fails.
Menu *CheckMenu(HMENU menu);

struct ItemRef {
    Menu *menu = nullptr;
    size_t index = 0;
    MenuItem &Item() const { return menu->items[index]; }
};

// Finds an item by position, or by command in the menu and (depth first)
// in its submenus, as the MF_BYCOMMAND functions do. False when missing.
bool FindMenuItem(Menu *menu, UINT item, bool byPosition, ItemRef &out);

// The MF_ flags of AppendMenu and friends as item fields. False for flags
// that make no item (a popup item without a valid menu).
bool ItemFromFlags(UINT flags, UINT_PTR idOrMenu, LPCWSTR content, MenuItem &out);

// A menu template of known size, so that a damaged resource is not over-read.
HMENU LoadMenuTemplate(const uint8_t *data, size_t size);

// Destroys a menu and every submenu below it.
void DestroyMenuTree(HMENU menu);

}  // namespace wince
