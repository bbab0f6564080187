// Window text, window longs and calling window procedures.
#include <cstring>

#include "paint.h"
#include "window.h"

using namespace wince;

namespace {

// Extra bytes at a byte offset; false when the range lies outside them.
template <typename T>
bool ExtraAt(Window *w, int offset, T **slot) {
    if (offset < 0 || static_cast<size_t>(offset) + sizeof(T) > w->extra.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
    }
    *slot = reinterpret_cast<T *>(w->extra.data() + offset);
    return true;
}

LONG_PTR GetLong(Window *w, int index, bool pointerSized) {
    switch (index) {
        case GWL_STYLE:
            return static_cast<LONG>(w->style);
        case GWL_EXSTYLE:
            return static_cast<LONG>(w->exStyle);
        case GWL_WNDPROC:
            return reinterpret_cast<LONG_PTR>(w->proc);
        case GWL_USERDATA:
            return w->userData;
        case GWL_ID:
            return static_cast<LONG_PTR>(w->id);
        case GWL_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(w->instance);
        case GWL_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(w->parent ? w->parent->handle : w->owner ? w->owner->handle : nullptr);
    }
    if (pointerSized) {
        LONG_PTR *slot;
        LONG_PTR value = 0;
        if (ExtraAt(w, index, &slot)) memcpy(&value, slot, sizeof value);
        return value;
    }
    LONG *slot;
    LONG value = 0;
    if (ExtraAt(w, index, &slot)) memcpy(&value, slot, sizeof value);
    return value;
}

LONG_PTR SetLong(Window *w, int index, LONG_PTR value, bool pointerSized) {
    LONG_PTR old = GetLong(w, index, pointerSized);
    switch (index) {
        case GWL_STYLE: {
            DWORD before = w->style;
            w->style = static_cast<DWORD>(value);
            // Visibility and scroll bars change what is on screen.
            if ((before ^ w->style) & (WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_CAPTION)) {
                InvalidateBeneath(w);
                InvalidateRect(w->handle, nullptr, TRUE);
            }
            return old;
        }
        case GWL_EXSTYLE:
            w->exStyle = static_cast<DWORD>(value);
            return old;
        case GWL_WNDPROC:
            w->proc = reinterpret_cast<WNDPROC>(value);
            return old;
        case GWL_USERDATA:
            w->userData = value;
            return old;
        case GWL_ID:
            w->id = static_cast<UINT_PTR>(value);
            return old;
        case GWL_HINSTANCE:
            w->instance = reinterpret_cast<HINSTANCE>(value);
            return old;
    }
    if (pointerSized) {
        LONG_PTR *slot;
        if (ExtraAt(w, index, &slot)) memcpy(slot, &value, sizeof value);
    } else {
        LONG *slot;
        LONG v = static_cast<LONG>(value);
        if (ExtraAt(w, index, &slot)) memcpy(slot, &v, sizeof v);
    }
    return old;
}

}  // namespace

LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex) {
    Window *w = CheckHandle(hWnd);
    return w ? static_cast<LONG>(GetLong(w, nIndex, false)) : 0;
}

LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong) {
    Window *w = CheckHandle(hWnd);
    return w ? static_cast<LONG>(SetLong(w, nIndex, dwNewLong, false)) : 0;
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
    Window *w = CheckHandle(hWnd);
    return w ? GetLong(w, nIndex, true) : 0;
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    Window *w = CheckHandle(hWnd);
    return w ? SetLong(w, nIndex, dwNewLong, true) : 0;
}

LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!lpPrevWndFunc) return 0;
    return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
    if (!CheckHandle(hWnd)) return FALSE;
    return static_cast<BOOL>(SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
    if (!lpString || nMaxCount <= 0) return 0;
    lpString[0] = 0;
    if (!CheckHandle(hWnd)) return 0;
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXT, nMaxCount, reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthW(HWND hWnd) {
    if (!CheckHandle(hWnd)) return 0;
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}
