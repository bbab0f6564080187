// SHRecognizeGesture: called on a stylus-down, it watches the stylus until
// it is lifted, moves away or stays down for the hold time. A hold gives
// GN_CONTEXTMENU and the stylus-up that follows goes nowhere; anything
// else gives 0 and leaves the event that ended it in the queue.
#include <windows.h>

#include <aygshell.h>

#include <cstdlib>

#include "device/device.h"
#include "hold_feedback.h"
#include "window/clock.h"
#include "window/input.h"
#include "window/message_queue.h"

using namespace wince;

namespace {

struct HoldRules {
    uint64_t holdMs;
    int tolerance;  // pixels the stylus may wander while held
};

HoldRules Rules(DWORD flags) {
    const DeviceProfile &p = Device::Current().Profile();
    int hold = p.GetInt("shell.hold_ms", 500);
    if (hold < 0) hold = 500;
    if (flags & SHRG_LONGDELAY) hold *= 2;
    int tolerance = p.GetInt("shell.hold_tolerance", (5 * p.dpiX + 48) / 96);
    return HoldRules{static_cast<uint64_t>(hold), tolerance};
}

bool Within(POINT a, POINT b, int tolerance) { return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance; }

// True when the stylus was held; false when an event ended the gesture.
bool WatchHold(POINT down, const HoldRules &rules, bool animate) {
    const uint64_t start = Clock::Now();
    const uint64_t deadline = start + rules.holdMs;
    HoldFeedback feedback(down);
    for (;;) {
        uint64_t now = Clock::Now();
        if (now >= deadline) return true;
        InputEvent event;
        if (PeekInputEvent(event)) {
            if (event.kind == InputEvent::kStylusMove && Within(event.point, down, rules.tolerance)) {
                PopInputEvent();  // a tremor of the hand, not a move
                continue;
            }
            return false;
        }
        double fraction = rules.holdMs ? static_cast<double>(now - start) / rules.holdMs : 1.0;
        if (animate) feedback.Show(fraction);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
        if (RunIdleDriver()) continue;
        if (Clock::IsVirtual()) {
            // Nobody will lift the stylus: the hold time passes.
            Clock::AdvanceTo(deadline);
        } else {
            // Wake for input, or for the next dot of the ring.
            uint64_t step = rules.holdMs / HoldFeedback::kDots;
            uint64_t next = step ? start + (DotsAfter(fraction) + 1) * step : deadline;
            WaitForEvents(next < deadline ? next : deadline);
        }
    }
}

}  // namespace

DWORD WINAPI SHRecognizeGesture(SHRGINFO *shrg) {
    if (!shrg || shrg->cbSize != sizeof(SHRGINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!IsWindow(shrg->hwndClient)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (!StylusIsDown()) return 0;  // lifted already: nothing is held
    POINT down = shrg->ptDown;
    ClientToScreen(shrg->hwndClient, &down);
    if (!WatchHold(down, Rules(shrg->dwFlags), !(shrg->dwFlags & SHRG_NOANIMATION))) return 0;
    SwallowNextStylusUp();
    if (shrg->dwFlags & SHRG_RETURNCMD) return GN_CONTEXTMENU;
    HWND target = (shrg->dwFlags & SHRG_NOTIFYPARENT) ? GetParent(shrg->hwndClient) : shrg->hwndClient;
    if (!target) target = shrg->hwndClient;
    NMRGINFO info{};
    info.hdr.hwndFrom = shrg->hwndClient;
    info.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongW(shrg->hwndClient, GWL_ID));
    info.hdr.code = GN_CONTEXTMENU;
    info.ptAction = down;
    return static_cast<DWORD>(SendMessageW(target, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info)));
}
