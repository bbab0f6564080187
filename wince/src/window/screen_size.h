// A change of the screen's size, as when the device turns between portrait
// and landscape.
#pragma once

namespace wince {

// The screen takes the new size: an open popup menu closes (answering 0),
// the screen surface follows, top-level windows that filled the screen are
// resized with it (they get WM_SIZE), dialogs centred on the screen are
// centred again, then every top-level window gets WM_SETTINGCHANGE with
// SETTINGCHANGE_RESET. False for a size the device cannot have.
bool ChangeScreenSize(int width, int height);
// Portrait becomes landscape and back: width and height swap.
bool RotateScreen();

}  // namespace wince
