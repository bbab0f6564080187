// A device program with the Pocket PC's bars, for scenarios of the Start
// menu and menu bars: a window between the bars whose menu bar holds "Done"
// (ends the program) and the "Tools" drop-down ("About" shows a message
// box; "Later" is disabled when the popup opens). Help (WM_HELP) starts the
// help viewer on the program's own help file.
#include <aygshell.h>
#include <commctrl.h>
#include <windows.h>

namespace {

constexpr UINT kDone = 201;
constexpr UINT kAbout = 202;
constexpr UINT kLater = 203;

HMENU BarMenu() {
    HMENU tools = CreatePopupMenu();
    AppendMenuW(tools, MF_STRING, kAbout, u"About");
    AppendMenuW(tools, MF_STRING, kLater, u"Later");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, kDone, u"Done");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), u"Tools");
    return bar;
}

LRESULT CALLBACK MenuProgramProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITMENUPOPUP:
            EnableMenuItem(reinterpret_cast<HMENU>(wParam), kLater, MF_BYCOMMAND | MF_GRAYED);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kAbout) MessageBoxW(hwnd, u"Menu program", u"About", MB_OK);
            if (LOWORD(wParam) == kDone) DestroyWindow(hwnd);
            return 0;
        case WM_HELP: {
            WCHAR topic[] = u"file:Menu.htm#help";
            CreateProcessW(u"PegHelp.exe", topic, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr);
            return TRUE;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int main() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MenuProgramProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = u"MenuProgram";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, u"MenuProgram", u"Menu", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    if (!hwnd) return 2;
    SHMENUBARINFO mb{};
    mb.cbSize = sizeof mb;
    mb.hwndParent = hwnd;
    mb.dwFlags = SHCMBF_EMPTYBAR;
    if (!SHCreateMenuBar(&mb) ||
        !CommandBar_InsertMenubarEx(mb.hwndMB, nullptr, reinterpret_cast<LPWSTR>(BarMenu()), 0))
        return 3;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(hwnd, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top, SWP_NOZORDER);
    ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
