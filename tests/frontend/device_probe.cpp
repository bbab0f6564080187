// A program of the device for the front-end tests.
//   device_probe size   prints the screen size the program sees
//   device_probe        shows a window of the screen's size, sets the Today
//                       item to one column and asks the Today screen to
//                       reload its items, as the options program does after
//                       OK; runs until closed, choosing no front end itself
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT client;
            GetClientRect(hwnd, &client);
            HBRUSH brush = CreateSolidBrush(RGB(0, 128, 64));
            FillRect(dc, &client, brush);
            DeleteObject(brush);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int RunWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.lpszClassName = u"DeviceProbe";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, u"DeviceProbe", u"Probe", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    if (!hwnd) return 2;
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Varnhold\\Pelloran", 0, nullptr, 0, 0, nullptr, &key,
                        &disposition) == ERROR_SUCCESS) {
        DWORD one = 1;
        RegSetValueExW(key, u"Cols", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&one), sizeof one);
        RegCloseKey(key);
    }
    PostMessageW(GetDesktopWindow(), WM_WININICHANGE, 0xF2, 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc > 1 && strcmp(argv[1], "size") == 0) {
        printf("%dx%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        return 0;
    }
    return RunWindow();
}
