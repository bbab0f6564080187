// The bar below the device's screen in the window: the last traced action,
// so that a person sees what the program did beyond the screen (a document
// opened, a program started). Drawn with the layer's own GDI.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wince::frontend {

struct StatusPixels {
    int width = 0, height = 0, stride = 0;
    std::vector<uint8_t> bits;  // 24-bit, top-down, blue-green-red
};

// The bar's height in window pixels.
int StatusBarHeight();

// Draws the bar for the text (UTF-8) at the given width; an empty text
// shows the hint of the front end's own keys instead.
StatusPixels DrawStatusBar(const std::string &text, int width);

}  // namespace wince::frontend
