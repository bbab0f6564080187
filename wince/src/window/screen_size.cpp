#include "screen_size.h"

#include <algorithm>
#include <vector>

#include "device/device.h"
#include "dialog/dialog_screen.h"
#include "gdi/surface.h"
#include "menu/tracker.h"
#include "window.h"

namespace wince {
namespace {

// A window counts as full-screen when its left, top and right edges lie on
// or beyond those of the work area.
bool FillsScreen(const Window &w, const RECT &work) {
    return !w.parent && w.rect.left <= work.left && w.rect.top <= work.top && w.rect.right >= work.right;
}

}  // namespace

bool ChangeScreenSize(int width, int height) {
    const DeviceProfile &p = Device::Current().Profile();
    int oldWidth = p.width, oldHeight = p.height;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (!Device::Current().SetScreenSize(width, height)) return false;
    ResizeScreenSurface(width, height);
    MarkScreenDirty();
    if (width == oldWidth && height == oldHeight) return true;
    // The device closes an open menu when it turns; it would not fit the new screen.
    CancelMenuTracking();

    std::vector<HWND> resize, all;
    for (Window *w : TopLevelWindows()) {
        all.push_back(w->handle);
        if (FillsScreen(*w, work)) resize.push_back(w->handle);
    }
    // Windows that filled the work area fill the new one; one that reached
    // the bottom of the screen still does.
    RECT newWork{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &newWork, 0);
    for (HWND hwnd : resize) {
        Window *w = FromHandle(hwnd);
        if (!w) continue;
        RECT r = w->rect;
        int top = r.top == work.top ? newWork.top : r.top;
        int bottom = r.bottom >= oldHeight ? height
                     : r.bottom >= work.bottom ? newWork.bottom
                                                : std::min<int>(r.bottom, newWork.bottom);
        SetWindowPos(hwnd, nullptr, 0, top, width, std::max<int>(bottom - top, 0), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PlaceDialogsForScreen();
    for (HWND hwnd : all)
        if (FromHandle(hwnd)) SendMessageW(hwnd, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
    MarkScreenDirty();
    return true;
}

bool RotateScreen() {
    const DeviceProfile &p = Device::Current().Profile();
    return ChangeScreenSize(p.height, p.width);
}

}  // namespace wince
