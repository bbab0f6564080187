#include "drawing/ScreenMetrics.h"

DisplayResolutionValues DisplayResolution;

void ReadDisplayResolution() {
    if (DisplayResolution.logPixelsX != 0) return;
    HDC screen = GetDC(nullptr);
    DisplayResolution.logPixelsX = GetDeviceCaps(screen, LOGPIXELSX);
    DisplayResolution.logPixelsY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
}

namespace {

struct CachedTest {
    bool computed = false;
    bool value = false;
};

bool IsPocketPCPlatform() {
    WCHAR platform[256];  // 512 bytes
    if (!SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof platform, platform, 0)) return false;
    return lstrcmpW(platform, TEXT("PocketPC")) == 0;
}

bool QueryVersion(OSVERSIONINFOW &version) {
    version = OSVERSIONINFOW{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExW(&version) != FALSE;
}

}  // namespace

bool IsNewTodayPlatform() {
    static CachedTest test;
    if (!test.computed) {
        OSVERSIONINFOW version;
        test.value = QueryVersion(version) &&
                     ((version.dwMajorVersion == 4 && version.dwMinorVersion >= 21) || version.dwMajorVersion >= 5) &&
                     IsPocketPCPlatform();
        test.computed = true;
    }
    return test.value;
}

bool IsLegacyPocketPC() {
    static CachedTest test;
    if (!test.computed) {
        OSVERSIONINFOW version;
        test.value = QueryVersion(version) && version.dwMajorVersion == 3 && IsPocketPCPlatform();
        test.computed = true;
    }
    return test.value;
}
