// GetMenuItemInfoW and SetMenuItemInfoW: an item's fields chosen by fMask.
#include <algorithm>

#include "menu.h"

using namespace wince;

namespace {

constexpr UINT kKnownMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;

bool Locate(HMENU hMenu, UINT item, BOOL byPosition, const void *info, UINT cbSize, ItemRef &out) {
    Menu *menu = CheckMenu(hMenu);
    if (!menu) return false;
    if (!info || cbSize != sizeof(MENUITEMINFOW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (FindMenuItem(menu, item, byPosition != FALSE, out)) return true;
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return false;
}

}  // namespace

BOOL WINAPI GetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOW lpmii) {
    ItemRef ref;
    if (!Locate(hmenu, item, fByPosition, lpmii, lpmii ? lpmii->cbSize : 0, ref)) return FALSE;
    const MenuItem &it = ref.Item();
    UINT mask = lpmii->fMask;
    if (mask & ~kKnownMask) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (mask & MIIM_STATE) lpmii->fState = it.state;
    if (mask & MIIM_ID) lpmii->wID = it.submenu ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(it.submenu)) : it.id;
    if (mask & MIIM_SUBMENU) lpmii->hSubMenu = it.submenu;
    if (mask & MIIM_CHECKMARKS) {
        lpmii->hbmpChecked = it.checked;
        lpmii->hbmpUnchecked = it.unchecked;
    }
    if (mask & MIIM_DATA) lpmii->dwItemData = it.data;
    if (mask & MIIM_TYPE) {
        lpmii->fType = it.type;
        if (it.Separator() || (it.type & (MF_BITMAP | MF_OWNERDRAW))) {
            // Not a string: the value stands in dwTypeData itself.
            if (it.type & (MF_BITMAP | MF_OWNERDRAW)) lpmii->dwTypeData = reinterpret_cast<LPWSTR>(it.data);
            lpmii->cch = 0;
        } else if (!lpmii->dwTypeData || lpmii->cch == 0) {
            lpmii->cch = static_cast<UINT>(it.text.size());
        } else {
            size_t n = std::min<size_t>(it.text.size(), lpmii->cch - 1);
            it.text.copy(lpmii->dwTypeData, n);
            lpmii->dwTypeData[n] = 0;
            lpmii->cch = static_cast<UINT>(n);
        }
    }
    return TRUE;
}

BOOL WINAPI SetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPositon, LPCMENUITEMINFOW lpmii) {
    ItemRef ref;
    if (!Locate(hmenu, item, fByPositon, lpmii, lpmii ? lpmii->cbSize : 0, ref)) return FALSE;
    UINT mask = lpmii->fMask;
    if (mask & ~kKnownMask) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((mask & MIIM_SUBMENU) && lpmii->hSubMenu && !MenuFromHandle(lpmii->hSubMenu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    MenuItem &it = ref.Item();
    if (mask & MIIM_STATE) it.state = lpmii->fState & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
    if (mask & MIIM_ID) it.id = lpmii->wID;
    if (mask & MIIM_SUBMENU) it.submenu = lpmii->hSubMenu;
    if (mask & MIIM_CHECKMARKS) {
        it.checked = lpmii->hbmpChecked;
        it.unchecked = lpmii->hbmpUnchecked;
    }
    if (mask & MIIM_DATA) it.data = lpmii->dwItemData;
    if (mask & MIIM_TYPE) {
        it.type = lpmii->fType;
        if (it.type & (MF_BITMAP | MF_OWNERDRAW)) {
            it.data = reinterpret_cast<ULONG_PTR>(lpmii->dwTypeData);
            it.text.clear();
        } else if (!it.Separator()) {
            it.text = lpmii->dwTypeData ? std::u16string(lpmii->dwTypeData) : std::u16string();
        } else {
            it.text.clear();
        }
    }
    return TRUE;
}
