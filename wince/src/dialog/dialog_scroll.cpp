#include "dialog_scroll.h"

#include <algorithm>

#include "dialog_state.h"
#include "window/window.h"

namespace wince {
namespace {

// The lowest edge of the visible controls, in client coordinates as if the
// dialog were not scrolled.
int ContentBottom(Window *w) {
    int bottom = 0;
    for (Window *child : w->children)
        if (child->Visible()) bottom = std::max<int>(bottom, child->rect.bottom);
    return bottom + w->vscroll.pos;
}

void MoveControls(Window *w, int dy) {
    if (!dy) return;
    std::vector<HWND> children;
    for (Window *child : w->children) children.push_back(child->handle);
    for (HWND h : children) {
        Window *c = FromHandle(h);
        if (!c) continue;
        SetWindowPos(h, nullptr, c->rect.left, c->rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(w->handle, nullptr, TRUE);
}

int MaxPosition(const ScrollState &s) {
    return std::max(s.min, s.max - std::max(static_cast<int>(s.page), 1) + 1);
}

// Moves the controls so that the scroll position becomes pos.
void ScrollTo(Window *w, int pos) {
    pos = std::clamp(pos, w->vscroll.min, MaxPosition(w->vscroll));
    int old = w->vscroll.pos;
    if (pos == old) return;
    SetScrollPos(w->handle, SB_VERT, pos, TRUE);
    MoveControls(w, old - pos);
}

}  // namespace

void UpdateDialogScrollBar(HWND dialog) {
    Window *w = FromHandle(dialog);
    DialogState *state = FindDialogState(dialog);
    if (!w || !state || state->updatingScroll) return;
    // Showing or hiding the bar sends WM_SIZE, which brings the dialog here again.
    state->updatingScroll = true;
    RECT client;
    GetClientRect(dialog, &client);
    int content = ContentBottom(w);
    int old = w->vscroll.pos;
    // A control one pixel past the edge is placed so to hide its border
    // there (a tree or list filling the dialog), not to be scrolled to.
    if (content > client.bottom + 1) {
        if (!(w->style & WS_VSCROLL)) state->addedScrollBar = true;
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, content - 1, static_cast<UINT>(client.bottom), 0, 0};
        SetScrollInfo(dialog, SB_VERT, &si, TRUE);
        if (FromHandle(dialog)) MoveControls(w, old - w->vscroll.pos);
    } else if (state->addedScrollBar) {
        // Everything fits again: back to the top, and the bar goes.
        state->addedScrollBar = false;
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
        SetScrollInfo(dialog, SB_VERT, &si, TRUE);
        if (FromHandle(dialog)) MoveControls(w, old);
    }
    if (DialogState *s = FindDialogState(dialog)) s->updatingScroll = false;
}

void ScrollDialog(HWND dialog, WPARAM wParam) {
    Window *w = FromHandle(dialog);
    DialogState *state = FindDialogState(dialog);
    if (!w || !state || !(w->style & WS_VSCROLL)) return;
    int line = std::max(state->baseY, 1);
    int page = std::max(static_cast<int>(w->vscroll.page), 1);
    int pos = w->vscroll.pos;
    switch (LOWORD(wParam)) {
        case SB_LINEUP: pos -= line; break;
        case SB_LINEDOWN: pos += line; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_TOP: pos = w->vscroll.min; break;
        case SB_BOTTOM: pos = w->vscroll.max; break;
        case SB_THUMBPOSITION: pos = static_cast<short>(HIWORD(wParam)); break;
        case SB_THUMBTRACK: {
            SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(dialog, SB_VERT, &si);
            pos = si.nTrackPos;
            break;
        }
        default: return;
    }
    ScrollTo(w, pos);
}

}  // namespace wince
