// A program that the shell, process and message tests start on the device.
// Its command line (one argument) says what to do:
//   write PATH TEXT          writes TEXT and the program's device path to the device file PATH
//   post MESSAGE WPARAM LPARAM   posts to the desktop window and exits 0 when the post succeeded
//   postfound MESSAGE WPARAM LPARAM   the same to the window FindWindow finds by the shell's class
//   broadcast MESSAGE WPARAM LPARAM   the same to HWND_BROADCAST
//   exit CODE                exits with CODE
#include <windows.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "core/unicode.h"

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
    if (verb == "exit") {
        int code = 0;
        words >> code;
        return code;
    }
    return 1;
}
