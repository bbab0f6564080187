// Tap-and-hold recognition on the virtual clock: the hold time, the
// tolerance for a wandering stylus, and where the events that end it go.
#include <windows.h>

#include <aygshell.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <vector>

#include "device/device.h"
#include "gdi/surface.h"
#include "menu_support.h"
#include "temp_device.h"
#include "window/clock.h"

using namespace menu_testing;

namespace {

struct Seen {
    DWORD gesture = 0xFFFF;
    int ups = 0, moves = 0, notifies = 0;
    NMRGINFO notify{};
    DWORD flags = SHRG_RETURNCMD;
};
Seen seen;

LRESULT CALLBACK HoldProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN: {
            SHRGINFO info{sizeof info, hwnd, {LOWORD(lParam), HIWORD(lParam)}, seen.flags};
            seen.gesture = SHRecognizeGesture(&info);
            return 0;
        }
        case WM_LBUTTONUP: ++seen.ups; return 0;
        case WM_MOUSEMOVE: ++seen.moves; return 0;
        case WM_NOTIFY:
            ++seen.notifies;
            seen.notify = *reinterpret_cast<NMRGINFO *>(lParam);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Gesture : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = HoldProc;
        wc.lpszClassName = u"HoldTarget";
        RegisterClassW(&wc);
        // A child at (20, 10) on a full-screen window, so client and screen points differ.
        top = CreateWindowExW(0, u"HoldTarget", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                              nullptr);
        target = CreateWindowExW(0, u"HoldTarget", u"", WS_CHILD | WS_VISIBLE, 20, 10, 200, 200, top,
                                 reinterpret_cast<HMENU>(7), nullptr, nullptr);
        wince::PumpReadyMessages();
        seen = Seen{};
    }
    void TearDown() override {
        DestroyWindow(top);
        UnregisterClassW(u"HoldTarget", nullptr);
        wince::PumpReadyMessages();
    }
    // Puts the stylus down at a screen point and lets the window recognise.
    void Press(POINT at, std::vector<std::function<void()>> steps) {
        StepDriver driver(std::move(steps));
        wince::PostInputEvent({wince::InputEvent::kStylusDown, at});
        wince::PumpReadyMessages();
        EXPECT_FALSE(driver.RanDry());
    }
    HWND top = nullptr, target = nullptr;
};

std::function<void()> After(uint64_t ms, std::function<void()> then = [] {}) {
    return [ms, then] {
        wince::Clock::Advance(ms);
        then();
    };
}

void Up(POINT at) { wince::PostInputEvent({wince::InputEvent::kStylusUp, at}); }
void Move(POINT at) { wince::PostInputEvent({wince::InputEvent::kStylusMove, at}); }

TEST_F(Gesture, HoldVersusTap) {
    const POINT at{60, 50};
    struct Row {
        const char *name;
        std::vector<std::function<void()>> steps;
        DWORD gesture;
        int ups, moves;  // delivered to the window, after a final lift
    };
    std::vector<Row> rows = {
        {"lifted just before the hold time", {After(499, [=] { Up(at); })}, 0, 1, 0},
        {"held exactly the hold time", {After(500)}, GN_CONTEXTMENU, 0, 0},
        {"lifted at the hold time", {After(500, [=] { Up(at); })}, GN_CONTEXTMENU, 0, 0},
        {"held in small steps", {After(200), After(200), After(100)}, GN_CONTEXTMENU, 0, 0},
        {"wandered within the tolerance", {After(100, [=] { Move(POINT{at.x + 5, at.y - 5}); }), After(400)},
         GN_CONTEXTMENU, 0, 0},
        {"moved beyond the tolerance", {After(100, [=] { Move(POINT{at.x + 6, at.y}); })}, 0, 1, 1},
        {"a quick tap", {[=] { Up(at); }}, 0, 1, 0},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        seen = Seen{};
        uint64_t start = wince::Clock::Now();
        Press(at, rows[i].steps);
        EXPECT_EQ(seen.gesture, rows[i].gesture) << "row " << i << " " << rows[i].name;
        EXPECT_LE(wince::Clock::Now() - start, 500u) << "row " << i << " " << rows[i].name;
        if (wince::StylusIsDown()) Up(at);  // the user lifts the stylus at last
        wince::PumpReadyMessages();
        EXPECT_EQ(seen.ups, rows[i].ups) << "row " << i << " " << rows[i].name;
        EXPECT_EQ(seen.moves, rows[i].moves) << "row " << i << " " << rows[i].name;
        EXPECT_FALSE(wince::StylusIsDown()) << "row " << i << " " << rows[i].name;
        // The stylus is the window's again.
        seen.ups = 0;
        Up(at);
        wince::PumpReadyMessages();
        EXPECT_EQ(seen.ups, 1) << "row " << i << " " << rows[i].name;
    }
}

TEST_F(Gesture, HoldTimeComesFromTheDeviceProfile) {
    std::ofstream(device.Root() / "device.ini") << "[shell]\nhold_ms = 800\n";
    wince::Device::Select(device.Root());
    const POINT at{60, 50};
    Press(at, {After(799, [=] { Up(at); })});
    EXPECT_EQ(seen.gesture, 0u);
    wince::PumpReadyMessages();
    Press(at, {After(800)});
    EXPECT_EQ(seen.gesture, DWORD{GN_CONTEXTMENU});
    Up(at);
    wince::PumpReadyMessages();
}

TEST_F(Gesture, RingOfDotsShowsDuringTheHoldAndGoesAfter) {
    const POINT at{100, 120};
    COLORREF during = 0, before = 0;
    bool shown = false;
    wince::ComposeScreen();
    before = wince::ScreenSurface()->Pixel(at.x, at.y - 13);
    Press(at, {After(499),
               [&] {
                   // The loop has drawn the ring: the top dot sits above the point.
                   shown = FindWindowW(u"HoldFeedback", nullptr) != nullptr;
                   wince::ComposeScreen();
                   during = wince::ScreenSurface()->Pixel(at.x, at.y - 13);
               },
               After(1)});
    EXPECT_TRUE(shown);
    EXPECT_EQ(during, RGB(255, 0, 0));  // red, seen on a highlighted selection too
    EXPECT_EQ(FindWindowW(u"HoldFeedback", nullptr), nullptr);
    Up(at);
    wince::PumpReadyMessages();
    wince::ComposeScreen();
    EXPECT_EQ(wince::ScreenSurface()->Pixel(at.x, at.y - 13), before);
}

TEST_F(Gesture, WithoutReturnCmdTheWindowIsNotified) {
    seen.flags = 0;
    const POINT at{60, 50};
    Press(at, {After(500)});
    EXPECT_EQ(seen.notifies, 1);
    EXPECT_EQ(seen.notify.hdr.hwndFrom, target);
    EXPECT_EQ(seen.notify.hdr.idFrom, UINT_PTR{7});
    EXPECT_EQ(seen.notify.hdr.code, UINT{GN_CONTEXTMENU});
    EXPECT_EQ(seen.notify.ptAction.x, at.x);
    EXPECT_EQ(seen.notify.ptAction.y, at.y);
    Up(at);
    wince::PumpReadyMessages();
    EXPECT_EQ(seen.ups, 0);
}

TEST_F(Gesture, RefusesBadArguments) {
    SHRGINFO bad{sizeof bad - 1, target, {0, 0}, SHRG_RETURNCMD};
    SetLastError(0xDEADBEEF);
    EXPECT_EQ(SHRecognizeGesture(&bad), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    SetLastError(0xDEADBEEF);
    EXPECT_EQ(SHRecognizeGesture(nullptr), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    SHRGINFO gone{sizeof gone, reinterpret_cast<HWND>(0x42), {0, 0}, SHRG_RETURNCMD};
    SetLastError(0xDEADBEEF);
    EXPECT_EQ(SHRecognizeGesture(&gone), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_WINDOW_HANDLE});
}

}  // namespace
