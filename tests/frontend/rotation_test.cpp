// Turning the device: the screen's size swaps, windows that filled the
// screen follow it, every top-level window hears of it, and the Today
// screen lays its items out for the new width.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceSetup.h"
#include "TodayScreen.h"
#include "core/unicode.h"
#include "device/device.h"
#include "gdi/surface.h"
#include "temp_device.h"
#include "window/message_queue.h"
#include "window/screen_size.h"

namespace {

struct Heard {
    UINT msg;
    WPARAM wParam;
    int width, height;  // WM_SIZE's client size
};

std::vector<Heard> *Log(HWND hwnd) { return reinterpret_cast<std::vector<Heard> *>(GetWindowLongPtrW(hwnd, GWL_USERDATA)); }

LRESULT CALLBACK Listener(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (auto *log = Log(hwnd)) {
        if (msg == WM_SIZE) log->push_back({msg, wParam, LOWORD(lParam), HIWORD(lParam)});
        if (msg == WM_SETTINGCHANGE) log->push_back({msg, wParam, 0, 0});
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Rotation : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(InitializeDevice(device.Root(), "qvga", false, error)) << error;
        WNDCLASSW wc{};
        wc.lpfnWndProc = Listener;
        wc.lpszClassName = u"RotationListener";
        RegisterClassW(&wc);
    }
    HWND Listening(RECT r, std::vector<Heard> &log) {
        HWND hwnd = CreateWindowExW(0, u"RotationListener", u"", WS_POPUP | WS_VISIBLE, r.left, r.top, r.right - r.left,
                                    r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&log));
        return hwnd;
    }
};

TEST_F(Rotation, WindowsThatFilledTheScreenFollowItAndEveryTopLevelWindowHearsOfIt) {
    const struct {
        RECT before;
        RECT after;
        bool sized;
    } rows[] = {
        {{0, 0, 240, 320}, {0, 0, 320, 240}, true},    // the whole screen
        {{0, 0, 240, 100}, {0, 0, 320, 100}, true},    // the width only: keeps its height
        {{0, 0, 240, 300}, {0, 0, 320, 240}, true},    // taller than the new screen: cut to it
        {{10, 10, 110, 60}, {10, 10, 110, 60}, false}, // a box in the middle stays put
        {{0, 26, 240, 320}, {0, 26, 240, 320}, false}, // below the top of the work area: not full-screen
    };
    std::vector<std::vector<Heard>> logs(std::size(rows));
    std::vector<HWND> windows;
    for (size_t i = 0; i < std::size(rows); ++i) windows.push_back(Listening(rows[i].before, logs[i]));
    wince::PumpReadyMessages();
    for (auto &log : logs) log.clear();

    ASSERT_TRUE(wince::RotateScreen());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
    EXPECT_EQ(wince::ScreenSurface()->Width(), 320);
    EXPECT_EQ(wince::ScreenSurface()->Height(), 240);
    for (size_t i = 0; i < std::size(rows); ++i) {
        RECT r;
        GetWindowRect(windows[i], &r);
        EXPECT_TRUE(EqualRect(&r, &rows[i].after)) << "row " << i << ": " << r.left << "," << r.top << "," << r.right
                                                    << "," << r.bottom;
        // WM_SIZE first, so that the window knows its new size when it hears of the change.
        std::vector<UINT> order;
        for (const Heard &h : logs[i]) order.push_back(h.msg);
        std::vector<UINT> expected = rows[i].sized ? std::vector<UINT>{WM_SIZE, WM_SETTINGCHANGE}
                                                   : std::vector<UINT>{WM_SETTINGCHANGE};
        EXPECT_EQ(order, expected) << "row " << i;
        if (logs[i].empty()) continue;
        EXPECT_EQ(logs[i].back().wParam, WPARAM{SETTINGCHANGE_RESET}) << "row " << i;
        if (rows[i].sized) {
            EXPECT_EQ(logs[i].front().width, rows[i].after.right - rows[i].after.left) << "row " << i;
            EXPECT_EQ(logs[i].front().height, rows[i].after.bottom - rows[i].after.top) << "row " << i;
        }
    }
    // Turned back, the screen is as it was; device.ini never changed.
    ASSERT_TRUE(wince::RotateScreen());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 320);
    EXPECT_EQ(wince::ReadProfile(wince::Device::Current().ProfileFile()).width, 240);
    for (HWND w : windows) DestroyWindow(w);
}

TEST_F(Rotation, SizesTheDeviceCannotHaveChangeNothing) {
    for (auto [w, h] : {std::pair{0, 320}, {240, -1}, {100000, 240}}) {
        EXPECT_FALSE(wince::ChangeScreenSize(w, h)) << w << "x" << h;
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 320);
    }
}

TEST_F(Rotation, TheTodayScreenLaysItsItemsOutForTheNewWidth) {
    for (bool tabHost : {false, true}) {
        TodayScreen::Options options;
        options.tabHost = tabHost;
        TodayScreen today(options);
        ASSERT_TRUE(today.Create());
        wince::PumpReadyMessages();
        ASSERT_EQ(today.Items().size(), 3u);
        for (auto [width, height] : {std::pair{320, 240}, {240, 320}}) {
            ASSERT_TRUE(wince::RotateScreen());
            wince::PumpReadyMessages();
            // Between the navigation bar and the menu bar, 26 pixels each.
            RECT screen;
            GetWindowRect(today.Window(), &screen);
            EXPECT_EQ(screen.right - screen.left, width);
            EXPECT_EQ(screen.top, 26);
            EXPECT_EQ(screen.bottom - screen.top, height - 52);
            int top = 26;
            for (const TodayItemSlot &slot : today.Items()) {
                std::string where = wince::ToUtf8(slot.name) + (tabHost ? " in a tab host" : "");
                RECT r;
                GetWindowRect(slot.window, &r);
                EXPECT_EQ(r.right - r.left, width) << where;
                EXPECT_EQ(r.top, top) << where;  // stacked without gaps
                EXPECT_EQ(r.bottom - r.top, static_cast<LONG>(slot.record.cyp)) << where;
                top = r.bottom;
            }
        }
    }
}

TEST_F(Rotation, AProgramStartedAfterATurnStartsTurned) {
    const struct {
        const char *inherited;
        const char *seen;
    } rows[] = {
        {"320x240", "320x240"},  // the turn of this device's screen
        {"240x320", "240x320"},
        {"100x100", "240x320"},  // not a turn of this screen: the profile's size
        {"320x240x", "240x320"},
        {"wide", "240x320"},
        {"", "240x320"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        std::string command = std::string("WINCE_DEVICE='") + device.Root().string() + "' WINCE_SCREEN='" +
                              rows[i].inherited + "' " + DEVICE_PROBE + " size";
        FILE *out = popen(command.c_str(), "r");
        ASSERT_NE(out, nullptr);
        char line[64] = {};
        fgets(line, sizeof line, out);
        pclose(out);
        EXPECT_EQ(std::string(line), std::string(rows[i].seen) + "\n") << "row " << i;
    }
}

}  // namespace
