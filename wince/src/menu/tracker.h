// The state of the popup menu being tracked: one level per open popup, the
// top-level menu first and each open submenu after its parent.
#pragma once

#include <windows.h>

#include <vector>

#include "popup_layout.h"

namespace wince {

struct PopupLevel {
    HMENU menu = nullptr;
    HWND window = nullptr;
    PopupLayout layout;
    RECT rect{};  // screen coordinates
    int highlight = -1;
};

struct MenuTracker {
    HWND owner = nullptr;
    UINT flags = 0;
    std::vector<PopupLevel> levels;
    bool pressed = false;  // the stylus went down inside a popup
    bool done = false;
    UINT chosen = 0;
};

// The tracker of the menu open now, or nullptr.
MenuTracker *ActiveTracker();
PopupLevel *LevelOfWindow(HWND hwnd);

// Closes the menu being tracked, if any, as a tap outside it would: the
// tracking call answers 0. Used when the screen changes under it.
void CancelMenuTracking();

// The popup window of one level, shown at level.rect without activation.
HWND CreatePopupWindow(const PopupLevel &level);
constexpr WCHAR kPopupMenuClass[] = u"#32768";

}  // namespace wince
