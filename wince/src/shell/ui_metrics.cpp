// SHGetUIMetrics: the user's text size for the shell's font.
#include <aygshell.h>

HRESULT WINAPI SHGetUIMetrics(SHUIMETRIC shuim, PVOID pvBuffer, DWORD cbBufferSize, DWORD *pcbRequired) {
    if (shuim < SHUIM_FONTSIZE_POINT || shuim > SHUIM_FONTSIZE_PERCENTAGE) return E_INVALIDARG;
    if (!pvBuffer || cbBufferSize < sizeof(DWORD)) {
        if (pcbRequired) *pcbRequired = sizeof(DWORD);
        return E_INVALIDARG;
    }
    LOGFONTW lf{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
    HDC screen = GetDC(nullptr);
    int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LONG pixels = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    DWORD value = 100;
    if (shuim == SHUIM_FONTSIZE_POINT) value = static_cast<DWORD>(pixels * 7200 / (dpiY ? dpiY : 96));
    if (shuim == SHUIM_FONTSIZE_PIXEL) value = static_cast<DWORD>(pixels);
    *static_cast<DWORD *>(pvBuffer) = value;
    if (pcbRequired) *pcbRequired = sizeof(DWORD);
    return S_OK;
}
