// Messages to the desktop window of another process on the same device.
// The process that plays the desktop (the Today host) listens on a Unix
// datagram socket in the device folder; other processes name its window by
// a well-known handle, and what they post to it travels over the socket.
#pragma once

#include <windows.h>

namespace wince {

// How other processes of the device name the host's desktop window.
inline const HWND kDesktopProxy = reinterpret_cast<HWND>(static_cast<uintptr_t>(0xDE50));

// Starts (or, with nullptr, stops) listening for the desktop window.
bool ListenAsDesktop(HWND desktop);
// Whether a process of this device listens as the desktop now.
bool DesktopListening();
// Sends a posted message to the desktop of this device; false when nobody
// listens or the message carries pointers that mean nothing elsewhere.
bool SendToDesktop(UINT message, WPARAM wParam, LPARAM lParam);
// Messages whose parameters are plain values can cross to another process.
bool CarriesOnlyValues(UINT message, LPARAM lParam);
// Asks the desktop of this device to come to the front (the Today screen
// over the program that asks); false when nobody listens.
bool RaiseDesktop();

}  // namespace wince
