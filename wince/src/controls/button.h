// The "BUTTON" class: push buttons, check boxes, radio buttons, group boxes.
#pragma once

#include <windows.h>

namespace wince::controls {

struct ButtonState {
    HFONT font = nullptr;
    UINT check = BST_UNCHECKED;
    bool pressed = false;   // the pushed look
    bool focused = false;
    bool tracking = false;  // the stylus went down on the button and holds it captured
    bool spaceDown = false;
};

inline UINT ButtonType(HWND hwnd) { return static_cast<UINT>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

void PaintButton(HWND hwnd, HDC hdc, const ButtonState &state);

}  // namespace wince::controls
