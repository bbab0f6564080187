// CommandBar_*: the command bar, which on this screen is the program's menu
// bar at the bottom.
#include <aygshell.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "menu_bar.h"
#include "shell/shell_bars.h"
#include "toolbar.h"

namespace wince::controls {

HWND CreateMenuBarWindow(HWND owner, HINSTANCE instance, UINT id, bool visible, bool coversSipButton) {
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    shell::StartBars();
    RECT r = shell::MenuBarStrip();
    HWND bar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, TOOLBARCLASSNAMEW, u"", WS_POPUP | TBSTYLE_FLAT,
                               r.left, r.top, r.right - r.left, r.bottom - r.top, owner, nullptr, instance, nullptr);
    if (!bar) return nullptr;
    ToolbarState *s = ToolbarOf(bar);
    s->menuBar = true;
    s->notify = owner;
    s->structSize = sizeof(TBBUTTON);
    SetWindowLongW(bar, GWL_ID, static_cast<LONG>(id));
    shell::AddMenuBar(bar, owner, coversSipButton);
    if (visible) ShowWindow(bar, SW_SHOWNOACTIVATE);
    return bar;
}

bool InsertMenuButtons(HWND bar, HMENU menu, UINT at) {
    ToolbarState *s = ToolbarOf(bar);
    int count = menu ? GetMenuItemCount(menu) : -1;
    if (!s || count < 0) return false;
    size_t index = std::min<size_t>(at, s->buttons.size());
    for (int j = 0; j < count; ++j) {
        WCHAR text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        info.dwTypeData = text;
        info.cch = 256;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(j), TRUE, &info)) continue;
        ToolbarButton b;
        b.image = I_IMAGENONE;
        b.state = TBSTATE_ENABLED;
        if (info.fType & MFT_SEPARATOR) {
            b.style = TBSTYLE_SEP;
        } else {
            for (const WCHAR *c = text; *c; ++c)
                if (*c != u'&') b.text.push_back(*c);
            b.command = static_cast<int>(info.wID);
            b.popup = info.hSubMenu;
            b.style = TBSTYLE_AUTOSIZE | (b.popup ? TBSTYLE_DROPDOWN | TBSTYLE_NO_DROPDOWN_ARROW : 0);
        }
        s->buttons.insert(s->buttons.begin() + static_cast<long>(index++), b);
    }
    InvalidateRect(bar, nullptr, TRUE);
    return true;
}

bool InsertMenuBarResource(HWND bar, HINSTANCE instance, UINT id) {
    ToolbarState *s = ToolbarOf(bar);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
    const void *data = found ? LockResource(LoadResource(instance, found)) : nullptr;
    size_t words = found ? SizeofResource(instance, found) / sizeof(WORD) : 0;
    if (!s || !data) {
        SetLastError(s ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    std::vector<WORD> w(words);
    memcpy(w.data(), data, words * sizeof(WORD));  // resources need not be aligned
    constexpr size_t kPerButton = 7;
    constexpr WORD kNoPopup = 0xFFFF;
    if (words < 2 || words - 2 < size_t{w[1]} * kPerButton) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    HMENU menu = w[0] ? LoadMenuW(instance, MAKEINTRESOURCEW(w[0])) : nullptr;
    if (w[0] && !menu) return false;  // LoadMenuW said why
    std::vector<ToolbarButton> buttons;
    for (size_t i = 0; i < w[1]; ++i) {
        const WORD *e = &w[2 + i * kPerButton];
        ToolbarButton b;
        b.image = static_cast<int16_t>(e[0]);  // I_IMAGENONE is stored as 0xFFFE
        b.command = e[1];
        b.state = static_cast<BYTE>(e[2]);
        b.style = static_cast<BYTE>(e[3]);
        if (e[4]) {
            WCHAR text[256] = {};
            if (LoadStringW(instance, e[4], text, 256) > 0) b.text = text;
        }
        if (e[6] != kNoPopup && menu) b.popup = GetSubMenu(menu, e[6]);
        buttons.push_back(b);
    }
    if (s->menu && s->menu != menu) DestroyMenu(s->menu);
    s->menu = menu;
    s->buttons.insert(s->buttons.end(), buttons.begin(), buttons.end());
    InvalidateRect(bar, nullptr, TRUE);
    return true;
}

}  // namespace wince::controls

using namespace wince;
using namespace wince::controls;

HWND WINAPI CommandBar_Create(HINSTANCE hInst, HWND hwndParent, int idCmdBar) {
    return CreateMenuBarWindow(hwndParent, hInst, static_cast<UINT>(idCmdBar), true, false);
}

BOOL WINAPI CommandBar_Show(HWND hwndCB, BOOL fShow) {
    if (!ToolbarOf(hwndCB)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    ShowWindow(hwndCB, fShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    return TRUE;
}

BOOL WINAPI CommandBar_IsVisible(HWND hwndCB) { return ToolbarOf(hwndCB) && IsWindowVisible(hwndCB); }

int WINAPI CommandBar_Height(HWND hwndCB) {
    RECT r;
    if (!ToolbarOf(hwndCB) || !GetWindowRect(hwndCB, &r)) return 0;
    return r.bottom - r.top;
}

namespace {

BOOL InsertMenubar(HWND hwndCB, HMENU menu, WORD iButton) {
    ToolbarState *s = ToolbarOf(hwndCB);
    if (!s || !menu) {
        if (menu) DestroyMenu(menu);
        SetLastError(s ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (s->menu && s->menu != menu) DestroyMenu(s->menu);
    s->menu = menu;
    return InsertMenuButtons(hwndCB, menu, iButton) ? TRUE : FALSE;
}

}  // namespace

BOOL WINAPI CommandBar_InsertMenubar(HWND hwndCB, HINSTANCE hInst, WORD idMenu, WORD iButton) {
    if (!ToolbarOf(hwndCB)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return InsertMenubar(hwndCB, LoadMenuW(hInst, MAKEINTRESOURCEW(idMenu)), iButton);
}

// Without an instance the name is the menu's handle itself.
BOOL WINAPI CommandBar_InsertMenubarEx(HWND hwndCB, HINSTANCE hInst, LPWSTR pszMenu, WORD iButton) {
    if (!ToolbarOf(hwndCB)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    HMENU menu = hInst ? LoadMenuW(hInst, pszMenu) : reinterpret_cast<HMENU>(pszMenu);
    return InsertMenubar(hwndCB, menu, iButton);
}

HMENU WINAPI CommandBar_GetMenu(HWND hwndCB, WORD) {
    ToolbarState *s = ToolbarOf(hwndCB);
    return s ? s->menu : nullptr;
}

// The close box of a desktop command bar has no place on this screen; "ok"
// goes to the navigation bar.
BOOL WINAPI CommandBar_AddAdornments(HWND hwndCB, DWORD dwFlags, DWORD dwReserved) {
    ToolbarState *s = ToolbarOf(hwndCB);
    if (!s || dwReserved != 0) {
        SetLastError(s ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    s->adorned = true;
    if ((dwFlags & CMDBAR_OK) && s->notify) {
        HWND top = s->notify;
        while (GetWindowLongW(top, GWL_STYLE) & WS_CHILD) top = GetParent(top);
        SHDoneButton(top, SHDB_SHOW);
    }
    return TRUE;
}
