// Re-laying out an open dialog from another dialog template: the options
// program keeps one template for portrait and one for landscape screens.
#pragma once

#include <windows.h>

// Gives the dialog's controls the positions (and some contents) that the
// template assigns to the same identifiers. False when the template is
// missing or damaged (nothing moves then), or when two of its controls have
// the identifier 0xFFFF and cannot be told apart.
bool ApplyDialogLayout(HINSTANCE instance, HWND dialog, UINT templateId);
