#include "input.h"

#include "clock.h"
#include "focus.h"
#include "paint.h"
#include "scroll.h"

namespace wince {
namespace {

bool stylusDown = false;
bool swallowUp = false;
POINT stylusAt{};
BYTE keyDown[256] = {};

// The scroll bar the stylus went down on, while it stays down.
struct ScrollTracking {
    HWND hwnd = nullptr;
    int bar = SB_VERT;
    ScrollPart part = ScrollPart::kNone;
    int grabOffset = 0;  // from the thumb's start to the stylus
} tracking;

bool EnabledChain(const Window *w) {
    for (; w; w = w->parent)
        if (!w->Enabled()) return false;
    return true;
}

LPARAM ClientPoint(const Window *w, POINT screen) {
    POINT o = ClientOriginOnScreen(*w);
    return MAKELPARAM(static_cast<WORD>(screen.x - o.x), static_cast<WORD>(screen.y - o.y));
}

WPARAM ScrollCode(ScrollPart part) {
    switch (part) {
        case ScrollPart::kLineUp:
            return SB_LINEUP;
        case ScrollPart::kLineDown:
            return SB_LINEDOWN;
        case ScrollPart::kPageUp:
            return SB_PAGEUP;
        case ScrollPart::kPageDown:
            return SB_PAGEDOWN;
        default:
            return SB_THUMBTRACK;
    }
}

bool StylusMessage(const InputEvent &event, MSG *msg, bool commit) {
    Window *target = FromHandle(GetCapture());
    Window *scrollWindow = FromHandle(tracking.hwnd);
    if (scrollWindow && event.kind != InputEvent::kStylusDown) {
        // The stylus is dragging a scroll bar's thumb, or holding an arrow.
        UINT message = tracking.bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
        msg->hwnd = scrollWindow->handle;
        msg->message = message;
        msg->lParam = 0;
        if (event.kind == InputEvent::kStylusMove) {
            if (tracking.part != ScrollPart::kThumb) return false;
            RECT wr = WindowRectOnScreen(*scrollWindow);
            int along = (tracking.bar == SB_HORZ ? event.point.x - wr.left : event.point.y - wr.top) -
                        (tracking.bar == SB_HORZ ? LayoutScrollBar(*scrollWindow, SB_HORZ).bar.left
                                                 : LayoutScrollBar(*scrollWindow, SB_VERT).bar.top);
            int pos = ThumbPositionAt(*scrollWindow, tracking.bar, along - tracking.grabOffset);
            if (commit) (tracking.bar == SB_HORZ ? scrollWindow->hscroll : scrollWindow->vscroll).trackPos = pos;
            msg->wParam = MAKEWPARAM(SB_THUMBTRACK, pos);
            return true;
        }
        // Stylus up: the thumb lands, then the scroll ends.
        if (tracking.part == ScrollPart::kThumb) {
            int pos = (tracking.bar == SB_HORZ ? scrollWindow->hscroll : scrollWindow->vscroll).trackPos;
            msg->wParam = MAKEWPARAM(SB_THUMBPOSITION, pos);
            if (commit) PostMessageW(scrollWindow->handle, message, SB_ENDSCROLL, 0);
        } else {
            msg->wParam = SB_ENDSCROLL;
        }
        if (commit) tracking = ScrollTracking{}, stylusDown = false;
        return true;
    }
    if (!target) target = WindowAtScreenPoint(event.point);
    if (!target || !EnabledChain(target)) {
        if (commit && event.kind == InputEvent::kStylusUp) stylusDown = false;
        return false;
    }
    if (event.kind == InputEvent::kStylusDown && !GetCapture()) {
        RECT wr = WindowRectOnScreen(*target);
        POINT inWindow{event.point.x - wr.left, event.point.y - wr.top};
        for (int bar : {SB_VERT, SB_HORZ}) {
            ScrollPart part = HitScrollBar(*target, bar, inWindow);
            if (part == ScrollPart::kNone) continue;
            msg->hwnd = target->handle;
            msg->message = bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
            msg->lParam = 0;
            const ScrollState &s = bar == SB_HORZ ? target->hscroll : target->vscroll;
            msg->wParam = part == ScrollPart::kThumb ? MAKEWPARAM(SB_THUMBTRACK, s.pos) : ScrollCode(part);
            if (commit) {
                ScrollBarLayout l = LayoutScrollBar(*target, bar);
                tracking = ScrollTracking{target->handle, bar, part,
                                          bar == SB_HORZ ? inWindow.x - l.thumb.left : inWindow.y - l.thumb.top};
                const_cast<ScrollState &>(s).trackPos = s.pos;
                stylusDown = true;
            }
            return true;
        }
    }
    msg->hwnd = target->handle;
    msg->lParam = ClientPoint(target, event.point);
    switch (event.kind) {
        case InputEvent::kStylusDown:
            msg->message = WM_LBUTTONDOWN;
            msg->wParam = MK_LBUTTON;
            if (commit) {
                stylusDown = true;
                Window *top = TopLevelOf(target);
                if (top->handle != GetActiveWindow() && !(top->exStyle & WS_EX_NOACTIVATE)) ActivateWindow(top);
            }
            break;
        case InputEvent::kStylusMove:
            msg->message = WM_MOUSEMOVE;
            msg->wParam = stylusDown ? MK_LBUTTON : 0;
            break;
        default:
            msg->message = WM_LBUTTONUP;
            msg->wParam = 0;
            if (commit) stylusDown = false;
            break;
    }
    if (commit) stylusAt = event.point;
    return true;
}

bool KeyMessage(const InputEvent &event, MSG *msg, bool commit) {
    HWND target = GetFocus();
    if (!target) target = GetActiveWindow();
    Window *w = FromHandle(target);
    if (!w || !EnabledChain(w)) return false;
    msg->hwnd = target;
    msg->wParam = event.key;
    switch (event.kind) {
        case InputEvent::kKeyDown:
            msg->message = WM_KEYDOWN;
            msg->lParam = 1;
            if (commit) keyDown[event.key & 0xFF] = 1;
            break;
        case InputEvent::kKeyUp:
            msg->message = WM_KEYUP;
            msg->lParam = static_cast<LPARAM>(0xC0000001u);
            if (commit) keyDown[event.key & 0xFF] = 0;
            break;
        default:
            msg->message = WM_CHAR;
            msg->lParam = 1;
            break;
    }
    return true;
}

}  // namespace

bool TranslateInputEvent(const InputEvent &event, MSG *msg, bool commit) {
    *msg = MSG{};
    if (event.kind == InputEvent::kStylusUp && swallowUp) {
        // Undelivered events leave the queue whether or not the caller commits.
        swallowUp = false;
        stylusDown = false;
        return false;
    }
    msg->time = static_cast<DWORD>(Clock::Now());
    msg->pt = event.point;
    bool stylus = event.kind == InputEvent::kStylusDown || event.kind == InputEvent::kStylusMove ||
                  event.kind == InputEvent::kStylusUp;
    if (!stylus) msg->pt = stylusAt;
    return stylus ? StylusMessage(event, msg, commit) : KeyMessage(event, msg, commit);
}

bool StylusIsDown() { return stylusDown; }

void SwallowNextStylusUp() { swallowUp = true; }

}  // namespace wince

using namespace wince;

// Characters for the keys that produce one, as the device's keyboard does.
BOOL WINAPI TranslateMessage(const MSG *lpMsg) {
    if (!lpMsg || lpMsg->message != WM_KEYDOWN) return FALSE;
    UINT vk = static_cast<UINT>(lpMsg->wParam);
    WCHAR c = 0;
    if (vk == VK_BACK) c = 0x08;
    else if (vk == VK_TAB) c = '\t';
    else if (vk == VK_RETURN) c = '\r';
    else if (vk == VK_ESCAPE) c = 0x1B;
    else if (vk == VK_SPACE) c = ' ';
    else if (vk >= '0' && vk <= '9') c = static_cast<WCHAR>(vk);
    else if (vk >= 'A' && vk <= 'Z') c = static_cast<WCHAR>(keyDown[VK_SHIFT] ? vk : vk + 32);
    if (!c) return FALSE;
    PostMessageW(lpMsg->hwnd, WM_CHAR, c, lpMsg->lParam);
    return TRUE;
}

SHORT WINAPI GetKeyState(int nVirtKey) {
    if (nVirtKey == VK_LBUTTON) return stylusDown ? static_cast<SHORT>(0x8000) : 0;
    return keyDown[nVirtKey & 0xFF] ? static_cast<SHORT>(0x8000) : 0;
}

SHORT WINAPI GetAsyncKeyState(int vKey) { return GetKeyState(vKey); }
