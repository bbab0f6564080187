// The "COMBOBOX" class and the list it drops down ("ComboLBox").
#pragma once

#include <windows.h>

#include <vector>

#include "list_items.h"
#include "window/item_report.h"

namespace wince::controls {

struct ComboState {
    HFONT font = nullptr;
    ListItems items;
    int selected = -1;
    HWND edit = nullptr;   // CBS_DROPDOWN: the edit box of the field
    HWND popup = nullptr;  // the dropped-down list while it shows
    int droppedHeight = 0;  // the height the template gave: field and list
    bool focused = false;
    bool settingEdit = false;  // the combo box itself writes the edit's text
    WNDPROC editProc = nullptr;
};

inline UINT ComboType(HWND hwnd) { return static_cast<UINT>(GetWindowLongW(hwnd, GWL_STYLE)) & 3; }

// Drops the list down below (or above) the field; the list takes the stylus.
void DropDown(HWND combo, ComboState *s);
// Closes the list; a choice of -1 keeps the selection.
void CloseUp(HWND combo, ComboState *s, int chosen);
// Moves the highlight of the dropped list; the highlighted item.
int MoveHighlight(ComboState *s, int delta);
void RegisterComboPopupClass();
// The dropped list's items where they show, for the dump and a script's click.
bool ReportComboPopup(HWND popup, std::vector<ReportedItem> &out);

}  // namespace wince::controls
