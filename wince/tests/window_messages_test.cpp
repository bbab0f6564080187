// Window manager conformance: message order, painting, timers on the
// virtual clock, focus and input routing.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "temp_device.h"
#include "window/clock.h"
#include "window/message_queue.h"
#include "device/device.h"

namespace {

struct Logged {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    bool operator==(const Logged &o) const { return hwnd == o.hwnd && message == o.message && wParam == o.wParam; }
};

std::vector<Logged> messages;
bool logAll = false;

bool Interesting(UINT m) {
    switch (m) {
        case WM_CREATE: case WM_SIZE: case WM_MOVE: case WM_DESTROY: case WM_PAINT: case WM_ERASEBKGND:
        case WM_TIMER: case WM_SETFOCUS: case WM_KILLFOCUS: case WM_ACTIVATE: case WM_SHOWWINDOW:
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_MOUSEMOVE: case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR:
        case WM_VSCROLL: case WM_ENABLE: case WM_WINDOWPOSCHANGED: case WM_USER:
            return true;
    }
    return logAll;
}

LRESULT CALLBACK Recorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (Interesting(msg)) messages.push_back(Logged{hwnd, msg, msg == WM_TIMER || msg == WM_KEYDOWN || msg == WM_CHAR || msg == WM_VSCROLL ? wParam : 0});
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class WindowTest : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Recorder;
        wc.lpszClassName = u"Recorder";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&wc);
        messages.clear();
    }
    void TearDown() override {
        for (HWND h : made)
            if (IsWindow(h)) DestroyWindow(h);
        UnregisterClassW(u"Recorder", nullptr);
        wince::PumpReadyMessages();
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND Make(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, DWORD ex = 0) {
        HWND hwnd = CreateWindowExW(ex, u"Recorder", u"t", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
        made.push_back(hwnd);
        return hwnd;
    }
    std::vector<HWND> made;
};

std::vector<UINT> MessagesOf(HWND hwnd) {
    std::vector<UINT> out;
    for (const Logged &l : messages)
        if (l.hwnd == hwnd) out.push_back(l.message);
    return out;
}

TEST_F(WindowTest, CreationSendsCreateSizeMoveAndNoNonClientCreate) {
    logAll = true;
    HWND top = Make(WS_POPUP, 0, 0, 100, 100);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 5, 6, 50, 40, top);
    logAll = false;
    std::vector<UINT> expected{WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_WINDOWPOSCHANGING};
    std::vector<UINT> got = MessagesOf(child);
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(got[0], UINT(WM_CREATE));
    EXPECT_EQ(got[1], UINT(WM_SIZE));
    EXPECT_EQ(got[2], UINT(WM_MOVE));
    for (UINT m : MessagesOf(top)) EXPECT_NE(m, UINT(WM_NCCREATE));
    EXPECT_FALSE(IsWindowVisible(child));  // its parent is hidden
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.bottom, 46);
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetWindow(top, GW_CHILD), child);
}

TEST_F(WindowTest, PaintComesWhenTheQueueIsEmptyAndOnlyOnce) {
    HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    wince::PumpReadyMessages();
    messages.clear();
    PostMessageW(top, WM_USER, 0, 0);
    InvalidateRect(top, nullptr, TRUE);
    EXPECT_EQ(wince::PumpReadyMessages(), 2);
    std::vector<UINT> expected{WM_USER, WM_PAINT, WM_ERASEBKGND};
    EXPECT_EQ(MessagesOf(top), expected);
    EXPECT_EQ(wince::PumpReadyMessages(), 0);
    RECT r;
    EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
}

TEST_F(WindowTest, TimersFireInOrderOnTheVirtualClock) {
    HWND top = Make(WS_POPUP, 0, 0, 10, 10);
    messages.clear();
    SetTimer(top, 203, 1000, nullptr);
    SetTimer(top, 201, 100, nullptr);
    wince::PumpReadyMessages();
    EXPECT_TRUE(messages.empty());  // time has not moved
    wince::Clock::Advance(100);
    wince::PumpReadyMessages();
    wince::Clock::Advance(900);
    wince::PumpReadyMessages();
    KillTimer(top, 201);
    wince::Clock::Advance(1000);
    wince::PumpReadyMessages();
    std::vector<Logged> expected{{top, WM_TIMER, 201}, {top, WM_TIMER, 201}, {top, WM_TIMER, 203}, {top, WM_TIMER, 203}};
    EXPECT_EQ(messages, expected);
    EXPECT_FALSE(KillTimer(top, 999));
    DWORD before = GetTickCount();
    Sleep(50);
    EXPECT_EQ(GetTickCount() - before, 50u);
}

TEST_F(WindowTest, StylusGoesToTheWindowUnderItAndKeysToTheFocus) {
    HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND a = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top);
    HWND b = Make(WS_CHILD | WS_VISIBLE | WS_DISABLED, 100, 10, 50, 50, top);
    wince::PumpReadyMessages();
    messages.clear();
    using E = wince::InputEvent;
    wince::PostInputEvent(E{E::kStylusDown, {20, 30}});
    wince::PostInputEvent(E{E::kStylusUp, {20, 30}});
    wince::PostInputEvent(E{E::kStylusDown, {110, 30}});  // disabled: dropped
    wince::PostInputEvent(E{E::kStylusUp, {110, 30}});
    SetFocus(a);
    wince::PostInputEvent(E{E::kKeyDown, {}, 'Q'});
    wince::PumpReadyMessages();
    std::vector<UINT> expectedA{WM_SETFOCUS, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_CHAR};
    EXPECT_EQ(MessagesOf(a), expectedA);
    EXPECT_TRUE(MessagesOf(b).empty());
    EXPECT_EQ(messages.back().wParam, WPARAM('q'));
}

TEST_F(WindowTest, DestroyingSendsDestroyParentFirstAndInvalidatesHandles) {
    HWND top = Make(WS_POPUP, 0, 0, 100, 100);
    HWND child = Make(WS_CHILD, 0, 0, 10, 10, top);
    SetTimer(child, 1, 100, nullptr);
    messages.clear();
    EXPECT_TRUE(DestroyWindow(top));
    std::vector<Logged> expected{{top, WM_DESTROY, 0}, {child, WM_DESTROY, 0}};
    EXPECT_EQ(messages, expected);
    EXPECT_FALSE(IsWindow(child));
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(top));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
    wince::Clock::Advance(200);
    EXPECT_EQ(wince::PumpReadyMessages(), 0);  // the child's timer went with it
}

TEST_F(WindowTest, ScrollInfoShowsTheBarAndClampsThePosition) {
    HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    EXPECT_FALSE(GetScrollInfo(top, SB_VERT, &si));
    SCROLLINFO set{sizeof set, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 199, 100, 150, 0};
    EXPECT_EQ(SetScrollInfo(top, SB_VERT, &set, TRUE), 100);  // at most max - page + 1
    EXPECT_TRUE(GetWindowLongW(top, GWL_STYLE) & WS_VSCROLL);
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(client.right, 100 - GetSystemMetrics(SM_CXVSCROLL));
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(top, SB_VERT, &si));
    EXPECT_EQ(si.nPos, 100);
    EXPECT_EQ(si.nPage, 100u);
    SCROLLINFO fits{sizeof fits, SIF_RANGE | SIF_PAGE, 0, 50, 100, 0, 0};
    SetScrollInfo(top, SB_VERT, &fits, TRUE);
    EXPECT_FALSE(GetWindowLongW(top, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(WindowTest, WindowLongsAndText) {
    HWND top = Make(WS_POPUP, 0, 0, 10, 10);
    SetWindowLongPtrW(top, GWL_USERDATA, 0x1234567890);
    EXPECT_EQ(GetWindowLongPtrW(top, GWL_USERDATA), 0x1234567890);
    EXPECT_EQ(GetWindowLongPtrW(top, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&Recorder));
    SetLastError(0);
    EXPECT_EQ(GetWindowLongW(top, 0), 0);  // no extra bytes
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
    EXPECT_TRUE(SetWindowTextW(top, u"Hello"));
    WCHAR text[4];
    EXPECT_EQ(GetWindowTextW(top, text, 4), 3);
    EXPECT_EQ(std::u16string(text), u"Hel");
    EXPECT_EQ(GetWindowTextLengthW(top), 5);
    WCHAR cls[32];
    EXPECT_EQ(GetClassNameW(top, cls, 32), 8);
    EXPECT_EQ(UnregisterClassW(u"Recorder", nullptr), FALSE);  // it has a window
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_HAS_WINDOWS));
}

TEST_F(WindowTest, RegisteredMessagesAgreeByNameIgnoringCase) {
    UINT a = RegisterWindowMessageW(u"DisableScrollBarMessage");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageW(u"disablescrollbarmessage"), a);
    EXPECT_NE(RegisterWindowMessageW(u"Other"), a);
}

}  // namespace

namespace {

using SystemTest = testing_support::DeviceTest;

TEST_F(SystemTest, ColoursVersionAndPlatformComeFromTheDevice) {
    std::ofstream(device.Root() / "device.ini") << "[screen]\nwidth = 480\nheight = 640\ndpi_x = 192\ndpi_y = 192\n"
                                                   "[os]\nversion = 4.21\nplatform = PocketPC\n[colors]\nhighlight = #102030\n";
    wince::Device::Select(device.Root());
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT | SYS_COLOR_INDEX_FLAG), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT | SYS_COLOR_INDEX_FLAG), GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 480);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 640);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 26);
    OSVERSIONINFOW v{};
    SetLastError(0);
    EXPECT_FALSE(GetVersionExW(&v));  // the size must be set
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    v.dwOSVersionInfoSize = sizeof v;
    ASSERT_TRUE(GetVersionExW(&v));
    EXPECT_EQ(v.dwMajorVersion, 4u);
    EXPECT_EQ(v.dwMinorVersion, 21u);
    EXPECT_EQ(v.dwPlatformId, DWORD(VER_PLATFORM_WIN32_CE));
    WCHAR platform[256];
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof platform, platform, 0));
    EXPECT_EQ(std::u16string(platform), u"PocketPC");
    SetLastError(0);
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETPLATFORMTYPE, 8, platform, 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
}

}  // namespace
