// The front end of a program on the platform layer: how the device's
// screen reaches a person. Headless, the screen is only written as PNG on
// request; in a window on the desktop it is shown scaled, the mouse is the
// stylus, the keys are the device's keys, and a bar below the screen tells
// the last traced action. Every program on the layer has the same choice;
// programs that the device starts take the choice of the one that started
// them (WINCE_FRONTEND, WINCE_ZOOM).
#pragma once

#include <string>

namespace wince {

enum class FrontEnd { kHeadless, kWindow };

struct FrontEndRequest {
    // kAuto: what WINCE_FRONTEND says ("window" or "headless"), else a
    // window when the machine has a display.
    enum Choice { kAuto, kHeadless, kWindow } choice = kAuto;
    // Whole factor of the window's pixels to the device's; 0 chooses one
    // from the screen's dots per inch (WINCE_ZOOM when it is set).
    int zoom = 0;
    // A person drives the program: the clock is the real one. A script
    // keeps the virtual clock in either front end.
    bool interactive = true;
    std::string title;
};

// Starts the front end. A window that cannot open is an error when it was
// asked for (false, with the reason); chosen by kAuto, the program goes on
// headless and the reason is in error. The front end in effect is in *out.
bool StartFrontEnd(const FrontEndRequest &request, FrontEnd *out, std::string *error);
// Closes the window, if there is one.
void StopFrontEnd();
FrontEnd CurrentFrontEnd();
// The zoom of the open window; 0 when headless.
int FrontEndZoom();
// Puts the window over the other windows of the desktop (the Today screen
// was asked to the front by another program); nothing when headless.
void RaiseFrontEnd();

// True when the environment names a display ($DISPLAY or $WAYLAND_DISPLAY).
bool DisplayPresent();

}  // namespace wince
