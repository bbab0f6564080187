// The dialog manager's part in a change of the screen's size.
#pragma once

#include <windows.h>

namespace wince {

// Top-level dialogs made with DS_CENTER are centred on the new work area
// again; every other dialog is kept on the screen.
void PlaceDialogsForScreen();

}  // namespace wince
