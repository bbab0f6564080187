// The navigation bar: Start, the front window's title, the clock, and "ok"
// when the front dialog asks for it.
#include <aygshell.h>

#include <algorithm>
#include <string>

#include "bar_windows.h"
#include "controls/control_util.h"
#include "shell_bars.h"
#include "window/item_report.h"

namespace wince::shell {
namespace {

constexpr WCHAR kClass[] = u"HHTaskBar";
constexpr UINT_PTR kClockTimer = 1;
constexpr COLORREF kBarColor = RGB(0, 51, 153);
constexpr COLORREF kTextColor = RGB(255, 255, 255);
enum Part { kNone, kStart, kOk };

Part pressed = kNone;

HFONT BarFont(bool bold) {
    static HFONT fonts[2] = {};
    HFONT &font = fonts[bold ? 1 : 0];
    if (!font) {
        LOGFONTW lf{};
        lf.lfHeight = -controls::Scaled(12);
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        lstrcpyW(lf.lfFaceName, u"Tahoma");
        font = CreateFontIndirectW(&lf);
    }
    return font;
}

std::u16string ClockText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    WCHAR text[32] = {};
    if (GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &now, nullptr, text, 32) <= 0) return u"";
    return text;
}

std::u16string TitleOf(HWND hwnd) {
    WCHAR text[256] = {};
    if (hwnd) GetWindowTextW(hwnd, text, 256);
    return text;
}

bool OkShown() { return HasDoneButton(FrontWindow()); }

Part PartAt(HWND hwnd, POINT p) {
    RECT client;
    GetClientRect(hwnd, &client);
    NavBarLayout l = LayoutNavBar(client.right, client.bottom, OkShown());
    if (PtInRect(&l.start, p)) return kStart;
    if (PtInRect(&l.ok, p)) return kOk;
    return kNone;
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    NavBarLayout l = LayoutNavBar(client.right, client.bottom, OkShown());
    controls::Fill(hdc, client, kBarColor);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, kTextColor);
    HGDIOBJ old = SelectObject(hdc, BarFont(true));
    RECT start = l.start;
    if (pressed == kStart) controls::Fill(hdc, start, RGB(0, 0, 102));
    DrawTextW(hdc, u"Start", -1, &start, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    std::u16string title = TitleOf(FrontWindow());
    RECT titleRect = l.title;
    DrawTextW(hdc, title.c_str(), -1, &titleRect, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(hdc, BarFont(false));
    std::u16string clock = ClockText();
    RECT clockRect = l.clock;
    DrawTextW(hdc, clock.c_str(), -1, &clockRect, DT_SINGLELINE | DT_RIGHT | DT_VCENTER | DT_NOPREFIX);
    if (!IsRectEmpty(&l.ok)) {
        RECT ok = l.ok;
        if (pressed == kOk) controls::Fill(hdc, ok, RGB(0, 0, 102));
        SelectObject(hdc, BarFont(true));
        DrawTextW(hdc, u"ok", -1, &ok, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }
    SelectObject(hdc, old);
    EndPaint(hwnd, &ps);
}

void OnStylusDown(HWND hwnd, POINT p) {
    Part part = PartAt(hwnd, p);
    if (part == kStart) {
        // The menu opens while the stylus is still down, as a menu bar's does.
        pressed = kStart;
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        ShowStartMenu();
        pressed = kNone;
        InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }
    if (part == kOk) {
        pressed = kOk;
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void OnStylusUp(HWND hwnd, POINT p) {
    if (pressed != kOk) return;
    pressed = kNone;
    ReleaseCapture();
    InvalidateRect(hwnd, nullptr, FALSE);
    HWND dialog = FrontWindow();
    if (PartAt(hwnd, p) == kOk && HasDoneButton(dialog)) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
}

LRESULT CALLBACK NavBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            SetTimer(hwnd, kClockTimer, 1000, nullptr);
            return 0;
        case WM_TIMER: {
            // Repainted only when the minute or the title shown changes.
            static std::u16string shown;
            std::u16string now = ClockText() + u"\n" + TitleOf(FrontWindow());
            if (now != shown) shown = now, InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(TitleOf(FrontWindow()).size());
        case WM_GETTEXT: {
            // The title it shows is the bar's text.
            std::u16string title = TitleOf(FrontWindow());
            auto *out = reinterpret_cast<LPWSTR>(lParam);
            if (!out || wParam == 0) return 0;
            size_t n = std::min<size_t>(title.size(), wParam - 1);
            title.copy(out, n);
            out[n] = 0;
            return static_cast<LRESULT>(n);
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_LBUTTONDOWN:
            OnStylusDown(hwnd, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_LBUTTONUP:
            OnStylusUp(hwnd, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SETTINGCHANGE_RESET) ScreenChanged();
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd, kClockTimer);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Start and "ok" are what a user taps here, for the dump and a script's click.
bool ReportParts(HWND hwnd, std::vector<ReportedItem> &out) {
    RECT client;
    GetClientRect(hwnd, &client);
    NavBarLayout l = LayoutNavBar(client.right, client.bottom, OkShown());
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    auto add = [&](const char16_t *text, RECT r, UINT id) {
        ReportedItem item;
        item.text = text;
        item.id = id;
        item.rect = r;
        OffsetRect(&item.rect, origin.x, origin.y);
        out.push_back(item);
    };
    add(u"Start", l.start, 0);
    if (!IsRectEmpty(&l.ok)) add(u"ok", l.ok, IDOK);
    return true;
}

struct Registration {
    Registration() { RegisterItemReporter(kClass, ReportParts); }
} registration;

}  // namespace

NavBarLayout LayoutNavBar(int width, int height, bool ok) {
    NavBarLayout l{};
    int startWidth = controls::Scaled(44), okWidth = ok ? controls::Scaled(26) : 0, clockWidth = controls::Scaled(56);
    l.start = RECT{0, 0, startWidth, height};
    l.ok = ok ? RECT{width - okWidth, 0, width, height} : RECT{0, 0, 0, 0};
    int clockRight = width - okWidth - controls::Scaled(4);
    l.clock = RECT{clockRight - clockWidth, 0, clockRight, height};
    l.title = RECT{startWidth + controls::Scaled(4), 0, l.clock.left - controls::Scaled(4), height};
    if (l.title.right < l.title.left) l.title.right = l.title.left;
    return l;
}

HWND CreateNavigationBar() {
    controls::RegisterWindowClassOnce(kClass, NavBarProc);
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClass, u"", WS_POPUP | WS_VISIBLE, 0, 0,
                           GetSystemMetrics(SM_CXSCREEN), NavBarHeight(), nullptr, nullptr, nullptr, nullptr);
}

void NavigationBarChanged(HWND navBar) {
    if (IsWindow(navBar)) InvalidateRect(navBar, nullptr, FALSE);
}

}  // namespace wince::shell
