// SHCreateMenuBar and SHFindMenuBar: a window's menu bar at the bottom of
// the screen.
#include <aygshell.h>

#include <commctrl.h>

#include "controls/menu_bar.h"
#include "shell_bars.h"

using namespace wince;

namespace {

// A menu bar resource (RCDATA) under the identifier, unless the caller says
// the identifier is a menu's.
bool NamesMenuBarResource(const SHMENUBARINFO &info) {
    return !(info.dwFlags & SHCMBF_HMENU) &&
           FindResourceW(info.hInstRes, MAKEINTRESOURCEW(info.nToolBarId), RT_RCDATA) != nullptr;
}

}  // namespace

// The bar's buttons come from a menu bar resource, or from a menu resource:
// one per top-level item. A menu's identifier without SHCMBF_HMENU is taken
// too when there is no menu bar resource of that identifier.
BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *pmbi) {
    if (!pmbi || pmbi->cbSize != sizeof(SHMENUBARINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!IsWindow(pmbi->hwndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    bool fromResource = !(pmbi->dwFlags & SHCMBF_EMPTYBAR) && pmbi->nToolBarId && NamesMenuBarResource(*pmbi);
    HMENU menu = nullptr;
    if (!(pmbi->dwFlags & SHCMBF_EMPTYBAR) && pmbi->nToolBarId && !fromResource) {
        menu = LoadMenuW(pmbi->hInstRes, MAKEINTRESOURCEW(pmbi->nToolBarId));
        if (!menu) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return FALSE;
        }
    }
    HWND bar = controls::CreateMenuBarWindow(pmbi->hwndParent, pmbi->hInstRes, pmbi->nToolBarId, false,
                                             (pmbi->dwFlags & SHCMBF_HIDESIPBUTTON) != 0);
    if (!bar) {
        if (menu) DestroyMenu(menu);
        return FALSE;
    }
    if ((menu && !CommandBar_InsertMenubarEx(bar, nullptr, reinterpret_cast<LPWSTR>(menu), 0)) ||
        (fromResource && !controls::InsertMenuBarResource(bar, pmbi->hInstRes, pmbi->nToolBarId))) {
        DWORD error = GetLastError();
        DestroyWindow(bar);
        SetLastError(error);
        return FALSE;
    }
    if (!(pmbi->dwFlags & SHCMBF_HIDDEN)) ShowWindow(bar, SW_SHOWNOACTIVATE);
    pmbi->hwndMB = bar;
    return TRUE;
}

HWND WINAPI SHFindMenuBar(HWND hwnd) { return hwnd ? shell::MenuBarOf(hwnd) : nullptr; }
