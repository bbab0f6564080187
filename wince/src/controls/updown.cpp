#include "updown.h"

#include <algorithm>
#include <unordered_map>

#include "control_util.h"
#include "window/window_class.h"

namespace wince::controls {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

int Low(const UpDownState *s) { return std::min(s->minimum, s->maximum); }
int High(const UpDownState *s) { return std::max(s->minimum, s->maximum); }

// Buddies whose arrow keys step an up-down control (UDS_ARROWKEYS).
struct Subclassed {
    HWND updown;
    WNDPROC proc;
};
std::unordered_map<HWND, Subclassed> &Buddies() {
    static auto *buddies = new std::unordered_map<HWND, Subclassed>;
    return *buddies;
}

void SetBuddyText(HWND hwnd, UpDownState *s) {
    if (!s->buddy || !(StyleOf(hwnd) & UDS_SETBUDDYINT) || !IsWindow(s->buddy)) return;
    std::u16string text = FormatPosition(s->position, s->base, !(StyleOf(hwnd) & UDS_NOTHOUSANDS));
    SetWindowTextW(s->buddy, text.c_str());
}

// Takes the position from the buddy's text when it holds a number in range.
bool ReadBuddy(HWND hwnd, UpDownState *s) {
    if (!s->buddy || !(StyleOf(hwnd) & UDS_SETBUDDYINT) || !IsWindow(s->buddy)) return true;
    int n = GetWindowTextLengthW(s->buddy);
    std::u16string text(static_cast<size_t>(n) + 1, u'\0');
    GetWindowTextW(s->buddy, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    int value;
    if (!ParsePosition(text, s->base, value) || value < Low(s) || value > High(s)) return false;
    s->position = value;
    return true;
}

int Clamped(const UpDownState *s, int value) { return std::max(Low(s), std::min(value, High(s))); }

LRESULT CALLBACK BuddyProc(HWND buddy, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto it = Buddies().find(buddy);
    if (it == Buddies().end()) return DefWindowProcW(buddy, msg, wParam, lParam);
    Subclassed sub = it->second;
    if (msg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) && IsWindow(sub.updown)) {
        if (auto *s = StateOf<UpDownState>(sub.updown)) {
            StepUpDown(sub.updown, s, wParam == VK_UP ? 1 : -1);
            return 0;
        }
    }
    if (msg == WM_DESTROY) {
        Buddies().erase(buddy);
        SetWindowLongPtrW(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sub.proc));
    }
    return CallWindowProcW(sub.proc, buddy, msg, wParam, lParam);
}

void ReleaseBuddy(HWND hwnd) {
    for (auto it = Buddies().begin(); it != Buddies().end(); ++it) {
        if (it->second.updown != hwnd) continue;
        if (IsWindow(it->first)) SetWindowLongPtrW(it->first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.proc));
        Buddies().erase(it);
        return;
    }
}

// UDS_ALIGNRIGHT / UDS_ALIGNLEFT: the buddy gives up the control's width
// and the control sits beside it, as tall as it.
void AlignToBuddy(HWND hwnd, HWND buddy) {
    DWORD style = StyleOf(hwnd);
    if (!(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) || GetParent(hwnd) != GetParent(buddy)) return;
    RECT b, self;
    GetWindowRect(buddy, &b);
    GetWindowRect(hwnd, &self);
    MapWindowPoints(nullptr, GetParent(buddy), reinterpret_cast<POINT *>(&b), 2);
    int width = self.right - self.left;
    if (width <= 0) width = GetSystemMetrics(SM_CXVSCROLL);
    int height = b.bottom - b.top;
    int buddyWidth = std::max<int>(0, b.right - b.left - width);
    if (style & UDS_ALIGNRIGHT) {
        MoveWindow(buddy, b.left, b.top, buddyWidth, height, TRUE);
        MoveWindow(hwnd, b.left + buddyWidth, b.top, width, height, TRUE);
    } else {
        MoveWindow(hwnd, b.left, b.top, width, height, TRUE);
        MoveWindow(buddy, b.left + width, b.top, buddyWidth, height, TRUE);
    }
}

HWND SetBuddy(HWND hwnd, UpDownState *s, HWND buddy) {
    HWND old = s->buddy;
    ReleaseBuddy(hwnd);
    s->buddy = IsWindow(buddy) ? buddy : nullptr;
    if (!s->buddy) return old;
    AlignToBuddy(hwnd, s->buddy);
    if ((StyleOf(hwnd) & UDS_ARROWKEYS) && !Buddies().count(s->buddy)) {
        auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(s->buddy, GWLP_WNDPROC));
        Buddies()[s->buddy] = Subclassed{hwnd, proc};
        SetWindowLongPtrW(s->buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BuddyProc));
    }
    return old;
}

// Which arrow a client point is on: +1 increases, -1 decreases.
int ArrowAt(HWND hwnd, LPARAM lParam) {
    RECT c;
    GetClientRect(hwnd, &c);
    if (StyleOf(hwnd) & UDS_HORZ) return GET_X_LPARAM(lParam) >= c.right / 2 ? 1 : -1;
    return GET_Y_LPARAM(lParam) < c.bottom / 2 ? 1 : -1;
}

void PaintArrow(HDC hdc, RECT box, bool horizontal, int direction, bool pressed, bool enabled) {
    COLORREF ink = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    Fill(hdc, box, GetSysColor(pressed ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    Frame(hdc, box, 1, GetSysColor(COLOR_WINDOWFRAME));
    if (pressed) ink = GetSysColor(COLOR_HIGHLIGHTTEXT);
    int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    int half = std::max(2, static_cast<int>(std::min(box.right - box.left, box.bottom - box.top)) / 4);
    POINT t[3];
    if (horizontal) {
        int tip = direction > 0 ? cx + half / 2 : cx - half / 2, back = direction > 0 ? cx - half / 2 : cx + half / 2;
        t[0] = {back, cy - half}, t[1] = {back, cy + half}, t[2] = {tip, cy};
    } else {
        int tip = direction > 0 ? cy - half / 2 : cy + half / 2, back = direction > 0 ? cy + half / 2 : cy - half / 2;
        t[0] = {cx - half, back}, t[1] = {cx + half, back}, t[2] = {cx, tip};
    }
    HBRUSH brush = CreateSolidBrush(ink);
    HPEN pen = CreatePen(PS_SOLID, 1, ink);
    HGDIOBJ ob = SelectObject(hdc, brush), op = SelectObject(hdc, pen);
    Polygon(hdc, t, 3);
    SelectObject(hdc, ob);
    SelectObject(hdc, op);
    DeleteObject(brush);
    DeleteObject(pen);
}

void Paint(HWND hwnd, UpDownState *s) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT c;
    GetClientRect(hwnd, &c);
    bool horizontal = (StyleOf(hwnd) & UDS_HORZ) != 0;
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    RECT increase = c, decrease = c;
    if (horizontal) increase.left = decrease.right = c.right / 2;
    else increase.bottom = decrease.top = c.bottom / 2;
    PaintArrow(hdc, increase, horizontal, 1, s->pressed == 1, enabled);
    PaintArrow(hdc, decrease, horizontal, -1, s->pressed == -1, enabled);
    EndPaint(hwnd, &ps);
}

LRESULT SetPosition(HWND hwnd, UpDownState *s, int value) {
    int old = s->position;
    s->position = Clamped(s, value);
    SetBuddyText(hwnd, s);
    return old;
}

LRESULT CALLBACK UpDownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *s = StateOf<UpDownState>(hwnd);
    if (msg == WM_CREATE) {
        s = new UpDownState;
        SetState(hwnd, s);
        if (StyleOf(hwnd) & UDS_AUTOBUDDY) SetBuddy(hwnd, s, GetWindow(hwnd, GW_HWNDPREV));
        return 0;
    }
    if (!s) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_DESTROY:
            KillTimer(hwnd, kRepeatTimer);
            ReleaseBuddy(hwnd);
            SetState(hwnd, nullptr);
            delete s;
            return 0;
        case WM_LBUTTONDOWN:
            s->pressed = ArrowAt(hwnd, lParam);
            SetCapture(hwnd);
            InvalidateRect(hwnd, nullptr, TRUE);
            StepUpDown(hwnd, s, s->pressed);
            SetTimer(hwnd, kRepeatTimer, 500, nullptr);  // held: the arrow repeats
            return 0;
        case WM_TIMER:
            if (wParam == kRepeatTimer && s->pressed) {
                SetTimer(hwnd, kRepeatTimer, 100, nullptr);
                StepUpDown(hwnd, s, s->pressed);
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (!s->pressed) return 0;
            s->pressed = 0;
            KillTimer(hwnd, kRepeatTimer);
            if (msg == WM_LBUTTONUP) ReleaseCapture();
            InvalidateRect(hwnd, nullptr, TRUE);
            if (HWND parent = GetParent(hwnd))
                SendMessageW(parent, (StyleOf(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
                             MAKEWPARAM(SB_ENDSCROLL, static_cast<WORD>(s->position)), reinterpret_cast<LPARAM>(hwnd));
            return 0;
        case UDM_SETRANGE:
            s->maximum = std::max(-UD_MAXVAL, std::min<int>(static_cast<short>(LOWORD(lParam)), UD_MAXVAL));
            s->minimum = std::max(-UD_MAXVAL, std::min<int>(static_cast<short>(HIWORD(lParam)), UD_MAXVAL));
            return 0;
        case UDM_GETRANGE:
            return MAKELONG(static_cast<WORD>(s->maximum), static_cast<WORD>(s->minimum));
        case UDM_SETRANGE32:
            s->minimum = static_cast<int>(wParam);
            s->maximum = static_cast<int>(lParam);
            return 0;
        case UDM_GETRANGE32:
            if (wParam) *reinterpret_cast<int *>(wParam) = s->minimum;
            if (lParam) *reinterpret_cast<int *>(lParam) = s->maximum;
            return 0;
        case UDM_SETPOS:
            return static_cast<WORD>(SetPosition(hwnd, s, static_cast<short>(LOWORD(lParam))));
        case UDM_SETPOS32:
            return SetPosition(hwnd, s, static_cast<int>(lParam));
        case UDM_GETPOS: {
            bool ok = ReadBuddy(hwnd, s);
            return MAKELONG(static_cast<WORD>(s->position), ok ? 0 : 1);
        }
        case UDM_GETPOS32: {
            bool ok = ReadBuddy(hwnd, s);
            if (lParam) *reinterpret_cast<BOOL *>(lParam) = ok ? FALSE : TRUE;
            return s->position;
        }
        case UDM_SETBUDDY:
            return reinterpret_cast<LRESULT>(SetBuddy(hwnd, s, reinterpret_cast<HWND>(wParam)));
        case UDM_GETBUDDY:
            return reinterpret_cast<LRESULT>(s->buddy);
        case UDM_SETBASE: {
            if (wParam != 10 && wParam != 16) return 0;
            int old = s->base;
            s->base = static_cast<int>(wParam);
            SetBuddyText(hwnd, s);
            return old;
        }
        case UDM_GETBASE:
            return s->base;
        case UDM_SETACCEL: {
            auto *accel = reinterpret_cast<const UDACCEL *>(lParam);
            if (!accel || wParam == 0) return FALSE;
            s->accelCount = static_cast<int>(std::min<WPARAM>(wParam, 8));
            std::copy_n(accel, s->accelCount, s->accel);
            return TRUE;
        }
        case UDM_GETACCEL: {
            auto *accel = reinterpret_cast<UDACCEL *>(lParam);
            int n = std::min(static_cast<int>(wParam), s->accelCount);
            if (accel) std::copy_n(s->accel, n, accel);
            return s->accelCount;
        }
        case CCM_SETVERSION: {
            int old = s->version;
            s->version = static_cast<int>(wParam);
            return old;
        }
        case CCM_GETVERSION:
            return s->version;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd, s);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct Registration {
    Registration() {
        AddSystemClassRegistrar([] { RegisterControlClass(UPDOWN_CLASSW, UpDownProc); });
    }
} registration;

}  // namespace

// The parent hears UDN_DELTAPOS first and may refuse or change the step;
// then the position moves (round with UDS_WRAP, else stopping at the
// ends) and WM_VSCROLL (WM_HSCROLL) SB_THUMBPOSITION follows in any case.
void StepUpDown(HWND hwnd, UpDownState *s, int direction) {
    ReadBuddy(hwnd, s);
    int step = static_cast<int>(s->accel[0].nInc) * direction;
    if (s->maximum < s->minimum) step = -step;
    NMUPDOWN nm{};
    nm.hdr.hwndFrom = hwnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
    nm.hdr.code = UDN_DELTAPOS;
    nm.iPos = s->position;
    nm.iDelta = step;
    HWND parent = GetParent(hwnd);
    bool refused = parent && SendMessageW(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm)) != 0;
    if (!IsWindow(hwnd)) return;
    if (!refused && nm.iDelta != 0) {
        long long target = static_cast<long long>(s->position) + nm.iDelta;
        int value;
        if (target > High(s)) value = (StyleOf(hwnd) & UDS_WRAP) ? Low(s) : High(s);
        else if (target < Low(s)) value = (StyleOf(hwnd) & UDS_WRAP) ? High(s) : Low(s);
        else value = static_cast<int>(target);
        if (value != s->position) {
            s->position = value;
            SetBuddyText(hwnd, s);
        }
    }
    if (parent && IsWindow(hwnd))
        SendMessageW(parent, (StyleOf(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
                     MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(s->position)), reinterpret_cast<LPARAM>(hwnd));
}

}  // namespace wince::controls
