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

}  // namespace wince::controls
