#include "options/DpiScale.h"

#include <windows.h>

namespace {

int ScreenDpi(int index) {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, index) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

int DpiScaleX(int value) {
    static const int dpi = ScreenDpi(LOGPIXELSX);
    return value * dpi / 96;
}

int DpiScaleY(int value) {
    static const int dpi = ScreenDpi(LOGPIXELSY);
    return value * dpi / 96;
}
