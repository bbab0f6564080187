#include "paint.h"

#include <algorithm>
#include <functional>

#include "core/unicode.h"

namespace wince {
namespace {

bool screenDirty = true;
std::vector<Window *> paintStack;  // windows inside BeginPaint, innermost last

RECT ClientRectInTopLevel(const Window &w) {
    RECT r = WindowRectInTopLevel(w);
    RECT c = ClientRectInWindow(w);
    OffsetRect(&c, r.left, r.top);
    return c;
}

POINT ClientOriginInTopLevel(const Window &w) {
    RECT c = ClientRectInTopLevel(w);
    return POINT{c.left, c.top};
}

void ForEachWindow(Window *w, const std::function<void(Window *)> &fn) {
    fn(w);
    std::vector<Window *> children = w->children;
    for (Window *c : children) ForEachWindow(c, fn);
}

// Text drawn anywhere during a paint belongs to the window being painted
// (a memory DC of a double-buffered paint is taken to hold the client area);
// text drawn into a window's own DC belongs to that window.
void OnTextDrawn(HDC, HWND window, const std::u16string &text, const RECT &rect) {
    Window *w = FromHandle(window);
    if (!w && !paintStack.empty()) w = paintStack.back();
    if (!w) return;
    RECT r = rect;
    RECT c = ClientRectInWindow(*w);
    OffsetRect(&r, c.left, c.top);
    (w->paintDepth > 0 ? w->drawingText : w->drawnText).push_back(DrawnText{text, r});
}

HDC MakeWindowDC(Window *w, bool clientOnly, const Region *limit) {
    Window *top = TopLevelOf(w);
    Region clip = VisibleRegion(w, clientOnly);
    POINT origin;
    if (clientOnly) {
        origin = ClientOriginInTopLevel(*w);
    } else {
        RECT r = WindowRectInTopLevel(*w);
        origin = POINT{r.left, r.top};
    }
    if (limit) {
        Region l = *limit;
        l.Offset(origin.x, origin.y);
        clip.Intersect(l);
    }
    // Set again each time: a test of the text hook may have put its own in.
    SetTextDrawnHook(&OnTextDrawn);
    screenDirty = true;
    return CreateSurfaceDC(top->surface, origin, clip, w->handle);
}

}  // namespace

Region VisibleRegion(const Window *w, bool clientOnly) {
    if (!IsReallyVisible(w)) return Region();
    Region rgn(clientOnly ? ClientRectInTopLevel(*w) : WindowRectInTopLevel(*w));
    for (const Window *c = w; c->parent; c = c->parent) {
        rgn.Intersect(ClientRectInTopLevel(*c->parent));
        for (const Window *s : c->parent->children) {
            if (s == c) break;
            if (s->Visible()) rgn.Subtract(WindowRectInTopLevel(*s));
        }
    }
    for (const Window *child : w->children)
        if (child->Visible()) rgn.Subtract(WindowRectInTopLevel(*child));
    return rgn;
}

void MarkScreenDirty() { screenDirty = true; }

bool ScreenDirty() { return screenDirty; }

void ComposeScreen() {
    auto screen = ScreenSurface();
    if (!screen) return;  // the screen could not be made: nothing to compose into
    screen->Fill(RECT{0, 0, screen->Width(), screen->Height()}, GetSysColor(COLOR_BACKGROUND));
    auto &tops = TopLevelWindows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        Window *w = *it;
        if (!w->Visible() || !w->surface) continue;
        screen->Copy(w->rect.left, w->rect.top, *w->surface, RECT{0, 0, w->surface->Width(), w->surface->Height()});
    }
    screenDirty = false;
}

bool TakePaintMessage(HWND filter, MSG *msg) {
    Window *found = nullptr;
    std::function<bool(Window *)> search = [&](Window *w) {
        if (!w->Visible()) return false;
        if (w->nonClientDirty) DrawNonClient(w);
        if (!w->update.IsEmpty() && (!filter || w->handle == filter || IsChild(filter, w->handle))) {
            found = w;
            return true;
        }
        for (Window *c : w->children)
            if (search(c)) return true;
        return false;
    };
    std::vector<Window *> tops = TopLevelWindows();
    for (Window *top : tops)
        if (search(top)) break;
    if (!found) return false;
    *msg = MSG{found->handle, WM_PAINT, 0, 0, GetTickCount(), {}};
    return true;
}

void InvalidateBeneath(Window *w) {
    RECT area = WindowRectOnScreen(*w);
    std::vector<Window *> below;
    auto &siblings = w->parent ? w->parent->children : TopLevelWindows();
    auto it = std::find(siblings.begin(), siblings.end(), w);
    if (it != siblings.end())
        for (++it; it != siblings.end(); ++it) below.push_back(*it);
    if (w->parent) {
        RECT pc = ClientRectInWindow(*w->parent);
        RECT pr = WindowRectOnScreen(*w->parent);
        OffsetRect(&pc, pr.left, pr.top);
        RECT r = RectIntersection(area, pc);
        OffsetRect(&r, -pc.left, -pc.top);
        InvalidateRect(w->parent->handle, &r, TRUE);
    }
    for (Window *b : below) {
        ForEachWindow(b, [&](Window *x) {
            POINT o = ClientOriginOnScreen(*x);
            RECT r = area;
            OffsetRect(&r, -o.x, -o.y);
            InvalidateRect(x->handle, &r, TRUE);
            RECT wr = WindowRectOnScreen(*x);
            if (!RectIsEmpty(RectIntersection(wr, area))) x->nonClientDirty = true;
        });
    }
    screenDirty = true;
}

void InvalidateNonClient(Window *w) {
    RECT c = ClientRectInWindow(*w);
    RECT r{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    if (!EqualRect(&c, &r)) w->nonClientDirty = true;
}

}  // namespace wince

using namespace wince;

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT *lpRect, BOOL bErase) {
    if (!hWnd) {
        for (Window *w : AllWindows()) InvalidateRect(w->handle, nullptr, bErase);
        return TRUE;
    }
    Window *w = CheckHandle(hWnd);
    if (!w) return FALSE;
    RECT client;
    GetClientRect(hWnd, &client);
    RECT r = lpRect ? RectIntersection(*lpRect, client) : client;
    if (RectIsEmpty(r)) return TRUE;
    w->update.Union(r);
    if (bErase) w->erase = true;
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT *lpRect) {
    Window *w = CheckHandle(hWnd);
    if (!w) return FALSE;
    if (lpRect) w->update.Subtract(*lpRect);
    else w->update.Clear();
    if (w->update.IsEmpty()) w->erase = false;
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL) {
    Window *w = CheckHandle(hWnd);
    if (!w) return FALSE;
    if (lpRect) *lpRect = w->update.Bounds();
    return !w->update.IsEmpty();
}

BOOL WINAPI RedrawWindow(HWND hWnd, const RECT *lprcUpdate, HRGN, UINT flags) {
    Window *w = hWnd ? CheckHandle(hWnd) : nullptr;
    if (hWnd && !w) return FALSE;
    std::vector<Window *> targets;
    if (w) {
        if (flags & RDW_ALLCHILDREN) ForEachWindow(w, [&](Window *x) { targets.push_back(x); });
        else targets.push_back(w);
    } else {
        targets = AllWindows();
    }
    for (Window *t : targets) {
        const RECT *r = t == w ? lprcUpdate : nullptr;
        if (flags & RDW_INVALIDATE) InvalidateRect(t->handle, r, (flags & RDW_ERASE) != 0);
        if (flags & RDW_VALIDATE) ValidateRect(t->handle, r);
    }
    if (flags & RDW_UPDATENOW)
        for (Window *t : targets)
            if (FromHandle(t->handle)) UpdateWindow(t->handle);
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    Window *w = CheckHandle(hWnd);
    if (!w) return FALSE;
    if (w->nonClientDirty && IsReallyVisible(w)) DrawNonClient(w);
    if (!w->update.IsEmpty() && IsReallyVisible(w)) SendMessageW(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    Window *w = CheckHandle(hWnd);
    if (!w || !lpPaint) return nullptr;
    Region update = w->update;
    bool erase = w->erase;
    w->update.Clear();
    w->erase = false;
    HDC hdc = MakeWindowDC(w, true, &update);
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = hdc;
    lpPaint->rcPaint = update.Bounds();
    if (w->paintDepth++ == 0) w->drawingText.clear();
    paintStack.push_back(w);
    lpPaint->fErase = erase ? (SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) == 0) : FALSE;
    return hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT *lpPaint) {
    if (lpPaint) DestroySurfaceDC(lpPaint->hdc);
    auto it = std::find_if(paintStack.rbegin(), paintStack.rend(), [&](Window *w) { return w->handle == hWnd; });
    if (it != paintStack.rend()) paintStack.erase(std::next(it).base());
    Window *w = FromHandle(hWnd);
    if (w && w->paintDepth > 0 && --w->paintDepth == 0) w->drawnText.swap(w->drawingText);
    return TRUE;
}

HDC WINAPI GetDC(HWND hWnd) {
    if (!hWnd) {
        auto screen = ScreenSurface();
        if (!screen) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        return CreateSurfaceDC(screen, POINT{0, 0}, Region(RECT{0, 0, screen->Width(), screen->Height()}), nullptr);
    }
    Window *w = CheckHandle(hWnd);
    return w ? MakeWindowDC(w, true, nullptr) : nullptr;
}

HDC WINAPI GetWindowDC(HWND hWnd) {
    if (!hWnd) return GetDC(nullptr);
    Window *w = CheckHandle(hWnd);
    return w ? MakeWindowDC(w, false, nullptr) : nullptr;
}

int WINAPI ReleaseDC(HWND, HDC hDC) { return DestroySurfaceDC(hDC) ? 1 : 0; }

HWND WINAPI WindowFromDC(HDC hDC) { return WindowOfDC(hDC); }
