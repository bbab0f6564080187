// A program that the shell, process and message tests start on the device.
// Its command line (one argument) says what to do:
//   write PATH TEXT          writes TEXT and the program's device path to the device file PATH
//   post MESSAGE WPARAM LPARAM   posts to the desktop window and exits 0 when the post succeeded
//   postfound MESSAGE WPARAM LPARAM   the same to the window FindWindow finds by the shell's class
//   broadcast MESSAGE WPARAM LPARAM   the same to HWND_BROADCAST
//   exit CODE                exits with CODE
//   today                    shows a window, then chooses Today in the Start menu: exits 0
//                            when its window went behind, 6 when it stayed in front
//   foreground               SetForegroundWindow of the window FindWindow finds by the shell's class
//   ask                      asks a question in a message box, then exits 0
//   crash                    shows a window that aborts the program at the first tap or key
#include <windows.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "core/unicode.h"
#include "shell/shell_bars.h"

int main(int argc, char **argv) {
    std::istringstream words(argc > 1 ? argv[1] : "");
    std::string verb;
    words >> verb;
    if (verb == "write") {
        std::string path, text;
        words >> path >> text;
        const char *program = getenv("WINCE_PROGRAM");
        std::string content = text + "|" + (program ? program : "");
        HANDLE file = CreateFileW(wince::FromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 2;
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        return written == content.size() ? 0 : 3;
    }
    if (verb == "post" || verb == "postfound" || verb == "broadcast") {
        unsigned long message = 0, wParam = 0;
        long lParam = 0;
        words >> message >> wParam >> lParam;
        HWND target = verb == "post"        ? GetDesktopWindow()
                      : verb == "broadcast" ? HWND_BROADCAST
                                            : FindWindowW(u"DesktopExplorerWindow", nullptr);
        if (!target) return 5;
        return PostMessageW(target, static_cast<UINT>(message), wParam, lParam) ? 0 : 4;
    }
    if (verb == "today") {
        HWND own = CreateWindowExW(0, u"STATIC", u"Program", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                   nullptr, nullptr);
        if (!own || GetActiveWindow() != own) return 7;
        wince::shell::ShowToday();
        return GetActiveWindow() == own ? 6 : 0;
    }
    if (verb == "ask") {
        MessageBoxW(nullptr, u"Go on?", u"Question", MB_YESNO);
        return 0;
    }
    if (verb == "crash") {
        WNDCLASSW wc{};
        wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_LBUTTONDOWN || message == WM_KEYDOWN || message == WM_CHAR) abort();
            return DefWindowProcW(hwnd, message, wParam, lParam);
        };
        wc.lpszClassName = u"Crashing";
        RegisterClassW(&wc);
        HWND own = CreateWindowExW(0, u"Crashing", u"Crashing", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr,
                                   nullptr, nullptr, nullptr);
        SetFocus(own);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
        return 0;
    }
    if (verb == "foreground") {
        HWND target = FindWindowW(u"DesktopExplorerWindow", nullptr);
        if (!target) return 5;
        return SetForegroundWindow(target) ? 0 : 4;
    }
    if (verb == "exit") {
        int code = 0;
        words >> code;
        return code;
    }
    return 1;
}
