// Routes a control's taps to the control class's own behaviour, past the
// framework's dispatch, for controls that must not react to taps through
// their dialog (the About box's texts and icon).
#pragma once

#include <windows.h>

// False when the control is routed already (the first routing stays).
bool RouteTapsToDefault(HWND control);
// How many controls are routed now (the table empties as they go).
size_t RoutedControlCount();
