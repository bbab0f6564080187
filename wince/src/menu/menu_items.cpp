// Building and reading menus item by item: AppendMenu, InsertMenu,
// ModifyMenu, RemoveMenu, DeleteMenu and the small queries.
#include <algorithm>

#include "menu.h"

namespace wince {
namespace {

constexpr int kMaxDepth = 16;  // submenu chains deeper than this are cycles

bool FindByCommand(Menu *menu, UINT id, ItemRef &out, int depth) {
    if (!menu || depth > kMaxDepth) return false;
    for (size_t i = 0; i < menu->items.size(); ++i) {
        const MenuItem &item = menu->items[i];
        if (!item.submenu && item.id == id) {
            out = ItemRef{menu, i};
            return true;
        }
        if (item.submenu && FindByCommand(MenuFromHandle(item.submenu), id, out, depth + 1)) return true;
    }
    // A popup item may be named by its submenu's handle as its command.
    for (size_t i = 0; i < menu->items.size(); ++i)
        if (menu->items[i].submenu && reinterpret_cast<UINT_PTR>(menu->items[i].submenu) == id) {
            out = ItemRef{menu, i};
            return true;
        }
    return false;
}

// The lookup of the MF_BYCOMMAND / MF_BYPOSITION functions, with their error.
bool Locate(HMENU hMenu, UINT item, UINT flags, ItemRef &out) {
    Menu *menu = CheckMenu(hMenu);
    if (!menu) return false;
    if (FindMenuItem(menu, item, (flags & MF_BYPOSITION) != 0, out)) return true;
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return false;
}

}  // namespace

bool FindMenuItem(Menu *menu, UINT item, bool byPosition, ItemRef &out) {
    if (byPosition) {
        if (item >= menu->items.size()) return false;
        out = ItemRef{menu, item};
        return true;
    }
    return FindByCommand(menu, item, out, 0);
}

bool ItemFromFlags(UINT flags, UINT_PTR idOrMenu, LPCWSTR content, MenuItem &out) {
    out = MenuItem{};
    out.type = flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW | MF_MENUBREAK | MF_MENUBARBREAK);
    out.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
    if (flags & MF_POPUP) {
        HMENU sub = reinterpret_cast<HMENU>(idOrMenu);
        if (!MenuFromHandle(sub)) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return false;
        }
        out.submenu = sub;
    } else {
        out.id = static_cast<UINT>(idOrMenu);
    }
    if (out.Separator()) return true;
    if (flags & (MF_BITMAP | MF_OWNERDRAW)) {
        out.data = reinterpret_cast<ULONG_PTR>(content);
    } else if (content) {
        out.text = content;
    } else {
        out.type |= MF_SEPARATOR;  // a string item without a string reads as a separator
    }
    return true;
}

}  // namespace wince

using namespace wince;

BOOL WINAPI AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
    Menu *menu = CheckMenu(hMenu);
    if (!menu) return FALSE;
    MenuItem item;
    if (!ItemFromFlags(uFlags, uIDNewItem, lpNewItem, item)) return FALSE;
    menu->items.push_back(std::move(item));
    return TRUE;
}

BOOL WINAPI InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
    Menu *menu = CheckMenu(hMenu);
    if (!menu) return FALSE;
    MenuItem item;
    if (!ItemFromFlags(uFlags, uIDNewItem, lpNewItem, item)) return FALSE;
    Menu *into = menu;
    size_t at = menu->items.size();  // a position past the end appends
    if (uFlags & MF_BYPOSITION) {
        if (uPosition < at) at = uPosition;
    } else {
        ItemRef ref;
        if (!FindMenuItem(menu, uPosition, false, ref)) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
        into = ref.menu;
        at = ref.index;
    }
    into->items.insert(into->items.begin() + static_cast<ptrdiff_t>(at), std::move(item));
    return TRUE;
}

BOOL WINAPI ModifyMenuW(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
    ItemRef ref;
    if (!Locate(hMnu, uPosition, uFlags, ref)) return FALSE;
    MenuItem item;
    if (!ItemFromFlags(uFlags, uIDNewItem, lpNewItem, item)) return FALSE;
    HMENU old = ref.Item().submenu;
    item.data = (uFlags & (MF_BITMAP | MF_OWNERDRAW)) ? item.data : ref.Item().data;
    ref.Item() = std::move(item);
    // A replaced submenu goes with the item that held it.
    if (old && old != ref.Item().submenu) DestroyMenuTree(old);
    return TRUE;
}

BOOL WINAPI RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    ItemRef ref;
    if (!Locate(hMenu, uPosition, uFlags, ref)) return FALSE;
    ref.menu->items.erase(ref.menu->items.begin() + static_cast<ptrdiff_t>(ref.index));
    return TRUE;
}

BOOL WINAPI DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    ItemRef ref;
    if (!Locate(hMenu, uPosition, uFlags, ref)) return FALSE;
    HMENU sub = ref.Item().submenu;
    ref.menu->items.erase(ref.menu->items.begin() + static_cast<ptrdiff_t>(ref.index));
    if (sub) DestroyMenuTree(sub);
    return TRUE;
}

int WINAPI GetMenuItemCount(HMENU hMenu) {
    Menu *menu = CheckMenu(hMenu);
    return menu ? static_cast<int>(menu->items.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos) {
    Menu *menu = CheckMenu(hMenu);
    if (!menu || nPos < 0 || static_cast<size_t>(nPos) >= menu->items.size()) return static_cast<UINT>(-1);
    const MenuItem &item = menu->items[nPos];
    return item.submenu ? static_cast<UINT>(-1) : item.id;
}

HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos) {
    Menu *menu = CheckMenu(hMenu);
    if (!menu || nPos < 0 || static_cast<size_t>(nPos) >= menu->items.size()) return nullptr;
    return menu->items[nPos].submenu;
}

int WINAPI GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags) {
    ItemRef ref;
    if (lpString && cchMax > 0) lpString[0] = 0;
    if (!Locate(hMenu, uIDItem, flags, ref)) return 0;
    const std::u16string &text = ref.Item().text;
    if (!lpString || cchMax <= 0) return static_cast<int>(text.size());
    size_t n = std::min(text.size(), static_cast<size_t>(cchMax - 1));
    text.copy(lpString, n);
    lpString[n] = 0;
    return static_cast<int>(n);
}

BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
    ItemRef ref;
    if (!Locate(hMenu, uIDEnableItem, uEnable, ref)) return -1;
    UINT &state = ref.Item().state;
    UINT previous = state & (MF_GRAYED | MF_DISABLED);
    state = (state & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
    return static_cast<BOOL>(previous);
}

DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck) {
    ItemRef ref;
    if (!Locate(hMenu, uIDCheckItem, uCheck, ref)) return static_cast<DWORD>(-1);
    UINT &state = ref.Item().state;
    DWORD previous = state & MF_CHECKED;
    state = (state & ~static_cast<UINT>(MF_CHECKED)) | (uCheck & MF_CHECKED);
    return previous;
}
