#include "scroll.h"

#include <algorithm>

#include "paint.h"

namespace wince {
namespace {

ScrollState &StateOf(Window &w, int bar) { return bar == SB_HORZ ? w.hscroll : w.vscroll; }
const ScrollState &StateOf(const Window &w, int bar) { return bar == SB_HORZ ? w.hscroll : w.vscroll; }

int MaxPosition(const ScrollState &s) {
    int span = s.page > 0 ? static_cast<int>(s.page) - 1 : 0;
    return std::max(s.min, s.max - span);
}

}  // namespace

bool HasScrollBar(const Window &w, int bar) { return (w.style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0; }

ScrollBarLayout LayoutScrollBar(const Window &w, int bar) {
    ScrollBarLayout l{};
    RECT c = ClientRectInWindow(w);
    bool vertical = bar != SB_HORZ;
    int thickness = GetSystemMetrics(vertical ? SM_CXVSCROLL : SM_CYHSCROLL);
    l.bar = vertical ? RECT{c.right, c.top, c.right + thickness, c.bottom}
                     : RECT{c.left, c.bottom, c.right, c.bottom + thickness};
    int length = vertical ? l.bar.bottom - l.bar.top : l.bar.right - l.bar.left;
    int arrow = std::min(thickness, length / 2);
    l.trackStart = arrow;
    l.trackLength = std::max(0, length - 2 * arrow);
    const ScrollState &s = StateOf(w, bar);
    int range = s.max - s.min + 1;
    if (range <= 0 || l.trackLength == 0) {
        l.thumbLength = 0;
    } else if (s.page == 0) {
        l.thumbLength = std::min(thickness, l.trackLength);
    } else {
        l.thumbLength = std::clamp(static_cast<int>(static_cast<long long>(l.trackLength) * s.page / range),
                                   std::min(thickness / 2, l.trackLength), l.trackLength);
    }
    int travel = l.trackLength - l.thumbLength;
    int positions = MaxPosition(s) - s.min;
    int offset = positions > 0 ? static_cast<int>(static_cast<long long>(travel) * (s.pos - s.min) / positions) : 0;
    auto span = [&](int from, int to) {
        return vertical ? RECT{l.bar.left, l.bar.top + from, l.bar.right, l.bar.top + to}
                        : RECT{l.bar.left + from, l.bar.top, l.bar.left + to, l.bar.bottom};
    };
    l.upArrow = span(0, arrow);
    l.downArrow = span(length - arrow, length);
    l.thumb = span(l.trackStart + offset, l.trackStart + offset + l.thumbLength);
    return l;
}

ScrollPart HitScrollBar(const Window &w, int bar, POINT p) {
    if (!HasScrollBar(w, bar)) return ScrollPart::kNone;
    ScrollBarLayout l = LayoutScrollBar(w, bar);
    if (!PtInRect(&l.bar, p)) return ScrollPart::kNone;
    if (PtInRect(&l.upArrow, p)) return ScrollPart::kLineUp;
    if (PtInRect(&l.downArrow, p)) return ScrollPart::kLineDown;
    if (l.thumbLength > 0 && PtInRect(&l.thumb, p)) return ScrollPart::kThumb;
    int along = bar == SB_HORZ ? p.x : p.y;
    int thumbStart = bar == SB_HORZ ? l.thumb.left : l.thumb.top;
    return along < thumbStart ? ScrollPart::kPageUp : ScrollPart::kPageDown;
}

int ThumbPositionAt(const Window &w, int bar, int trackCoordinate) {
    ScrollBarLayout l = LayoutScrollBar(w, bar);
    const ScrollState &s = StateOf(w, bar);
    int travel = l.trackLength - l.thumbLength;
    if (travel <= 0) return s.min;
    int offset = std::clamp(trackCoordinate - l.trackStart, 0, travel);
    return s.min + static_cast<int>(static_cast<long long>(offset) * (MaxPosition(s) - s.min) + travel / 2) / travel;
}

void DrawScrollBar(HDC hdc, const Window &w, int bar) {
    ScrollBarLayout l = LayoutScrollBar(w, bar);
    HBRUSH track = CreateSolidBrush(GetSysColor(COLOR_SCROLLBAR));
    FillRect(hdc, &l.bar, track);
    DeleteObject(track);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    HBRUSH frame = GetSysColorBrush(COLOR_WINDOWFRAME);
    HBRUSH arrowBrush = GetSysColorBrush(COLOR_BTNTEXT);
    bool vertical = bar != SB_HORZ;
    for (int i = 0; i < 2; ++i) {
        RECT r = i == 0 ? l.upArrow : l.downArrow;
        FillRect(hdc, &r, face);
        FrameRect(hdc, &r, frame);
        // A small filled triangle pointing away from the track.
        int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
        int size = std::max(2, static_cast<int>(std::min(r.right - r.left, r.bottom - r.top) / 4));
        for (int k = 0; k < size; ++k) {
            int lineAt = (i == 0) ? -size / 2 + k : size / 2 - k;
            RECT line = vertical ? RECT{cx - k, cy + lineAt, cx + k + 1, cy + lineAt + 1}
                                 : RECT{cx + lineAt, cy - k, cx + lineAt + 1, cy + k + 1};
            FillRect(hdc, &line, arrowBrush);
        }
    }
    if (l.thumbLength > 0) {
        FillRect(hdc, &l.thumb, face);
        FrameRect(hdc, &l.thumb, frame);
    }
}

}  // namespace wince

using namespace wince;

namespace {

void ShowBar(Window *w, int bar, bool show) {
    DWORD flag = bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
    bool shown = (w->style & flag) != 0;
    if (shown == show) return;
    if (show) w->style |= flag;
    else w->style &= ~flag;
    RECT client;
    GetClientRect(w->handle, &client);
    InvalidateRect(w->handle, nullptr, TRUE);
    InvalidateNonClient(w);
    SendMessageW(w->handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

}  // namespace

int WINAPI SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw) {
    Window *w = CheckHandle(hwnd);
    if (!w) return 0;
    if (!lpsi || (nBar != SB_HORZ && nBar != SB_VERT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    ScrollState &s = StateOf(*w, nBar);
    if (lpsi->fMask & SIF_RANGE) s.min = lpsi->nMin, s.max = std::max(lpsi->nMin, lpsi->nMax);
    if (lpsi->fMask & SIF_PAGE) s.page = std::min<UINT>(lpsi->nPage, static_cast<UINT>(s.max - s.min + 1));
    if (lpsi->fMask & SIF_POS) s.pos = lpsi->nPos;
    s.pos = std::clamp(s.pos, s.min, MaxPosition(s));
    if (lpsi->fMask & (SIF_RANGE | SIF_PAGE)) {
        bool needed = s.max > s.min && s.page <= static_cast<UINT>(s.max - s.min);
        ShowBar(w, nBar, needed || (lpsi->fMask & SIF_DISABLENOSCROLL));
    }
    if (redraw && HasScrollBar(*w, nBar)) InvalidateNonClient(w);
    return s.pos;
}

BOOL WINAPI GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi) {
    Window *w = CheckHandle(hwnd);
    if (!w) return FALSE;
    if (!lpsi || (nBar != SB_HORZ && nBar != SB_VERT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!HasScrollBar(*w, nBar)) {
        SetLastError(ERROR_NO_SCROLLBARS);
        return FALSE;
    }
    const ScrollState &s = StateOf(*w, nBar);
    if (lpsi->fMask & SIF_RANGE) lpsi->nMin = s.min, lpsi->nMax = s.max;
    if (lpsi->fMask & SIF_PAGE) lpsi->nPage = s.page;
    if (lpsi->fMask & SIF_POS) lpsi->nPos = s.pos;
    if (lpsi->fMask & SIF_TRACKPOS) lpsi->nTrackPos = s.trackPos;
    return TRUE;
}

int WINAPI SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw) {
    Window *w = CheckHandle(hWnd);
    if (!w) return 0;
    int old = StateOf(*w, nBar).pos;
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, nPos, 0};
    SetScrollInfo(hWnd, nBar, &si, bRedraw);
    return old;
}

int WINAPI GetScrollPos(HWND hWnd, int nBar) {
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(hWnd, nBar, &si) ? si.nPos : 0;
}

BOOL WINAPI SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    SCROLLINFO si{sizeof si, SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    return CheckHandle(hWnd) && (SetScrollInfo(hWnd, nBar, &si, bRedraw), TRUE);
}

BOOL WINAPI ShowScrollBar(HWND hWnd, int wBar, BOOL bShow) {
    Window *w = CheckHandle(hWnd);
    if (!w) return FALSE;
    if (wBar == SB_VERT || wBar == SB_BOTH) ShowBar(w, SB_VERT, bShow);
    if (wBar == SB_HORZ || wBar == SB_BOTH) ShowBar(w, SB_HORZ, bShow);
    return TRUE;
}

BOOL WINAPI EnableScrollBar(HWND hWnd, UINT, UINT) { return CheckHandle(hWnd) != nullptr; }
