// Pictures the window tests compare: a window captured by xwd, and the
// screen the program wrote as PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace frontend_test {

struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB, rows top-down
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// An X window dump (xwd's format) of a TrueColor window.
bool ReadXwd(const std::string &path, Image &out, std::string &error);
bool ReadPng(const std::string &path, Image &out, std::string &error);

// True when the two rectangles (x, y, width, height) of a and b hold the same pixels.
bool SameArea(const Image &a, const Image &b, int x, int y, int width, int height);

}  // namespace frontend_test
