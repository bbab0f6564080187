// TrackPopupMenu and TrackPopupMenuEx: the popup opens at the point, the
// owner hears WM_INITMENUPOPUP first, and a modal loop on the thread's queue
// follows the stylus and the keys until an item is chosen or the menu is
// dismissed.
#include "menu.h"
#include "trace/trace.h"
#include "tracker.h"
#include "window/input.h"
#include "window/window.h"

namespace wince {
namespace {

MenuTracker *active = nullptr;

RECT ScreenRect() { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

bool Contains(const RECT &r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

void Invalidate(PopupLevel &level) {
    if (level.window) InvalidateRect(level.window, nullptr, FALSE);
}

void SetHighlight(PopupLevel &level, int item) {
    if (level.highlight == item) return;
    level.highlight = item;
    Invalidate(level);
}

// Lays out a menu and places it: beside its parent's item for a submenu,
// else at the point with the caller's alignment.
bool OpenLevel(MenuTracker &t, HMENU menu, const RECT *parentItem, POINT at) {
    Menu *m = MenuFromHandle(menu);
    if (!m || m->items.empty()) return false;
    PopupLevel level;
    level.menu = menu;
    level.layout = MeasurePopup(*m);
    level.rect = parentItem ? PlaceSubmenu(level.layout.size, t.levels.back().rect, *parentItem, ScreenRect())
                            : PlacePopup(level.layout.size, at, t.flags, ScreenRect());
    t.levels.push_back(level);
    t.levels.back().window = CreatePopupWindow(t.levels.back());
    return true;
}

void CloseLevelsAbove(MenuTracker &t, size_t keep) {
    while (t.levels.size() > keep) {
        HWND hwnd = t.levels.back().window;
        t.levels.pop_back();
        if (hwnd) DestroyWindow(hwnd);
    }
}

// Opens the submenu of an item of the given level, closing deeper levels.
void OpenSubmenu(MenuTracker &t, size_t level, int item) {
    CloseLevelsAbove(t, level + 1);
    Menu *menu = MenuFromHandle(t.levels[level].menu);
    if (!menu || item < 0 || static_cast<size_t>(item) >= menu->items.size()) return;
    HMENU sub = menu->items[item].submenu;
    if (!sub || menu->items[item].Disabled()) return;
    if (!(t.flags & TPM_NONOTIFY)) SendMessageW(t.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(item, FALSE));
    RECT row = t.levels[level].layout.items[item];
    OffsetRect(&row, t.levels[level].rect.left, t.levels[level].rect.top);
    OpenLevel(t, sub, &row, POINT{});
}

struct Hit {
    int level = -1;
    int item = -1;
};

Hit HitTest(const MenuTracker &t, POINT screen) {
    for (int i = static_cast<int>(t.levels.size()) - 1; i >= 0; --i) {
        const PopupLevel &l = t.levels[i];
        if (!Contains(l.rect, screen)) continue;
        return Hit{i, ItemAt(l.layout, POINT{screen.x - l.rect.left, screen.y - l.rect.top})};
    }
    return Hit{};
}

const MenuItem *ItemOf(const MenuTracker &t, int level, int item) {
    if (level < 0 || item < 0) return nullptr;
    Menu *menu = MenuFromHandle(t.levels[level].menu);
    if (!menu || static_cast<size_t>(item) >= menu->items.size()) return nullptr;
    return &menu->items[item];
}

void Choose(MenuTracker &t, const MenuItem &item) {
    t.chosen = item.id;
    t.done = true;
}

void OnStylusDown(MenuTracker &t, POINT p) {
    Hit hit = HitTest(t, p);
    if (hit.level < 0) {
        // A tap outside every popup dismisses the menu; the tap goes nowhere.
        t.done = true;
        SwallowNextStylusUp();
        return;
    }
    t.pressed = true;
    const MenuItem *item = ItemOf(t, hit.level, hit.item);
    bool usable = item && !item->Separator() && !item->Disabled();
    SetHighlight(t.levels[hit.level], usable ? hit.item : -1);
    if (usable && item->submenu) {
        if (static_cast<size_t>(hit.level) + 1 < t.levels.size() && t.levels[hit.level + 1].menu == item->submenu) return;
        OpenSubmenu(t, hit.level, hit.item);
    } else {
        CloseLevelsAbove(t, hit.level + 1);
    }
}

void OnStylusMove(MenuTracker &t, POINT p) {
    if (!t.pressed) return;
    Hit hit = HitTest(t, p);
    if (hit.level < 0) return;
    const MenuItem *item = ItemOf(t, hit.level, hit.item);
    bool usable = item && !item->Separator() && !item->Disabled();
    SetHighlight(t.levels[hit.level], usable ? hit.item : -1);
}

void OnStylusUp(MenuTracker &t, POINT p) {
    if (!t.pressed) return;  // the lift of the stylus that opened the menu
    t.pressed = false;
    // The item under the lifted stylus is chosen, wherever in the menu it went down.
    Hit hit = HitTest(t, p);
    const MenuItem *item = ItemOf(t, hit.level, hit.item);
    if (item && !item->Separator() && !item->Disabled() && !item->submenu) Choose(t, *item);
}

// The next item to highlight with Up or Down; separators are passed over.
int Step(const Menu &menu, int from, int delta) {
    int n = static_cast<int>(menu.items.size());
    int at = from;
    for (int tries = 0; tries < n; ++tries) {
        at = at < 0 ? (delta > 0 ? 0 : n - 1) : (at + delta + n) % n;
        if (!menu.items[at].Separator()) return at;
    }
    return from;
}

void OnKey(MenuTracker &t, UINT vk) {
    PopupLevel &level = t.levels.back();
    size_t depth = t.levels.size() - 1;
    Menu *menu = MenuFromHandle(level.menu);
    if (!menu) return;
    const MenuItem *lit = ItemOf(t, static_cast<int>(depth), level.highlight);
    switch (vk) {
        case VK_UP:
        case VK_DOWN:
            level.highlight = Step(*menu, level.highlight, vk == VK_DOWN ? 1 : -1);
            Invalidate(level);
            break;
        case VK_RIGHT:
        case VK_RETURN:
            if (lit && lit->submenu) {
                OpenSubmenu(t, depth, level.highlight);
                if (t.levels.size() > depth + 1) {
                    PopupLevel &sub = t.levels.back();
                    if (Menu *m = MenuFromHandle(sub.menu)) SetHighlight(sub, Step(*m, -1, 1));
                }
            } else if (vk == VK_RETURN && lit && !lit->Disabled() && !lit->Separator()) {
                Choose(t, *lit);
            }
            break;
        case VK_ESCAPE:
        case VK_LEFT:
            if (depth > 0) CloseLevelsAbove(t, depth);
            else if (vk == VK_ESCAPE) t.done = true;
            break;
    }
}

void Trace(HMENU hmenu, UINT answer) {
    std::vector<TracedMenuItem> items;
    if (Menu *menu = MenuFromHandle(hmenu))
        for (const MenuItem &item : menu->items)
            items.push_back(TracedMenuItem{item.Separator(), item.submenu ? 0u : item.id, item.text});
    TraceTrackPopupMenu(items, answer);
}

// Runs the menu; false when it could not be shown at all.
bool Track(HMENU hmenu, UINT flags, int x, int y, HWND owner, UINT &chosen) {
    chosen = 0;
    if (!CheckMenu(hmenu)) return false;
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (active) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return false;
    }
    MenuTracker t;
    t.owner = owner;
    t.flags = flags;
    active = &t;
    if (!(flags & TPM_NONOTIFY)) SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hmenu), MAKELPARAM(0, FALSE));
    if (!OpenLevel(t, hmenu, nullptr, POINT{x, y})) {
        active = nullptr;
        return true;  // nothing to show: dismissed at once
    }
    // The stylus belongs to the menu while it is open, wherever it lands.
    SetCapture(t.levels[0].window);
    bool quit = false;
    WPARAM quitCode = 0;
    while (!t.done) {
        MSG msg;
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        switch (msg.message) {
            case WM_LBUTTONDOWN: OnStylusDown(t, msg.pt); break;
            case WM_MOUSEMOVE: OnStylusMove(t, msg.pt); break;
            case WM_LBUTTONUP: OnStylusUp(t, msg.pt); break;
            case WM_KEYDOWN: OnKey(t, static_cast<UINT>(msg.wParam)); break;
            case WM_KEYUP:
            case WM_CHAR:
                break;  // keys belong to the menu while it is open
            default:
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
        }
        if (!IsWindow(owner)) t.done = true, t.chosen = 0;
    }
    bool ownCapture = GetCapture() == t.levels[0].window;
    CloseLevelsAbove(t, 0);
    if (ownCapture) ReleaseCapture();
    active = nullptr;
    if (quit) PostQuitMessage(static_cast<int>(quitCode));  // for the loop that owns the thread
    Trace(hmenu, t.chosen);
    chosen = t.chosen;
    return true;
}

}  // namespace

MenuTracker *ActiveTracker() { return active; }

void CancelMenuTracking() {
    if (!active) return;
    active->done = true;
    active->chosen = 0;
    // Wakes the menu's loop if it is waiting for input.
    if (!active->levels.empty()) PostMessageW(active->levels[0].window, WM_NULL, 0, 0);
}

PopupLevel *LevelOfWindow(HWND hwnd) {
    if (!active || !hwnd) return nullptr;
    for (PopupLevel &level : active->levels)
        if (level.window == hwnd) return &level;
    return nullptr;
}

}  // namespace wince

using namespace wince;

BOOL WINAPI TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hwnd, LPTPMPARAMS) {
    UINT chosen = 0;
    if (!Track(hMenu, uFlags, x, y, hwnd, chosen)) return FALSE;
    if (uFlags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen) PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return TRUE;
}

BOOL WINAPI TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT *) {
    return TrackPopupMenuEx(hMenu, uFlags, x, y, hWnd, nullptr);
}
