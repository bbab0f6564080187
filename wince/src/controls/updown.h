// The up-down control ("msctls_updown32"): a position in a range, shown in
// and read back from a buddy window.
#pragma once

#include <commctrl.h>

#include <string>

namespace wince::controls {

struct UpDownState {
    HWND buddy = nullptr;
    int minimum = 100, maximum = 0;  // the documented default: the up arrow counts down
    int position = 0;
    int base = 10;
    UDACCEL accel[8] = {{0, 1}};
    int accelCount = 1;
    int pressed = 0;  // +1 the increasing arrow, -1 the decreasing one, 0 none
    int version = 0;
};

// The position as the buddy shows it: decimal with thousands separators
// (unless UDS_NOTHOUSANDS), or hexadecimal.
std::u16string FormatPosition(int position, int base, bool thousands);
// Reads the buddy's text; false when it is not a number in the range.
bool ParsePosition(const std::u16string &text, int base, int &out);

// One step of the arrows, as a click or an arrow key makes it.
void StepUpDown(HWND hwnd, UpDownState *s, int direction);

}  // namespace wince::controls
