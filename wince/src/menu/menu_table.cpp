// Menu handles: CreateMenu, CreatePopupMenu, DestroyMenu.
#include <map>
#include <memory>

#include "menu.h"

namespace wince {
namespace {

struct MenuTable {
    std::map<HMENU, std::unique_ptr<Menu>> live;
    // Menu handles have their own numbering, far from window handles, so a
    // mistaken handle is caught rather than taken for another object.
    uintptr_t next = 0x70010;
};

MenuTable &Table() {
    static auto *table = new MenuTable;
    return *table;
}

HMENU NewMenu(bool popup) {
    MenuTable &t = Table();
    auto menu = std::make_unique<Menu>();
    menu->handle = reinterpret_cast<HMENU>(t.next);
    menu->popup = popup;
    t.next += 4;
    HMENU handle = menu->handle;
    t.live.emplace(handle, std::move(menu));
    return handle;
}

}  // namespace

Menu *MenuFromHandle(HMENU menu) {
    auto &live = Table().live;
    auto it = live.find(menu);
    return it == live.end() ? nullptr : it->second.get();
}

Menu *CheckMenu(HMENU menu) {
    Menu *m = MenuFromHandle(menu);
    if (!m) SetLastError(ERROR_INVALID_MENU_HANDLE);
    return m;
}

void DestroyMenuTree(HMENU handle) {
    auto &live = Table().live;
    auto it = live.find(handle);
    if (it == live.end()) return;
    std::unique_ptr<Menu> menu = std::move(it->second);
    live.erase(it);
    for (const MenuItem &item : menu->items)
        if (item.submenu) DestroyMenuTree(item.submenu);
}

}  // namespace wince

using namespace wince;

HMENU WINAPI CreateMenu(void) { return NewMenu(false); }

HMENU WINAPI CreatePopupMenu(void) { return NewMenu(true); }

BOOL WINAPI DestroyMenu(HMENU hMenu) {
    if (!CheckMenu(hMenu)) return FALSE;
    DestroyMenuTree(hMenu);
    return TRUE;
}
