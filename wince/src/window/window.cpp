// Window objects: the handle table, creation and destruction, the tree.
#include "window.h"

#include <algorithm>
#include <unordered_map>

#include "clock.h"
#include "core/debug.h"
#include "core/unicode.h"
#include "focus.h"
#include "ipc/desktop_channel.h"
#include "message_queue.h"
#include "paint.h"
#include "shell/change_notify.h"
#include "timers.h"
#include "window_class.h"

namespace wince {
namespace {

struct WindowTable {
    std::unordered_map<HWND, std::unique_ptr<Window>> live;
    std::vector<std::unique_ptr<Window>> graveyard;  // freed once no window procedure runs
    std::vector<Window *> topLevels;
    uintptr_t next = 0x10010;
};

WindowTable &Table() {
    static auto *table = new WindowTable;
    return *table;
}

int procedureDepth = 0;

void ReleaseGraveyard() {
    if (procedureDepth == 0) Table().graveyard.clear();
}

std::vector<Window *> &SiblingsOf(Window *w) { return w->parent ? w->parent->children : Table().topLevels; }

// New children go to the bottom of their siblings (creation order is the tab
// order); new top-level windows to the top, below any topmost ones unless
// they are topmost themselves.
void InsertInZOrder(Window *w) {
    auto &list = SiblingsOf(w);
    if (w->parent) {
        list.push_back(w);
        return;
    }
    auto it = list.begin();
    if (!(w->exStyle & WS_EX_TOPMOST))
        while (it != list.end() && ((*it)->exStyle & WS_EX_TOPMOST)) ++it;
    list.insert(it, w);
}

void RemoveFromZOrder(Window *w) {
    auto &list = SiblingsOf(w);
    list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

void DestroyTree(Window *w) {
    w->destroying = true;
    CallProc(w, WM_DESTROY, 0, 0);
    // Children may have been destroyed by the WM_DESTROY handler already.
    while (!w->children.empty()) DestroyTree(w->children.front());
    KillWindowTimers(w->handle);
    ForgetWindowFocus(w);
    RemovePostedMessages(w->handle);
    ForgetChangeNotifications(w->handle);
    RemoveFromZOrder(w);
    if (w->cls) w->cls->windows--;
    WindowTable &t = Table();
    auto it = t.live.find(w->handle);
    if (it != t.live.end()) {
        t.graveyard.push_back(std::move(it->second));
        t.live.erase(it);
    }
}

}  // namespace

Window *FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto &live = Table().live;
    auto it = live.find(hwnd);
    return it == live.end() ? nullptr : it->second.get();
}

Window *CheckHandle(HWND hwnd) {
    Window *w = FromHandle(hwnd);
    if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

Window *TopLevelOf(Window *w) {
    while (w && w->parent) w = w->parent;
    return w;
}

std::vector<Window *> &TopLevelWindows() { return Table().topLevels; }

std::vector<Window *> AllWindows() {
    std::vector<Window *> all;
    for (auto &[h, w] : Table().live) all.push_back(w.get());
    return all;
}

bool IsReallyVisible(const Window *w) {
    for (; w; w = w->parent)
        if (!w->Visible()) return false;
    return true;
}

LRESULT CallProc(Window *w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!w || !w->proc) return 0;
    HWND hwnd = w->handle;
    WNDPROC proc = w->proc;
    ++procedureDepth;
    LRESULT r = proc(hwnd, msg, wParam, lParam);
    --procedureDepth;
    ReleaseGraveyard();
    return r;
}

}  // namespace wince

using namespace wince;

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
    auto cls = FindClass(lpClassName);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    Window *parent = nullptr, *owner = nullptr;
    if (hWndParent && !(parent = CheckHandle(hWndParent))) return nullptr;
    if (dwStyle & WS_CHILD) {
        if (!parent) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
    } else {
        owner = TopLevelOf(parent);
        parent = nullptr;
    }
    if (X == CW_USEDEFAULT) X = 0, Y = 0;
    if (nWidth == CW_USEDEFAULT) {
        nWidth = GetSystemMetrics(SM_CXSCREEN);
        nHeight = GetSystemMetrics(SM_CYSCREEN);
    }
    auto window = std::make_unique<Window>();
    Window *w = window.get();
    WindowTable &t = Table();
    w->handle = reinterpret_cast<HWND>(t.next);
    t.next += 4;
    w->cls = cls;
    w->parent = parent;
    w->owner = owner;
    w->style = dwStyle & ~static_cast<DWORD>(WS_VISIBLE);  // shown after WM_CREATE, as Win32 does
    w->exStyle = dwExStyle;
    w->rect = RECT{X, Y, X + std::max(nWidth, 0), Y + std::max(nHeight, 0)};
    if (lpWindowName && !IS_INTRESOURCE(lpWindowName)) w->text = lpWindowName;
    w->proc = cls->proc;
    w->instance = hInstance;
    w->id = (dwStyle & WS_CHILD) ? reinterpret_cast<UINT_PTR>(hMenu) : 0;
    w->extra.assign(cls->windowExtra, 0);
    cls->windows++;
    t.live.emplace(w->handle, std::move(window));
    InsertInZOrder(w);
    if (!w->parent) w->surface = Surface::Create(std::max(nWidth, 1), std::max(nHeight, 1));
    WINCE_DEBUG("window", "create %p class %s", (void *)w->handle, wince::ToUtf8(cls->name).c_str());

    CREATESTRUCTW cs{lpParam,     hInstance, hMenu,   hWndParent, nHeight,    nWidth,
                     Y,           X,         static_cast<LONG>(dwStyle), lpWindowName, lpClassName, dwExStyle};
    HWND hwnd = w->handle;
    if (CallProc(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (FromHandle(hwnd)) DestroyWindow(hwnd);
        SetLastError(ERROR_CANNOT_MAKE);
        return nullptr;
    }
    if (!(w = FromHandle(hwnd))) return nullptr;  // destroyed itself while being created
    RECT client = ClientRectInWindow(*w);
    CallProc(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right - client.left, client.bottom - client.top));
    if (!(w = FromHandle(hwnd))) return nullptr;
    CallProc(w, WM_MOVE, 0, MAKELPARAM(w->rect.left, w->rect.top));
    if (!(w = FromHandle(hwnd))) return nullptr;
    w->created = true;
    if (dwStyle & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    Window *w = CheckHandle(hWnd);
    if (!w) return FALSE;
    if (w->destroying) return TRUE;
    // Owned windows go first, as on the device.
    if (!w->parent) {
        std::vector<HWND> owned;
        for (Window *other : TopLevelWindows())
            if (other->owner == w) owned.push_back(other->handle);
        for (HWND h : owned) DestroyWindow(h);
    }
    if (w->Visible()) InvalidateBeneath(w);
    DestroyTree(w);
    MarkScreenDirty();
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) { return FromHandle(hWnd) != nullptr; }

BOOL WINAPI IsWindowVisible(HWND hWnd) { return IsReallyVisible(FromHandle(hWnd)); }

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    Window *w = FromHandle(hWnd);
    return w && w->Enabled();
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
    Window *w = FromHandle(hWnd);
    for (; w && w->parent; w = w->parent)
        if (w->parent->handle == hWndParent) return TRUE;
    return FALSE;
}

HWND WINAPI GetParent(HWND hWnd) {
    Window *w = CheckHandle(hWnd);
    if (!w) return nullptr;
    if (w->parent) return w->parent->handle;
    return (w->style & WS_POPUP) && w->owner ? w->owner->handle : nullptr;
}

HWND WINAPI SetParent(HWND hWndChild, HWND hWndNewParent) {
    Window *w = CheckHandle(hWndChild);
    Window *p = hWndNewParent ? CheckHandle(hWndNewParent) : nullptr;
    if (!w || (hWndNewParent && !p)) return nullptr;
    HWND old = w->parent ? w->parent->handle : GetDesktopWindow();
    if (w->Visible()) InvalidateBeneath(w);
    RemoveFromZOrder(w);
    w->parent = p;
    if (p) {
        w->style |= WS_CHILD;
        w->surface.reset();
    } else if (!w->surface) {
        w->surface = Surface::Create(std::max<int>(w->rect.right - w->rect.left, 1),
                                     std::max<int>(w->rect.bottom - w->rect.top, 1));
    }
    InsertInZOrder(w);
    InvalidateRect(hWndChild, nullptr, TRUE);
    return old;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
    Window *w = CheckHandle(hWnd);
    if (!w) return nullptr;
    if (uCmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
    if (uCmd == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
    auto &list = SiblingsOf(w);
    auto it = std::find(list.begin(), list.end(), w);
    switch (uCmd) {
        case GW_HWNDFIRST:
            return list.front()->handle;
        case GW_HWNDLAST:
            return list.back()->handle;
        case GW_HWNDNEXT:
            return (it != list.end() && it + 1 != list.end()) ? (*(it + 1))->handle : nullptr;
        case GW_HWNDPREV:
            return (it != list.begin() && it != list.end()) ? (*(it - 1))->handle : nullptr;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

HWND WINAPI FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
    for (Window *w : TopLevelWindows()) {
        if (lpClassName && !EqualsIgnoreCase(w->cls->name, lpClassName)) continue;
        if (lpWindowName && w->text != lpWindowName) continue;
        return w->handle;
    }
    // Another process of the device plays the shell's desktop: its window is
    // reached through the proxy handle.
    if (lpClassName && EqualsIgnoreCase(u"DesktopExplorerWindow", lpClassName) && !lpWindowName && DesktopListening())
        return kDesktopProxy;
    return nullptr;
}

BOOL WINAPI EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam) {
    if (!lpEnumFunc) return FALSE;
    std::vector<HWND> handles;
    for (Window *w : TopLevelWindows()) handles.push_back(w->handle);
    for (HWND h : handles)
        if (IsWindow(h) && !lpEnumFunc(h, lParam)) break;
    return TRUE;
}

int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
    Window *w = CheckHandle(hWnd);
    if (!w || !lpClassName || nMaxCount <= 0) return 0;
    lstrcpynW(lpClassName, w->cls->name.c_str(), nMaxCount);
    return lstrlenW(lpClassName);
}
