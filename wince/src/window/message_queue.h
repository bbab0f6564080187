// The thread's message queue: posted messages, the input queue of stylus
// and key events, WM_PAINT and WM_TIMER made when nothing else waits, and
// the sources a waiting loop listens to (file descriptors, the idle driver).
#pragma once

#include <windows.h>

#include <functional>

namespace wince {

struct InputEvent {
    enum Kind { kStylusDown, kStylusMove, kStylusUp, kKeyDown, kKeyUp, kChar } kind;
    POINT point{};  // screen coordinates, stylus events
    UINT key = 0;   // virtual key or character
};

// Any thread may post input; the user-interface thread turns it into
// messages for the window under the stylus or with the focus.
void PostInputEvent(const InputEvent &event);
bool InputPending();
// The next input event without turning it into a message, for loops that
// watch the raw stylus (gesture recognition); PopInputEvent drops it.
bool PeekInputEvent(InputEvent &event);
void PopInputEvent();
bool StylusIsDown();

// Called by a message loop that found nothing to retrieve. A script runner
// or a test sets one to feed the next input or move the virtual clock on;
// it returns false when it has nothing more to give.
using IdleDriver = std::function<bool()>;
IdleDriver SetIdleDriver(IdleDriver driver);

// A front end that shows the screen to a person (a window on the desktop):
// called whenever a loop of the program has nothing to handle, before the
// idle driver runs and before the loop sleeps, so that it can show what was
// painted and turn the person's actions into input events. Returns the
// longest the loop may then sleep, in milliseconds (-1: no limit).
using FrontEndHook = std::function<int()>;
FrontEndHook SetFrontEndHook(FrontEndHook hook);

// A file descriptor whose readiness a waiting loop handles on the
// user-interface thread (change notification, messages from other processes).
void AddWaitSource(int fd, std::function<void()> onReadable);
void RemoveWaitSource(int fd);

void RemovePostedMessages(HWND hwnd);

// Handles every message that is ready now without waiting or moving the
// clock: what a test calls to let the program react. Returns the number of
// messages dispatched; stops at WM_QUIT (which it leaves in the queue).
int PumpReadyMessages();

// Waits, on the real clock, at most until the given tick for input, a post
// or a wait source; used by modal loops of the platform such as gestures.
void WaitForEvents(uint64_t untilTick);

// A loop that must not block (PeekMessage-based) can call this to run the
// idle driver once; false when it has nothing to give.
bool RunIdleDriver();

}  // namespace wince
