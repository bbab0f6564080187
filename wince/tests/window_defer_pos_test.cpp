// BeginDeferWindowPos, DeferWindowPos and EndDeferWindowPos: moves collected
// under one handle happen together at the end.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_device.h"

namespace {

std::vector<HWND> moved;

LRESULT CALLBACK Recorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_WINDOWPOSCHANGED) moved.push_back(hwnd);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class DeferPos : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Recorder;
        wc.lpszClassName = u"DeferChild";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, u"DeferChild", u"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
        for (HWND &c : children)
            c = CreateWindowExW(0, u"DeferChild", u"", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
        moved.clear();
    }
    void TearDown() override {
        DestroyWindow(parent);
        UnregisterClassW(u"DeferChild", nullptr);
    }
    std::string Where(HWND w) {
        RECT r;
        GetWindowRect(w, &r);
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "x" +
               std::to_string(r.bottom - r.top);
    }
    HWND parent = nullptr;
    HWND children[3] = {};
};

TEST_F(DeferPos, MovesWaitForTheEndAndMergePerWindow) {
    HDWP h = BeginDeferWindowPos(2);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(DeferWindowPos(h, children[0], nullptr, 5, 6, 30, 40, SWP_NOZORDER), h);
    EXPECT_EQ(DeferWindowPos(h, children[1], nullptr, 50, 60, 0, 0, SWP_NOZORDER | SWP_NOSIZE), h);
    // A second move of the first window keeps its size and takes the new place.
    EXPECT_EQ(DeferWindowPos(h, children[0], nullptr, 7, 8, 0, 0, SWP_NOZORDER | SWP_NOSIZE), h);
    // More windows than announced are fine.
    EXPECT_EQ(DeferWindowPos(h, children[2], nullptr, 1, 1, 2, 2, SWP_NOZORDER), h);
    EXPECT_TRUE(moved.empty());
    EXPECT_EQ(Where(children[0]), "0,0,10x10");
    EXPECT_TRUE(EndDeferWindowPos(h));
    EXPECT_EQ(Where(children[0]), "7,8,30x40");
    EXPECT_EQ(Where(children[1]), "50,60,10x10");
    EXPECT_EQ(Where(children[2]), "1,1,2x2");
    EXPECT_EQ(moved, (std::vector<HWND>{children[0], children[1], children[2]}));
}

TEST_F(DeferPos, BadHandlesAndVanishedWindows) {
    SetLastError(0);
    EXPECT_EQ(BeginDeferWindowPos(-1), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(DeferWindowPos(reinterpret_cast<HDWP>(0x1234), children[0], nullptr, 1, 1, 1, 1, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0);
    EXPECT_FALSE(EndDeferWindowPos(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    // A window that is gone, or none at all, is skipped at the end.
    HDWP h = BeginDeferWindowPos(0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(DeferWindowPos(h, children[0], nullptr, 9, 9, 9, 9, SWP_NOZORDER), h);
    EXPECT_EQ(DeferWindowPos(h, nullptr, nullptr, 9, 9, 9, 9, SWP_NOZORDER), h);
    EXPECT_EQ(DeferWindowPos(h, children[1], nullptr, 3, 3, 3, 3, SWP_NOZORDER), h);
    DestroyWindow(children[0]);
    EXPECT_TRUE(EndDeferWindowPos(h));
    EXPECT_EQ(Where(children[1]), "3,3,3x3");
    EXPECT_FALSE(EndDeferWindowPos(h)) << "a handle ends once";
}

}  // namespace
