// The display modes of the supported screens, and where dialogs go on a
// landscape one.
#pragma once

#include <windows.h>

// 0 240x320, 1 320x240, 2 240x240, 3 480x640, 4 640x480, 5 480x480, else -1.
int ClassifyScreen();
bool IsLandscapeScreen();
// On a landscape screen, moves a dialog that starts below the title band up
// to it; false only when the window's rectangle cannot be read.
bool PlaceDialogForLandscape(HWND window);
