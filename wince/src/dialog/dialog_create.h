// Dialog creation shared by the modeless and modal entry points and the
// message box.
#pragma once

#include "dialog_template.h"

namespace wince {

// The RT_DIALOG resource of a module, read; sets the last error on failure.
bool LoadDialogTemplate(HINSTANCE instance, LPCWSTR name, DialogTemplate &out);

// Null when the dialog or one of its controls cannot be made (unless
// DS_NOFAILCREATE), or when WM_INITDIALOG destroyed it. A modal dialog
// disables its owner first.
HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate &t, HWND parent, DLGPROC proc, LPARAM param,
                              bool modal);

// Runs the modal loop of a dialog made with modal true until EndDialog;
// destroys it and returns the EndDialog value.
INT_PTR RunModalDialog(HWND dialog);

}  // namespace wince
