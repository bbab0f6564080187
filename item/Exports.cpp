// The entry points through which the Today screen or a tab host creates and
// configures the item.
#include <aygshell.h>
#include <todaycmn.h>

#include "drawing/ScreenMetrics.h"
#include "item/DocumentActions.h"
#include "item/ItemState.h"
#include "item/ItemWindowClass.h"
#include "item/res/resource.h"

#define PELLORAN_EXPORT extern "C"

namespace {

HWND CreateItemWindow(TODAYLISTITEM *record, HWND parent) {
    if (!record || !record->fEnabled) return nullptr;
    HWND hwnd = CreateWindowExW(0, ItemWindowClassName, ItemWindowClassName, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), 0, parent, nullptr, ModuleHandle, nullptr);
    if (!hwnd) return nullptr;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    SHInitExtraControls();  // the rename dialog's input-panel control
    return hwnd;
}

}  // namespace

PELLORAN_EXPORT HWND WINAPI InitializeCustomItem(TODAYLISTITEM *record, HWND parent) {
    TabHostMode = false;
    return CreateItemWindow(record, parent);
}

PELLORAN_EXPORT HWND WINAPI InitializeHostedItem(void *, TODAYLISTITEM *record, HWND parent) {
    TabHostMode = true;
    return CreateItemWindow(record, parent);
}

// The options dialog is never seen: it starts the options program and ends.
PELLORAN_EXPORT BOOL WINAPI CustomItemOptionsDlgProc(HWND dialog, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        LaunchOptionsProgram();
        EndDialog(dialog, IDOK);
    }
    return FALSE;
}

PELLORAN_EXPORT HICON WINAPI GetTabIconEx() {
    int cx = (12 * DisplayResolution.logPixelsX + 48) / 96;
    int cy = (11 * DisplayResolution.logPixelsY + 48) / 96;
    return static_cast<HICON>(LoadImageW(ModuleHandle, MAKEINTRESOURCEW(IDI_TABICON), IMAGE_ICON, cx, cy, 0));
}
