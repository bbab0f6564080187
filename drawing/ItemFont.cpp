#include "drawing/ItemFont.h"

#include "drawing/ScreenMetrics.h"

namespace {

typedef LONG(WINAPI *UIMetricsFunction)(int, void *, DWORD, DWORD *);

}  // namespace

// Looked up by name on every call: older shells do not have it.
LONG GetUIMetric(int type, DWORD *out, DWORD size, DWORD *needed) {
    HMODULE shell = LoadLibraryW(TEXT("AYGSHELL"));
    FARPROC proc = shell ? GetProcAddressW(shell, TEXT("SHGetUIMetrics")) : nullptr;
    // Through the generic function type, which converts to any other without a warning.
    auto metrics = reinterpret_cast<UIMetricsFunction>(reinterpret_cast<void (*)()>(proc));
    if (metrics) return metrics(type, out, size, needed);
    if (out && size >= sizeof(DWORD)) {
        LOGFONTW lf;
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
        if (type == 1) {
            HDC screen = GetDC(nullptr);
            *out = static_cast<DWORD>(lf.lfHeight * -7200 / GetDeviceCaps(screen, LOGPIXELSY));
            ReleaseDC(nullptr, screen);
        } else if (type == 2) {
            *out = static_cast<DWORD>(-lf.lfHeight);
        } else if (type == 3) {
            *out = 100;
        }
        return 0;
    }
    if (needed) *needed = sizeof(DWORD);
    return 0;
}

HFONT CreateItemFont(HDC hdc, HFONT &slot) {
    if (slot) {
        DeleteObject(slot);
        slot = nullptr;
    }
    DWORD size = 11;
    DWORD needed = 0;
    GetUIMetric(2, &size, sizeof size, &needed);  // used even when the call fails
    LOGFONTW lf{};
    if (IsNewTodayPlatform())
        lf.lfHeight = -static_cast<LONG>(size);
    else
        lf.lfHeight = -static_cast<LONG>(GetDeviceCaps(hdc, LOGPIXELSY) * 0.111111 + 0.5);
    lf.lfWeight = FW_NORMAL;
    lf.lfPitchAndFamily = FF_SWISS;
    lstrcpyW(lf.lfFaceName, TEXT("Tahoma"));
    slot = CreateFontIndirectW(&lf);
    return slot;
}
