#include "x_close.h"

#include <X11/Xlib.h>

namespace frontend_test {

bool AskToClose(const std::string &display, unsigned long window) {
    Display *x = XOpenDisplay(display.c_str());
    if (!x) return false;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(x, window, False, NoEventMask, &e);
    XFlush(x);
    XCloseDisplay(x);
    return sent != 0;
}

}  // namespace frontend_test
