// The windows of the shell's two bars.
#pragma once

#include <windows.h>

namespace wince::shell {

// The navigation bar ("HHTaskBar") and the bottom strip ("menu_worker"):
// topmost, never activated by a tap.
HWND CreateNavigationBar();
HWND CreateMenuStrip();
// The front window, its title or its "ok" changed.
void NavigationBarChanged(HWND navBar);

// Where the navigation bar's parts lie, in its client coordinates.
struct NavBarLayout {
    RECT start, title, clock, ok;  // ok is empty when no dialog asks for it
};
NavBarLayout LayoutNavBar(int width, int height, bool ok);

}  // namespace wince::shell
