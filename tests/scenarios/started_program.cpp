// A program the Today screen starts during a scenario, in place of the
// options program: a full-screen window whose "One column" button sets the
// item to one column and asks the Today screen to reload its items (as the
// options program does after OK), whose "Help" button starts the help
// viewer on its own help file, and whose "Done" button ends it.
#include <windows.h>

namespace {

constexpr int kOneColumn = 101;
constexpr int kDone = 102;
constexpr int kHelp = 103;

void AskForOneColumn() {
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Varnhold\\Pelloran", 0, nullptr, 0, 0, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return;
    DWORD one = 1;
    RegSetValueExW(key, u"Cols", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&one), sizeof one);
    RegCloseKey(key);
    PostMessageW(GetDesktopWindow(), WM_WININICHANGE, 0xF2, 0);
}

LRESULT CALLBACK StartedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kOneColumn) AskForOneColumn();
            if (LOWORD(wParam) == kDone) DestroyWindow(hwnd);
            if (LOWORD(wParam) == kHelp) {
                WCHAR topic[] = u"file:Started.htm#second";
                CreateProcessW(u"PegHelp.exe", topic, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int main() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = StartedProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = u"StartedProgram";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, u"StartedProgram", u"Started", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                nullptr, nullptr);
    if (!hwnd) return 2;
    CreateWindowExW(0, u"BUTTON", u"One column", WS_CHILD | WS_VISIBLE, 20, 40, 100, 24, hwnd,
                    reinterpret_cast<HMENU>(kOneColumn), nullptr, nullptr);
    CreateWindowExW(0, u"BUTTON", u"Done", WS_CHILD | WS_VISIBLE, 20, 80, 100, 24, hwnd, reinterpret_cast<HMENU>(kDone),
                    nullptr, nullptr);
    CreateWindowExW(0, u"BUTTON", u"Help", WS_CHILD | WS_VISIBLE, 20, 120, 100, 24, hwnd, reinterpret_cast<HMENU>(kHelp),
                    nullptr, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
