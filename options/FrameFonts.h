// The two fonts of the options program's dialogs, made on first use and
// kept until the program ends; and the pass that gives them to a dialog.
#pragma once

#include <windows.h>

// "Tahoma" bold: the title band and push buttons.
HFONT TitleFont();
// "Tahoma" regular: every other window.
HFONT ControlFont();
// Gives window and all its descendants their font, depth first.
void ApplyDialogFonts(HWND window);
