#include "item/HeightQuery.h"

#include "drawing/ScreenMetrics.h"
#include "item/GridLayout.h"
#include "item/ItemState.h"
#include "item/ItemWindow.h"

namespace {

constexpr WCHAR kEmptyWindowClass[] = TEXT("VarnEmptyWindow");

int ScaledHeight(int h) {
    int magnitude = h < 0 ? -h : h;
    int scaled = (magnitude * DisplayResolution.logPixelsY + 48) / 96;
    return h < 0 ? -scaled : scaled;
}

}  // namespace

LRESULT QueryItemHeight(HWND hwnd, TODAYLISTITEM *record) {
    if (!record) return TRUE;
    int height = ScaledHeight(ItemHeight(itemWindow.DocumentCount(), itemWindow.cols, itemWindow.rows));
    DWORD cyp = static_cast<DWORD>(height);
    if (cyp == record->cyp) return FALSE;
    if (cyp < record->cyp) SetTimer(hwnd, RepaintBelowTimer, 100, nullptr);
    record->cyp = cyp;
    return TRUE;
}

// Older Today screens do not repaint what an item uncovers when it shrinks:
// scroll the Today screen to its top if it is there anyway, then flash a
// blank popup over everything below the item.
void RepaintBelowItem(HWND hwnd) {
    KillTimer(hwnd, RepaintBelowTimer);
    if (IsNewTodayPlatform()) return;
    RECT item;
    GetWindowRect(hwnd, &item);
    HWND host = GetParent(hwnd);
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    bool scrolled = (GetWindowLongW(host, GWL_STYLE) & WS_VSCROLL) && GetScrollInfo(host, SB_VERT, &si) && si.nPos != 0;
    if (!scrolled) {
        SendMessageW(host, WM_VSCROLL, SB_TOP, 0);
        SendMessageW(host, WM_VSCROLL, SB_ENDSCROLL, 0);
        InvalidateRect(host, nullptr, FALSE);
        UpdateWindow(host);
    }
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = ModuleHandle;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = kEmptyWindowClass;
    RegisterClassW(&wc);  // may exist already, from this or another program
    HDC screen = GetDC(nullptr);
    int width = GetDeviceCaps(screen, HORZRES);
    int height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    HWND flash = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kEmptyWindowClass, TEXT("VarnEmptyUpdateWindow"),
                                 WS_POPUP | WS_VISIBLE, 0, item.bottom, width, height - item.bottom, nullptr, nullptr,
                                 ModuleHandle, nullptr);
    if (flash) {
        Sleep(50);
        DestroyWindow(flash);
    }
}
