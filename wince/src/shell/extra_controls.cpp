// SHInitExtraControls and the input panel's "SIPPREF" control.
#include <aygshell.h>

namespace {

// The control is invisible; while an edit box of its dialog has the focus
// the simulated input panel is up.
LRESULT CALLBACK SipPrefProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

BOOL WINAPI SHInitExtraControls(void) {
    WNDCLASSW existing;
    if (GetClassInfoW(nullptr, u"SIPPREF", &existing)) return TRUE;
    WNDCLASSW wc{};
    wc.lpfnWndProc = SipPrefProc;
    wc.lpszClassName = u"SIPPREF";
    return RegisterClassW(&wc) != 0;
}
