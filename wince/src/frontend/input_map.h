// How the desktop's mouse, keys and screen map onto the device: plain
// functions, so that tests can walk them without a window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace wince::frontend {

// What a key of the desktop keyboard is on the device.
struct KeyMapping {
    enum Kind {
        kNone,      // not a device key: typed text reaches the device as characters instead
        kDeviceKey, // the device key `vk`
        kRotate,    // the front end's own: turn the screen
        kScreenshot, // the front end's own: save the screen as PNG
        kHelp       // the Start menu's Help: WM_HELP to the window in front
    } kind = kNone;
    UINT vk = 0;
};
KeyMapping MapKey(int32_t sdlKeycode);

// The device pixel under a point of the window showing the screen at
// `zoom`; false when the point lies outside the device's pixels (on the
// status bar). With `clamp` a point outside is brought to the nearest edge
// pixel and the result is true, as for a stylus dragged off the screen.
bool WindowToScreen(int x, int y, int zoom, int width, int height, bool clamp, POINT *out);

// A whole zoom at which the device's pixels appear about as large on the
// desktop as on the device: twice for a 96-dpi screen, once for 192 dpi;
// reduced until the window fits the desktop's usable area when that is
// known (maxWidth, maxHeight > 0); never below 1.
int DefaultZoom(int dpi, int width, int height, int statusHeight, int maxWidth, int maxHeight);

// UTF-8 text as typed, as the UTF-16 characters the focused control gets.
// A space is left out: the space key reaches the device as a key, which
// makes its character itself.
std::u16string TypedCharacters(const char *utf8);

}  // namespace wince::frontend
