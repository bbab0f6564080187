// The help viewer's window: full screen below the navigation bar, the
// section's paragraphs wrapped to its width (headings bold), scrolled by
// its scroll bar, by dragging the stylus and by the up and down keys;
// Escape or the action key close it.
#pragma once

#include <windows.h>

#include <vector>

#include "help_text.h"

namespace peghelp {

// Creates and shows the window; nullptr when it cannot.
HWND CreateHelpWindow(HINSTANCE instance, std::vector<HelpParagraph> paragraphs);

// The paragraphs' tops and the total height for a width, measured with the
// fonts the window draws with; plain so that tests can call it.
struct HelpLayout {
    std::vector<int> tops;
    int height = 0;
};
HelpLayout LayOut(HDC dc, const std::vector<HelpParagraph> &paragraphs, int width, HFONT normal, HFONT bold);

}  // namespace peghelp
