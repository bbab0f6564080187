#include "drawing/ScreenMode.h"

#include "drawing/ScreenMetrics.h"

int ClassifyScreen() {
    static const struct {
        int width, height, mode;
    } kModes[] = {{240, 320, 0}, {320, 240, 1}, {240, 240, 2}, {480, 640, 3}, {640, 480, 4}, {480, 480, 5}};
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    for (const auto &m : kModes)
        if (m.width == width && m.height == height) return m.mode;
    return -1;
}

bool IsLandscapeScreen() {
    int mode = ClassifyScreen();
    return mode == 1 || mode == 4;
}

bool PlaceDialogForLandscape(HWND window) {
    if (!IsLandscapeScreen()) return true;
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    if (r.top <= ScaleY(27)) return true;
    MoveWindow(window, r.left, ScaleY(27), r.right - r.left, r.bottom - r.top, TRUE);
    return true;
}
