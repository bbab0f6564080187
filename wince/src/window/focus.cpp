#include "focus.h"

#include <algorithm>

#include "paint.h"

namespace wince {
namespace {

HWND focus = nullptr;
HWND capture = nullptr;
HWND active = nullptr;
void (*activationHook)() = nullptr;

bool IsWithin(HWND inner, const Window *outer) {
    for (Window *w = FromHandle(inner); w; w = w->parent)
        if (w == outer) return true;
    return false;
}

}  // namespace

void RestackWindow(Window *w, HWND insertAfter) {
    auto &list = w->parent ? w->parent->children : TopLevelWindows();
    auto it = std::find(list.begin(), list.end(), w);
    if (it == list.end()) return;
    list.erase(it);
    if (insertAfter == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
    if (insertAfter == HWND_NOTOPMOST) w->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
    auto pos = list.end();
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        pos = list.begin();
        // Below the topmost band unless topmost itself.
        if (!w->parent && !(w->exStyle & WS_EX_TOPMOST))
            while (pos != list.end() && ((*pos)->exStyle & WS_EX_TOPMOST)) ++pos;
    } else if (insertAfter != HWND_BOTTOM) {
        Window *after = FromHandle(insertAfter);
        auto a = std::find(list.begin(), list.end(), after);
        pos = a == list.end() ? list.begin() : a + 1;
    }
    list.insert(pos, w);
    InvalidateRect(w->handle, nullptr, TRUE);
    MarkScreenDirty();
}

void SetActivationHook(void (*hook)()) { activationHook = hook; }

void RunActivationHook() {
    if (activationHook) activationHook();
}

void ActivateWindow(Window *w) {
    if (!w || w->parent) return;
    RestackWindow(w, HWND_TOP);
    SetActiveWindow(w->handle);
}

void HideFocusWithin(Window *w) {
    if (focus && IsWithin(focus, w)) SetFocus(nullptr);
    if (!w->parent && active == w->handle) {
        // The next visible top-level window becomes active.
        for (Window *other : TopLevelWindows()) {
            if (other != w && other->Visible() && other->Enabled() && !(other->exStyle & WS_EX_NOACTIVATE)) {
                SetActiveWindow(other->handle);
                return;
            }
        }
        active = nullptr;
    }
}

void ForgetWindowFocus(Window *w) {
    if (focus == w->handle) focus = nullptr;
    if (capture == w->handle) capture = nullptr;
    if (active == w->handle) {
        active = nullptr;
        for (Window *other : TopLevelWindows()) {
            if (other != w && !other->destroying && other->Visible() && other->Enabled() &&
                !(other->exStyle & WS_EX_NOACTIVATE)) {
                SetActiveWindow(other->handle);
                break;
            }
        }
    }
}

}  // namespace wince

using namespace wince;

HWND WINAPI SetFocus(HWND hWnd) {
    Window *w = nullptr;
    if (hWnd && !(w = CheckHandle(hWnd))) return nullptr;
    HWND old = focus;
    if (hWnd == old) return old;
    if (w) {
        Window *top = TopLevelOf(w);
        if (top->handle != active) {
            SetActiveWindow(top->handle);
            // Activation may have moved the focus already (a dialog restores its own).
            old = focus;
            if (hWnd == old) return old;
        }
        if (!FromHandle(hWnd)) return nullptr;
    }
    focus = hWnd;
    if (old && FromHandle(old)) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd && focus == hWnd && FromHandle(hWnd)) SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND WINAPI GetFocus(void) { return FromHandle(focus) ? focus : nullptr; }

HWND WINAPI SetActiveWindow(HWND hWnd) {
    Window *w = hWnd ? CheckHandle(hWnd) : nullptr;
    if (hWnd && !w) return nullptr;
    if (w) w = TopLevelOf(w);
    HWND old = active;
    HWND now = w ? w->handle : nullptr;
    if (old == now) return old;
    active = now;
    if (old && FromHandle(old)) SendMessageW(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(now));
    if (now && FromHandle(now)) {
        SendMessageW(now, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(old));
    }
    if (activationHook) activationHook();
    return old;
}

HWND WINAPI GetActiveWindow(void) { return FromHandle(active) ? active : nullptr; }

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
    if (hWnd && !FromHandle(hWnd) && ForegroundInOtherProcess(hWnd)) return TRUE;
    Window *w = CheckHandle(hWnd);
    if (!w) return FALSE;
    ActivateWindow(TopLevelOf(w));
    return TRUE;
}

HWND WINAPI GetForegroundWindow(void) { return GetActiveWindow(); }

HWND WINAPI SetCapture(HWND hWnd) {
    HWND old = capture;
    if (hWnd && !CheckHandle(hWnd)) return nullptr;
    capture = hWnd;
    if (old && old != hWnd && FromHandle(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return old;
}

HWND WINAPI GetCapture(void) { return FromHandle(capture) ? capture : nullptr; }

BOOL WINAPI ReleaseCapture(void) {
    HWND old = capture;
    capture = nullptr;
    if (old && FromHandle(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}
