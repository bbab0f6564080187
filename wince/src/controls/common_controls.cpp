// InitCommonControls: the common control classes are the layer's system
// classes, there from the start.
#include <commctrl.h>

#include "window/window_class.h"

void WINAPI InitCommonControls(void) { wince::EnsureSystemClasses(); }

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX *lpInitCtrls) {
    if (!lpInitCtrls || lpInitCtrls->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    wince::EnsureSystemClasses();
    return TRUE;
}
