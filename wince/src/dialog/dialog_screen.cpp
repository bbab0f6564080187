// Dialogs placed for the screen are placed again when the screen changes.
#include "dialog_screen.h"

#include <algorithm>
#include <vector>

#include "dialog_state.h"
#include "window/window.h"

namespace wince {

void PlaceDialogsForScreen() {
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::vector<HWND> dialogs;
    for (Window *w : TopLevelWindows())
        if (FindDialogState(w->handle)) dialogs.push_back(w->handle);
    for (HWND dialog : dialogs) {
        Window *w = FromHandle(dialog);
        if (!w) continue;
        RECT r = w->rect;
        int cx = r.right - r.left, cy = r.bottom - r.top;
        // A dialog that fills the work area was resized with the screen.
        if (r.left <= work.left && r.top <= work.top && r.right >= work.right) continue;
        POINT pos{r.left, r.top};
        if (w->style & DS_CENTER) {
            pos.x = work.left + (work.right - work.left - cx) / 2;
            pos.y = work.top + (work.bottom - work.top - cy) / 2;
        }
        // As at creation: kept on the screen.
        pos.x = std::max<LONG>(work.left, std::min<LONG>(pos.x, work.right - cx));
        pos.y = std::max<LONG>(work.top, std::min<LONG>(pos.y, work.bottom - cy));
        if (pos.x != r.left || pos.y != r.top)
            SetWindowPos(dialog, nullptr, pos.x, pos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace wince
