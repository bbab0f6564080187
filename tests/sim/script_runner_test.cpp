// The script runner drives modal loops like a user: a hold opens a menu and
// the next line clicks one of its items; clicks find buttons by their text.
#include <windows.h>

#include <aygshell.h>
#include <gtest/gtest.h>

#include "ScriptRunner.h"
#include "temp_device.h"
#include "window/message_queue.h"

namespace {

UINT chosen = 0;
std::vector<WPARAM> commands;

LRESULT CALLBACK HoldWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONDOWN) {
        SHRGINFO info{sizeof info, hwnd, {LOWORD(lParam), HIWORD(lParam)}, SHRG_RETURNCMD};
        if (SHRecognizeGesture(&info) == GN_CONTEXTMENU) {
            HMENU menu = CreatePopupMenu();
            AppendMenuW(menu, MF_STRING, 5001, u"Open");
            AppendMenuW(menu, MF_STRING, 5002, u"&Rename...");
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING | MF_GRAYED, 5003, u"Delete");
            POINT p{LOWORD(lParam), HIWORD(lParam)};
            ClientToScreen(hwnd, &p);
            chosen = TrackPopupMenu(menu, TPM_RETURNCMD, p.x, p.y, 0, hwnd, nullptr);
            DestroyMenu(menu);
        }
        return 0;
    }
    if (msg == WM_COMMAND) commands.push_back(wParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Runner : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = HoldWindow;
        wc.lpszClassName = u"HoldWindow";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, u"HoldWindow", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                 nullptr, nullptr);
        chosen = 0;
        commands.clear();
    }
    void TearDown() override {
        DestroyWindow(window);
        UnregisterClassW(u"HoldWindow", nullptr);
        wince::SetIdleDriver(nullptr);
    }
    // Runs the script to its end the way pelloran-sim does.
    void Run(ScriptRunner &runner, const std::string &text) {
        std::string error;
        ASSERT_TRUE(runner.Load(text, "t.txt", error)) << error;
        runner.Start();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    HWND window = nullptr;
};

TEST_F(Runner, HoldOpensTheMenuAndClickChoosesAnItem) {
    ScriptRunner runner;
    Run(runner, "hold 60 80\nclick Rename...\n");
    EXPECT_FALSE(runner.Failed()) << runner.Error();
    EXPECT_EQ(chosen, 5002u);
}

TEST_F(Runner, DisabledAndMissingItemsCannotBeClicked) {
    struct Row {
        const char *script;
        const char *error;
    };
    const Row rows[] = {
        {"hold 60 80\nclick Delete\n", "t.txt:2: nothing named \"Delete\" can be clicked now"},
        {"hold 60 80\nclick Close\n", "t.txt:2: nothing named \"Close\" can be clicked now"},
        {"tap 60 80\nclick Open\n", "t.txt:2: nothing named \"Open\" can be clicked now"},  // a tap opens no menu
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        ScriptRunner runner;
        chosen = 99;
        Run(runner, rows[i].script);
        EXPECT_TRUE(runner.Failed()) << "row " << i;
        EXPECT_EQ(runner.Error(), rows[i].error) << "row " << i;
        EXPECT_NE(chosen, 5003u) << "row " << i;
    }
}

TEST_F(Runner, ClickFindsOneButtonByItsText) {
    CreateWindowExW(0, u"BUTTON", u"&Apply", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 60, 20, window,
                    reinterpret_cast<HMENU>(11), nullptr, nullptr);
    CreateWindowExW(0, u"BUTTON", u"Same", WS_CHILD | WS_VISIBLE, 10, 40, 60, 20, window, reinterpret_cast<HMENU>(12),
                    nullptr, nullptr);
    CreateWindowExW(0, u"BUTTON", u"Same", WS_CHILD | WS_VISIBLE, 10, 70, 60, 20, window, reinterpret_cast<HMENU>(13),
                    nullptr, nullptr);
    CreateWindowExW(0, u"BUTTON", u"Off", WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 100, 60, 20, window,
                    reinterpret_cast<HMENU>(14), nullptr, nullptr);
    ScriptRunner ok;
    Run(ok, "click Apply\n");
    EXPECT_FALSE(ok.Failed()) << ok.Error();
    EXPECT_EQ(commands, std::vector<WPARAM>{MAKEWPARAM(11, BN_CLICKED)});
    ScriptRunner twice;
    Run(twice, "click Same\n");
    EXPECT_EQ(twice.Error(), "t.txt:1: 2 things named \"Same\" can be clicked (button, button)");
    ScriptRunner disabled;
    Run(disabled, "click Off\n");
    EXPECT_EQ(disabled.Error(), "t.txt:1: nothing named \"Off\" can be clicked now");
}

}  // namespace
