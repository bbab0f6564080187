// Window rectangles, coordinates, position, size, z-order and visibility.
#include <algorithm>

#include "focus.h"
#include "paint.h"
#include "window.h"

namespace wince {

RECT ClientRectInWindow(const Window &w) {
    RECT r{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
    int border = (w.style & (WS_BORDER | WS_DLGFRAME)) || (w.exStyle & WS_EX_DLGMODALFRAME) ? 1 : 0;
    if (w.exStyle & WS_EX_CLIENTEDGE) border += 2;
    r.left += border, r.top += border, r.right -= border, r.bottom -= border;
    if ((w.style & WS_CAPTION) == WS_CAPTION) r.top += GetSystemMetrics(SM_CYCAPTION);
    if (w.style & WS_VSCROLL) r.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (w.style & WS_HSCROLL) r.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

RECT WindowRectOnScreen(const Window &w) {
    RECT r = w.rect;
    if (w.parent) {
        POINT o = ClientOriginOnScreen(*w.parent);
        OffsetRect(&r, o.x, o.y);
    }
    return r;
}

POINT ClientOriginOnScreen(const Window &w) {
    RECT r = WindowRectOnScreen(w);
    RECT c = ClientRectInWindow(w);
    return POINT{r.left + c.left, r.top + c.top};
}

RECT WindowRectInTopLevel(const Window &w) {
    const Window *top = &w;
    while (top->parent) top = top->parent;
    RECT r = WindowRectOnScreen(w);
    OffsetRect(&r, -top->rect.left, -top->rect.top);
    return r;
}

}  // namespace wince

using namespace wince;

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    Window *w = CheckHandle(hWnd);
    if (!w || !lpRect) return FALSE;
    *lpRect = WindowRectOnScreen(*w);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    Window *w = CheckHandle(hWnd);
    if (!w || !lpRect) return FALSE;
    RECT c = ClientRectInWindow(*w);
    *lpRect = RECT{0, 0, c.right - c.left, c.bottom - c.top};
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    Window *w = CheckHandle(hWnd);
    if (!w || !lpPoint) return FALSE;
    POINT o = ClientOriginOnScreen(*w);
    lpPoint->x += o.x, lpPoint->y += o.y;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    Window *w = CheckHandle(hWnd);
    if (!w || !lpPoint) return FALSE;
    POINT o = ClientOriginOnScreen(*w);
    lpPoint->x -= o.x, lpPoint->y -= o.y;
    return TRUE;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
    POINT from{0, 0}, to{0, 0};
    if (hWndFrom) {
        Window *w = CheckHandle(hWndFrom);
        if (!w) return 0;
        from = ClientOriginOnScreen(*w);
    }
    if (hWndTo) {
        Window *w = CheckHandle(hWndTo);
        if (!w) return 0;
        to = ClientOriginOnScreen(*w);
    }
    int dx = from.x - to.x, dy = from.y - to.y;
    for (UINT i = 0; lpPoints && i < cPoints; ++i) lpPoints[i].x += dx, lpPoints[i].y += dy;
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    Window *w = CheckHandle(hWnd);
    if (!w) return FALSE;
    WINDOWPOS pos{hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags};
    if (uFlags & SWP_NOMOVE) pos.x = w->rect.left, pos.y = w->rect.top;
    if (uFlags & SWP_NOSIZE) pos.cx = w->rect.right - w->rect.left, pos.cy = w->rect.bottom - w->rect.top;
    SendMessageW(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!(w = FromHandle(hWnd))) return FALSE;
    pos.cx = std::max(pos.cx, 0);
    pos.cy = std::max(pos.cy, 0);
    RECT old = w->rect;
    RECT now{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    bool moved = now.left != old.left || now.top != old.top;
    bool sized = (now.right - now.left) != (old.right - old.left) || (now.bottom - now.top) != (old.bottom - old.top);
    bool wasVisible = IsReallyVisible(w);
    if (wasVisible && (moved || sized) && !(uFlags & SWP_NOREDRAW)) InvalidateBeneath(w);
    w->rect = now;
    if (!(uFlags & SWP_NOZORDER)) RestackWindow(w, pos.hwndInsertAfter);
    if (uFlags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (uFlags & SWP_HIDEWINDOW) {
        if (wasVisible) InvalidateBeneath(w);
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    }
    if (sized && !w->parent) {
        w->surface = Surface::Create(std::max(pos.cx, 1), std::max(pos.cy, 1));
        InvalidateRect(hWnd, nullptr, TRUE);
        InvalidateNonClient(w);
    } else if ((sized || moved || (uFlags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED))) && !(uFlags & SWP_NOREDRAW) &&
               (w->parent || sized || (uFlags & SWP_SHOWWINDOW))) {
        InvalidateRect(hWnd, nullptr, TRUE);
        InvalidateNonClient(w);
    }
    MarkScreenDirty();
    if (moved) pos.flags &= ~static_cast<UINT>(SWP_NOMOVE);
    else pos.flags |= SWP_NOMOVE;
    if (sized) pos.flags &= ~static_cast<UINT>(SWP_NOSIZE);
    else pos.flags |= SWP_NOSIZE;
    SendMessageW(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI BringWindowToTop(HWND hWnd) {
    return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    Window *w = CheckHandle(hWnd);
    if (!w) return FALSE;
    BOOL wasVisible = w->Visible() ? TRUE : FALSE;
    bool show = nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE;
    // A window that a tap never activates is not activated by showing it either.
    bool activate = !w->parent && nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE &&
                    !(w->exStyle & WS_EX_NOACTIVATE);
    if (show == static_cast<bool>(wasVisible)) {
        if (show && activate) ActivateWindow(w);
        return wasVisible;
    }
    SendMessageW(hWnd, WM_SHOWWINDOW, show, 0);
    if (!(w = FromHandle(hWnd))) return wasVisible;
    if (show) {
        w->style |= WS_VISIBLE;
        InvalidateRect(hWnd, nullptr, TRUE);
        InvalidateNonClient(w);
        if (activate) ActivateWindow(w);
    } else {
        InvalidateBeneath(w);
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
        HideFocusWithin(w);
    }
    MarkScreenDirty();
    if (!w->parent) RunActivationHook();
    return wasVisible;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    Window *w = CheckHandle(hWnd);
    if (!w) return FALSE;
    BOOL wasDisabled = w->Enabled() ? FALSE : TRUE;
    if (static_cast<bool>(bEnable) == !wasDisabled) return wasDisabled;
    if (bEnable) {
        w->style &= ~static_cast<DWORD>(WS_DISABLED);
    } else {
        w->style |= WS_DISABLED;
        HideFocusWithin(w);
        if (GetCapture() == hWnd) ReleaseCapture();
    }
    SendMessageW(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return wasDisabled;
}

namespace {

Window *DeepestChildAt(Window *w, POINT screen) {
    for (Window *child : w->children) {
        if (!child->Visible()) continue;
        RECT r = WindowRectOnScreen(*child);
        if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom) {
            RECT c = ClientRectInWindow(*child);
            OffsetRect(&c, r.left, r.top);
            bool inClient = screen.x >= c.left && screen.x < c.right && screen.y >= c.top && screen.y < c.bottom;
            return inClient ? DeepestChildAt(child, screen) : child;
        }
    }
    return w;
}

}  // namespace

namespace wince {

Window *WindowAtScreenPoint(POINT screen) {
    for (Window *top : TopLevelWindows()) {
        if (!top->Visible()) continue;
        RECT r = top->rect;
        if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom) {
            RECT c = ClientRectInWindow(*top);
            OffsetRect(&c, r.left, r.top);
            bool inClient = screen.x >= c.left && screen.x < c.right && screen.y >= c.top && screen.y < c.bottom;
            return inClient ? DeepestChildAt(top, screen) : top;
        }
    }
    return nullptr;
}

}  // namespace wince

HWND WINAPI WindowFromPoint(POINT Point) {
    Window *w = WindowAtScreenPoint(Point);
    return w ? w->handle : nullptr;
}

HWND WINAPI ChildWindowFromPoint(HWND hWndParent, POINT Point) {
    Window *p = CheckHandle(hWndParent);
    if (!p) return nullptr;
    RECT c;
    GetClientRect(hWndParent, &c);
    if (!PtInRect(&c, Point)) return nullptr;
    for (Window *child : p->children) {
        if (PtInRect(&child->rect, Point)) return child->handle;
    }
    return hWndParent;
}
