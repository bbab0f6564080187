// The Today screen with its own items and the installed plug-in.
#include "TodayScreen.h"

#include <gtest/gtest.h>

#include <fstream>

#include "DeviceSetup.h"
#include "temp_device.h"
#include "window/clock.h"
#include "window/message_queue.h"
#include "window/window.h"

namespace {

class TodayScreenTest : public testing_support::DeviceTest {
   protected:
    void Init(const std::string &profile) {
        std::string error;
        ASSERT_TRUE(InitializeDevice(device.Root(), profile, false, error)) << error;
    }
    // Fifteen rows of one column over thirty-odd documents: the item is
    // taller than the square screen.
    void FillTallerThanTheScreen() {
        for (int i = 0; i < 30; ++i) device.WriteHostFile("\\My Documents\\extra" + std::to_string(i) + ".txt", "x");
        HKEY key;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Varnhold\\Pelloran", 0, nullptr, 0, 0, nullptr, &key, nullptr);
        DWORD rows = 15, cols = 1;
        RegSetValueExW(key, u"Rows", 0, REG_DWORD, reinterpret_cast<BYTE *>(&rows), 4);
        RegSetValueExW(key, u"Cols", 0, REG_DWORD, reinterpret_cast<BYTE *>(&cols), 4);
        RegCloseKey(key);
    }
    void Key(UINT vk) {
        wince::PostInputEvent(wince::InputEvent{wince::InputEvent::kKeyDown, {}, vk});
        wince::PostInputEvent(wince::InputEvent{wince::InputEvent::kKeyUp, {}, vk});
        wince::PumpReadyMessages();
    }
};

TEST_F(TodayScreenTest, TheListedItemSitsBetweenTheScreensOwnItems) {
    Init("qvga");
    TodayScreen today(TodayScreen::Options{});
    ASSERT_TRUE(today.Create());
    wince::PumpReadyMessages();
    ASSERT_EQ(today.Items().size(), 3u);
    EXPECT_EQ(today.Items()[1].name, u"Pelloran");
    WCHAR cls[64];
    GetClassNameW(today.Items()[1].window, cls, 64);
    EXPECT_EQ(std::u16string(cls), u"PelloranWindow");
    RECT date, item, owner;
    GetWindowRect(today.Items()[0].window, &date);
    GetWindowRect(today.Items()[1].window, &item);
    GetWindowRect(today.Items()[2].window, &owner);
    EXPECT_EQ(item.top, date.bottom);
    EXPECT_EQ(owner.top, item.bottom);
    EXPECT_EQ(static_cast<LONG>(today.Items()[1].record.cyp), item.bottom - item.top);
    EXPECT_EQ(item.right - item.left, 240);
}

TEST_F(TodayScreenTest, NavigationKeysHandTheSelectionBetweenItems) {
    Init("qvga");
    HKEY items;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items", 0, 0, &items), ERROR_SUCCESS);
    RegDeleteKeyW(items, u"Pelloran");
    RegCloseKey(items);
    TodayScreen today(TodayScreen::Options{});
    ASSERT_TRUE(today.Create());
    ASSERT_EQ(today.Items().size(), 2u);
    EXPECT_EQ(today.Selected(), -1);
    const struct {
        UINT key;
        int selected;
    } rows[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_DOWN, 1}, {VK_UP, 0}, {VK_UP, 0}, {VK_RIGHT, 0}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        Key(rows[i].key);
        EXPECT_EQ(today.Selected(), rows[i].selected) << "row " << i;
    }
}

TEST_F(TodayScreenTest, ItemsTallerThanTheScreenGetAScrollBar) {
    Init("square");
    FillTallerThanTheScreen();
    TodayScreen today(TodayScreen::Options{});
    ASSERT_TRUE(today.Create());
    wince::PumpReadyMessages();
    EXPECT_EQ(today.Items()[1].record.cyp, 270u);
    EXPECT_TRUE(GetWindowLongW(today.Window(), GWL_STYLE) & WS_VSCROLL);
    SendMessageW(today.Window(), WM_VSCROLL, SB_PAGEDOWN, 0);
    RECT date;
    GetWindowRect(today.Items()[0].window, &date);
    EXPECT_LT(date.top, 26);  // scrolled up under the navigation bar
    SendMessageW(today.Window(), WM_VSCROLL, SB_TOP, 0);
    GetWindowRect(today.Items()[0].window, &date);
    EXPECT_EQ(date.top, 26);  // right under the navigation bar
}

// Once the Today screen needs its scroll bar the plug-in gives up the bar's
// width, whether it is the screen's child or three levels down in a tab host.
TEST_F(TodayScreenTest, TheItemNarrowsByTheTodayScreensScrollBar) {
    for (bool tabHost : {false, true}) {
        Init("square");
        FillTallerThanTheScreen();
        TodayScreen::Options options;
        options.tabHost = tabHost;
        TodayScreen today(options);
        ASSERT_TRUE(today.Create());
        wince::PumpReadyMessages();
        ASSERT_TRUE(GetWindowLongW(today.Window(), GWL_STYLE) & WS_VSCROLL) << "tab host " << tabHost;
        HWND item = today.Items()[1].window;
        InvalidateRect(item, nullptr, TRUE);
        UpdateWindow(item);
        RECT r;
        GetWindowRect(item, &r);
        EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN) - GetSystemMetrics(SM_CXVSCROLL))
            << "tab host " << tabHost;
    }
}

TEST_F(TodayScreenTest, TheSettingsBroadcastRecreatesTheItems) {
    Init("qvga");
    TodayScreen today(TodayScreen::Options{});
    ASSERT_TRUE(today.Create());
    HWND before = today.Items()[1].window;
    PostMessageW(today.Window(), WM_WININICHANGE, 0xF2, 0);
    wince::PumpReadyMessages();
    EXPECT_FALSE(IsWindow(before));
    ASSERT_EQ(today.Items().size(), 3u);
    EXPECT_TRUE(IsWindow(today.Items()[1].window));
    PostMessageW(today.Window(), WM_WININICHANGE, 0, 0);  // any other change keeps them
    HWND now = today.Items()[1].window;
    wince::PumpReadyMessages();
    EXPECT_EQ(today.Items()[1].window, now);
}

TEST_F(TodayScreenTest, ATabHostPlacesTheItemThreeLevelsDown) {
    Init("qvga");
    TodayScreen::Options options;
    options.tabHost = true;
    TodayScreen today(options);
    ASSERT_TRUE(today.Create());
    HWND item = today.Items()[1].window;
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(GetParent(GetParent(GetParent(item))), today.Window());
}

std::u16string LastDrawnText(HWND hwnd) {
    wince::Window *w = wince::FromHandle(hwnd);
    return w && !w->drawnText.empty() ? w->drawnText.back().text : u"";
}

TEST_F(TodayScreenTest, TheDateFollowsTheClockPastMidnight) {
    Init("qvga");
    std::ofstream(device.Root() / "device.ini", std::ios::app) << "\n[clock]\nstart = 2026-12-07 23:00:00\n";
    wince::Device::Select(device.Root());
    TodayScreen today(TodayScreen::Options{});
    ASSERT_TRUE(today.Create());
    wince::PumpReadyMessages();
    HWND date = today.Items()[0].window;
    SYSTEMTIME now;
    GetLocalTime(&now);
    ASSERT_EQ(now.wHour, 23);  // this process's clock starts at the profile's time
    uint64_t toMidnight = ((59 - now.wMinute) * 60 + (60 - now.wSecond)) * 1000 - now.wMilliseconds;
    EXPECT_EQ(LastDrawnText(date), u"Monday, December 7, 2026");
    wince::Clock::Advance(toMidnight - 1);
    wince::PumpReadyMessages();
    EXPECT_EQ(LastDrawnText(date), u"Monday, December 7, 2026");
    wince::Clock::Advance(1);
    wince::PumpReadyMessages();
    EXPECT_EQ(LastDrawnText(date), u"Tuesday, December 8, 2026");
}

}  // namespace
