// The rectangle helpers of the window manager's API.
#include <windows.h>

#include <algorithm>

namespace {

bool Empty(const RECT &r) { return r.left >= r.right || r.top >= r.bottom; }

}  // namespace

BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
    if (!lprc) return FALSE;
    *lprc = RECT{xLeft, yTop, xRight, yBottom};
    return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT lprc) {
    if (!lprc) return FALSE;
    *lprc = RECT{0, 0, 0, 0};
    return TRUE;
}

BOOL WINAPI CopyRect(LPRECT lprcDst, const RECT *lprcSrc) {
    if (!lprcDst || !lprcSrc) return FALSE;
    *lprcDst = *lprcSrc;
    return TRUE;
}

BOOL WINAPI InflateRect(LPRECT lprc, int dx, int dy) {
    if (!lprc) return FALSE;
    lprc->left -= dx, lprc->right += dx, lprc->top -= dy, lprc->bottom += dy;
    return TRUE;
}

BOOL WINAPI OffsetRect(LPRECT lprc, int dx, int dy) {
    if (!lprc) return FALSE;
    lprc->left += dx, lprc->right += dx, lprc->top += dy, lprc->bottom += dy;
    return TRUE;
}

BOOL WINAPI IntersectRect(LPRECT lprcDst, const RECT *a, const RECT *b) {
    if (!lprcDst || !a || !b) return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (Empty(r)) {
        *lprcDst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *lprcDst = r;
    return TRUE;
}

BOOL WINAPI UnionRect(LPRECT lprcDst, const RECT *a, const RECT *b) {
    if (!lprcDst || !a || !b) return FALSE;
    bool ea = Empty(*a), eb = Empty(*b);
    if (ea && eb) {
        *lprcDst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    if (ea) *lprcDst = *b;
    else if (eb) *lprcDst = *a;
    else
        *lprcDst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                        std::max(a->bottom, b->bottom)};
    return TRUE;
}

// What is left of a when b is taken away, if that is still a rectangle:
// b must cover a whole side of a.
BOOL WINAPI SubtractRect(LPRECT lprcDst, const RECT *a, const RECT *b) {
    if (!lprcDst || !a || !b) return FALSE;
    RECT r = *a;
    if (Empty(r)) {
        *lprcDst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    RECT i;
    if (IntersectRect(&i, a, b)) {
        if (i.left == r.left && i.right == r.right) {
            if (i.top == r.top) r.top = i.bottom;
            else if (i.bottom == r.bottom) r.bottom = i.top;
        } else if (i.top == r.top && i.bottom == r.bottom) {
            if (i.left == r.left) r.left = i.right;
            else if (i.right == r.right) r.right = i.left;
        }
    }
    if (Empty(r)) {
        *lprcDst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *lprcDst = r;
    return TRUE;
}

BOOL WINAPI IsRectEmpty(const RECT *lprc) { return !lprc || Empty(*lprc); }

BOOL WINAPI EqualRect(const RECT *a, const RECT *b) {
    if (!a || !b) return FALSE;
    return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL WINAPI PtInRect(const RECT *lprc, POINT pt) {
    if (!lprc) return FALSE;
    return pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}
