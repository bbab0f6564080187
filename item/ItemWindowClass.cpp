#include "item/ItemWindowClass.h"

#include <aygshell.h>
#include <todaycmn.h>

#include "catalogue/Refresh.h"
#include "catalogue/Rescan.h"
#include "item/HeightQuery.h"
#include "item/ItemPaint.h"
#include "item/ItemState.h"
#include "item/ItemWindow.h"
#include "item/Selection.h"
#include "item/StripInput.h"
#include "item/StylusInput.h"

bool RegisterItemWindowClass() {
    UnregisterClassW(ItemWindowClassName, ModuleHandle);
    WNDCLASSW wc{};
    wc.style = 0;
    wc.lpfnWndProc = ItemWindowProc;
    wc.hInstance = ModuleHandle;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = ItemWindowClassName;
    return RegisterClassW(&wc) != 0;
}

void UnregisterItemWindowClass() { UnregisterClassW(ItemWindowClassName, ModuleHandle); }

namespace {

void RepaintWhole(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
}

}  // namespace

// Hands every message to the part of the item that owns it.
LRESULT CALLBACK ItemWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            ReloadCatalogue(hwnd);
            break;
        case WM_SIZE:
            RepaintWhole(hwnd);
            break;
        case WM_PAINT:
            return PaintItem(hwnd);
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            if (wParam == RepaintBelowTimer) {
                RepaintBelowItem(hwnd);
                return 1;
            }
            if (wParam == ScrollRepeatTimer) {
                StripRepeat(hwnd);
                return 1;
            }
            if (wParam == FolderPollTimer) {
                PollFolder(hwnd);
                return 1;
            }
            break;
        case WM_MOUSEMOVE:
            return OnStylusMove(hwnd, lParam);
        case WM_LBUTTONDOWN:
            return OnStylusDown(hwnd, lParam);
        case WM_LBUTTONUP:
            return OnStylusUp(hwnd, lParam);
        case WM_TODAYCUSTOM_RECEIVEDSELECTION:
            return OnSelectionReceived(hwnd, wParam);
        case WM_TODAYCUSTOM_LOSTSELECTION:
            return OnSelectionLost(hwnd);
        case WM_TODAYCUSTOM_USERNAVIGATION:
            return OnNavigation(hwnd, wParam);
        case WM_TODAYCUSTOM_ACTION:
            return OnAction(hwnd);
        case WM_TODAYCUSTOM_QUERYREFRESHCACHE:
            return QueryItemHeight(hwnd, reinterpret_cast<TODAYLISTITEM *>(wParam));
        case WM_FILECHANGEINFO:
            OnFolderChanged(hwnd);
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
