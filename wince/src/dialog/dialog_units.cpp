// Dialog base units: dialog template coordinates to pixels.
#include <unordered_map>

#include "dialog_state.h"
#include "window/window.h"

namespace wince {
namespace {

// MulDiv's rounding: to the nearest, halves away from zero.
int ScaleRounded(int value, int numerator, int denominator) {
    long long p = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(p >= 0 ? (p + half) / denominator : -((-p + half) / denominator));
}

}  // namespace

SIZE DialogBaseUnitsOf(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    static const char16_t kLetters[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent{0, 0};
    GetTextExtentPoint32W(dc, kLetters, 52, &extent);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    // The average of 52 letters, rounded.
    return SIZE{(extent.cx / 26 + 1) / 2, tm.tmHeight};
}

}  // namespace wince

using namespace wince;

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
    if (!CheckHandle(hDlg)) return FALSE;
    DialogState *state = FindDialogState(hDlg);
    if (!state || !lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpRect->left = ScaleRounded(lpRect->left, state->baseX, 4);
    lpRect->right = ScaleRounded(lpRect->right, state->baseX, 4);
    lpRect->top = ScaleRounded(lpRect->top, state->baseY, 8);
    lpRect->bottom = ScaleRounded(lpRect->bottom, state->baseY, 8);
    return TRUE;
}

LONG WINAPI GetDialogBaseUnits(void) {
    SIZE units = DialogBaseUnitsOf(nullptr);
    return MAKELONG(units.cx, units.cy);
}
