// Messages posted to the desktop window from another process of the device.
#include <windows.h>

#include <gtest/gtest.h>

#include "ipc/desktop_channel.h"
#include "shell_support.h"
#include "window/clock.h"
#include "window/message_queue.h"
#include "window/window.h"

using namespace shell_testing;

namespace {

std::vector<MSG> received;

LRESULT CALLBACK DesktopRecorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_USER || msg == WM_WININICHANGE) received.push_back(MSG{hwnd, msg, wParam, lParam, 0, {}});
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class DesktopMessages : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DesktopRecorder;
        wc.lpszClassName = u"TestDesktop";
        RegisterClassW(&wc);
        desktop = CreateWindowExW(0, u"TestDesktop", u"Desktop", WS_POPUP, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                                  nullptr);
        wince::SetDesktopWindow(desktop);
        InstallProgram(device, "\\Windows\\poster.exe");
        received.clear();
    }
    void TearDown() override {
        wince::SetDesktopWindow(nullptr);
        DestroyWindow(desktop);
        UnregisterClassW(u"TestDesktop", nullptr);
    }
    // Runs the poster with a command line; its exit code.
    DWORD RunPoster(std::u16string commandLine) {
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(u"\\Windows\\poster.exe", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            nullptr, &pi))
            return 0xFFFF;
        WaitForSingleObject(pi.hProcess, 20000);
        DWORD code = 0xFFFF;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        return code;
    }
    // Lets the socket's messages in: they arrive as posted messages.
    void Receive(size_t expected) {
        for (int i = 0; i < 100 && received.size() < expected; ++i) {
            wince::WaitForEvents(wince::Clock::Now() + 50);
            wince::PumpReadyMessages();
        }
    }
    HWND desktop = nullptr;
};

TEST_F(DesktopMessages, ValueMessagesCrossPointerMessagesDoNot) {
    TraceFile trace(device);
    EXPECT_TRUE(wince::DesktopListening());
    EXPECT_EQ(GetDesktopWindow(), desktop);
    EXPECT_EQ(RunPoster(u"post 1029 7 -9"), 0u);   // WM_USER + 5
    EXPECT_EQ(RunPoster(u"post 26 242 0"), 0u);    // WM_WININICHANGE 0xF2: the reload request
    EXPECT_EQ(RunPoster(u"post 12 0 4096"), 4u);   // WM_SETTEXT carries a pointer: refused
    EXPECT_EQ(RunPoster(u"postfound 1030 1 2"), 0u);  // found by the shell's window class
    EXPECT_EQ(RunPoster(u"broadcast 1031 3 4"), 0u);  // a broadcast reaches the desktop too
    Receive(4);
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[0].hwnd, desktop);
    EXPECT_EQ(received[0].message, 1029u);
    EXPECT_EQ(received[0].wParam, WPARAM{7});
    EXPECT_EQ(received[0].lParam, LPARAM{-9});
    EXPECT_EQ(received[1].message, UINT{WM_WININICHANGE});
    EXPECT_EQ(received[1].wParam, WPARAM{0xF2});
    EXPECT_EQ(received[2].message, 1030u);
    EXPECT_EQ(received[3].message, 1031u);
    EXPECT_EQ(received[3].hwnd, desktop);
    // The host's own broadcast reaches its desktop once, not again through the socket.
    PostMessageW(HWND_BROADCAST, 1032, 0, 0);
    for (int i = 0; i < 4; ++i) {
        wince::WaitForEvents(wince::Clock::Now() + 50);
        wince::PumpReadyMessages();
    }
    EXPECT_EQ(received.size(), 5u);
    EXPECT_EQ(received.back().message, 1032u);
    std::vector<std::string> lines = trace.Lines();
    ASSERT_EQ(lines.size(), 9u);  // five starts, four posts (the refused one left nothing)
    EXPECT_EQ(lines[8], R"({"event":"PostMessage","target":65535,"message":1031,"wParam":3,"lParam":4})");
    EXPECT_EQ(lines[1], R"({"event":"PostMessage","target":56912,"message":1029,"wParam":7,"lParam":-9})");
}

TEST_F(DesktopMessages, NobodyListeningAfterTheHostWithdraws) {
    wince::SetDesktopWindow(nullptr);
    EXPECT_FALSE(wince::DesktopListening());
    EXPECT_EQ(RunPoster(u"postfound 1030 1 2"), 5u);  // no shell window to find
    EXPECT_FALSE(wince::SendToDesktop(WM_USER, 0, 0));
    EXPECT_FALSE(std::filesystem::exists(device.Root() / "desktop.sock"));
}

}  // namespace
