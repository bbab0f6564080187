// The input panel's keyboard: the keys of a Pocket PC's small keyboard, laid
// out on a grid of columns, drawn with one line between neighbours, and typed
// into the focused window as the device's keyboard driver does.
#pragma once

#include <windows.h>

#include <string>

namespace wince {

// A key's rectangle in the panel's client area (its lines included), or an
// empty one when no key shows that label now ("q", "Q" after Shift, "Shift",
// "Enter", "Bksp", "Tab", "CAP", "space", arrows as "\u2190" ...).
RECT InputPanelKeyRect(const std::u16string &label, SIZE client);

// Draws every key, the pressed one in the highlight colours.
void PaintInputPanelKeys(HDC hdc, SIZE client);

// The stylus on the panel: down presses a key, moving off lets it go, up on
// the pressed key types it. True when the panel must be drawn again.
bool InputPanelStylus(UINT message, POINT client, SIZE size);

// Back to lower case with nothing pressed, as when the panel is shown.
void ResetInputPanelKeys();

}  // namespace wince
