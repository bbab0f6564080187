// What the rest of the layer (the trace) learns about message boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace wince {

// Called when a message box closes, with the answer it returns. Gives back
// the observer it replaces, so that a test can put the trace's back.
using MessageBoxObserver =
    std::function<void(const std::u16string &text, const std::u16string &caption, UINT type, int answer)>;
MessageBoxObserver SetMessageBoxObserver(MessageBoxObserver observer);

}  // namespace wince
