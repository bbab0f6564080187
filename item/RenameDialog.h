// The "Document Name" dialog that asks for a document's new name.
#pragma once

#include <windows.h>

#include <string>

#include "config/WideString.h"

struct RenameRequest {
    WideString folder;     // the document's folder
    WideString name;       // without extension: the dialog's first text
    WideString extension;  // with its dot, or empty; never changed
    WideString newName;    // on OK: the checked new name, without extension
};

// Runs the dialog modally over owner; IDOK or IDCANCEL (-1 when the
// dialog cannot be made).
INT_PTR RunRenameDialog(HWND owner, RenameRequest &request);

BOOL CALLBACK RenameDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Takes the edit field's text as the new name when it is not empty, holds
// no character a file name cannot have and names no existing file; else
// tells the user why and returns false.
bool ValidateNewName(HWND dialog, RenameRequest &request);

// Fills every "%s" of a translated format with
// name; "%%" gives "%", anything else stays as written.
WideString FormatWithName(const WideString &format, const WideString &name);
