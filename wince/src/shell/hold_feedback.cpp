#include "hold_feedback.h"

#include <algorithm>
#include <cmath>

#include "device/device.h"
#include "window/window.h"

namespace wince {
namespace {

constexpr WCHAR kClass[] = u"HoldFeedback";

int Scaled(int at96) { return (at96 * Device::Current().Profile().dpiX + 48) / 96; }

struct FeedbackState {
    HBITMAP under = nullptr;  // the screen as it was beneath the ring
    int dots = 0;
};

void Paint(HWND hwnd, FeedbackState &state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    if (state.under) {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, state.under);
        BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    int radius = client.right / 2 - Scaled(3);
    int dot = std::max(1, Scaled(2));
    // Red, as on the device: the ring must show over a highlighted selection.
    HBRUSH brush = CreateSolidBrush(kHoldDotColor);
    double pi = std::acos(-1.0);
    for (int i = 0; i < state.dots; ++i) {
        // Clockwise from the top, as the device draws them.
        double angle = -pi / 2 + 2 * pi * i / HoldFeedback::kDots;
        int x = client.right / 2 + static_cast<int>(std::lround(radius * std::cos(angle)));
        int y = client.bottom / 2 + static_cast<int>(std::lround(radius * std::sin(angle)));
        RECT r{x - dot, y - dot, x + dot + 1, y + dot + 1};
        FillRect(dc, &r, brush);
    }
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK FeedbackProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *state = reinterpret_cast<FeedbackState *>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
    if (msg == WM_PAINT && state) {
        Paint(hwnd, *state);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int DotsAfter(double fraction) {
    // The first dot shows after an eighth of the hold, the last at its end.
    int dots = static_cast<int>(std::floor(std::clamp(fraction, 0.0, 1.0) * HoldFeedback::kDots + 1e-9));
    return std::clamp(dots, 0, HoldFeedback::kDots);
}

HoldFeedback::HoldFeedback(POINT center) : center_(center) {}

HoldFeedback::~HoldFeedback() {
    if (!window_) return;
    auto *state = reinterpret_cast<FeedbackState *>(GetWindowLongPtrW(window_, GWL_USERDATA));
    DestroyWindow(window_);
    if (state) {
        if (state->under) DeleteObject(state->under);
        delete state;
    }
}

void HoldFeedback::Show(double fraction) {
    int dots = DotsAfter(fraction);
    if (dots == shown_) return;
    shown_ = dots;
    if (!window_) {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = FeedbackProc;
            wc.lpszClassName = kClass;
            RegisterClassW(&wc);
            registered = true;
        }
        int half = Scaled(16);
        RECT r{center_.x - half, center_.y - half, center_.x + half + 1, center_.y + half + 1};
        auto *state = new FeedbackState;
        // Keep what lies beneath so that the ring is drawn over it.
        ComposeScreen();
        HDC screen = GetDC(nullptr);
        state->under = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
        HDC mem = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(mem, state->under);
        BitBlt(mem, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, u"", WS_POPUP, r.left,
                                  r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
        if (!window_) {
            DeleteObject(state->under);
            delete state;
            return;
        }
        SetWindowLongPtrW(window_, GWL_USERDATA, reinterpret_cast<LONG_PTR>(state));
        ShowWindow(window_, SW_SHOWNA);
    }
    auto *state = reinterpret_cast<FeedbackState *>(GetWindowLongPtrW(window_, GWL_USERDATA));
    state->dots = dots;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
}

}  // namespace wince
