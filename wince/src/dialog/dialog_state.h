// What the dialog manager keeps for each dialog it made, beyond the
// window's DWLP_ extra bytes.
#pragma once

#include <windows.h>

#include <vector>

namespace wince {

struct DialogState {
    HFONT font = nullptr;      // WM_GETFONT; null: the system font
    bool ownsFont = false;     // made from the template; deleted with the dialog
    int baseX = 0, baseY = 0;  // dialog base units of the font, in pixels
    WORD defId = 0;            // DM_SETDEFID; 0 until set
    bool hasDefId = false;
    bool ended = false;        // EndDialog was called
    INT_PTR result = 0;
    bool modal = false;
    bool initializing = false;  // between creation and the end of WM_INITDIALOG
    HWND disabledOwner = nullptr;  // re-enabled by EndDialog
    HWND savedFocus = nullptr;     // the control that had the focus when the dialog lost it
    bool addedScrollBar = false;   // the dialog manager gave it WS_VSCROLL: its controls reach below
    bool updatingScroll = false;
};

// Null for a window the dialog manager did not make.
DialogState *FindDialogState(HWND dialog);
DialogState &AddDialogState(HWND dialog);
void RemoveDialogState(HWND dialog);

// Dialog base units of a font (null: the system font): the average width
// of the Latin letters and the character height.
SIZE DialogBaseUnitsOf(HFONT font);

// Moves the focus to a control the way the dialog manager does: an edit
// box gets all its text selected; push buttons take the default look.
void SetDialogFocus(HWND dialog, HWND control);

// The windows the dialog manager walks for tab and group navigation, in
// order: its controls, descending into nested control parents.
void CollectDialogItems(HWND dialog, std::vector<HWND> &out);

}  // namespace wince
