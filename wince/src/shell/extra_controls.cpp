// SHInitExtraControls registers the input panel's "SIPPREF" control,
// which lives with the other controls.
#include <aygshell.h>

#include "controls/input_panel.h"

BOOL WINAPI SHInitExtraControls(void) {
    WNDCLASSW existing;
    if (GetClassInfoW(nullptr, u"SIPPREF", &existing)) return TRUE;
    WNDCLASSW wc{};
    wc.lpfnWndProc = wince::SipPreferenceProc;
    wc.lpszClassName = u"SIPPREF";
    return RegisterClassW(&wc) != 0;
}
