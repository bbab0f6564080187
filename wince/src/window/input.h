// Turning stylus and key events into window messages.
#pragma once

#include "message_queue.h"

namespace wince {

// Finds the message an input event becomes. With commit false nothing
// changes (the caller only looks); with commit true the stylus state,
// activation and scroll-bar tracking move on. False when the event reaches
// no window (the bare desktop, a disabled window): it is dropped.
bool TranslateInputEvent(const InputEvent &event, MSG *msg, bool commit);

// The next stylus-up goes nowhere: it ends a tap-and-hold that the shell
// recognised, or a tap that dismissed a popup menu.
void SwallowNextStylusUp();

}  // namespace wince
