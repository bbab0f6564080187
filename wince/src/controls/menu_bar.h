// Menu bars: toolbars that lie over the shell's bottom strip on behalf of
// a window (CommandBar_Create, SHCreateMenuBar).
#pragma once

#include <windows.h>

namespace wince::controls {

// A program asks for its bar as a child of one of its windows; on this
// screen the bar is a top-level toolbar owned by that window's top-level
// window and placed over the bottom strip, so that it shows under the
// screen's other windows' bars' rules, not inside the dialog. Its commands
// and notifications still go to the window that asked for it.
HWND CreateMenuBarWindow(HWND owner, HINSTANCE instance, UINT id, bool visible, bool coversSipButton);
// One button for each top-level item of the menu, from index `at`
// (0xFFFF or beyond the end: appended): a drop-down opening the item's
// popup, or a plain button sending its command.
bool InsertMenuButtons(HWND bar, HMENU menu, UINT at);
// The buttons of a menu bar resource (RCDATA): the identifier of the menu
// whose popups the buttons open, the number of buttons, then for each its
// image, command, state, style, label string identifier, a zero and the
// index of its popup in that menu (0xFFFF: none), one WORD each. False,
// with the last error set, when the resource is missing or malformed.
bool InsertMenuBarResource(HWND bar, HINSTANCE instance, UINT id);

}  // namespace wince::controls
