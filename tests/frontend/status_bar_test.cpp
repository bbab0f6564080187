// The bar below the device's screen: its frame, the hint before the first
// traced action, and long sentences kept inside the bar.
#include "frontend/status_bar.h"

#include <gtest/gtest.h>

#include "temp_device.h"

namespace {

uint32_t PixelAt(const wince::frontend::StatusPixels &bar, int x, int y) {
    const uint8_t *p = &bar.bits[static_cast<size_t>(y) * bar.stride + 3 * x];
    return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

// Columns that hold anything but the bar's background, below its rule.
std::pair<int, int> InkColumns(const wince::frontend::StatusPixels &bar, uint32_t background) {
    int first = -1, last = -1;
    for (int x = 0; x < bar.width; ++x)
        for (int y = 1; y < bar.height; ++y)
            if (PixelAt(bar, x, y) != background) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

TEST(StatusBar, SaysTheSentenceInsideItsMargins) {
    testing_support::TempDevice device;
    const uint32_t background = 0xE8E8E8, rule = 0xA0A0A0;
    const struct {
        std::string text;
        int width;
    } rows[] = {
        {"opened \\My Documents\\Report.psw with opendoc", 480},
        {"", 480},  // the hint of the front end's own keys
        {std::string(400, 'W'), 480},  // far too long: cut with an ellipsis, not past the margin
        {"started \\Program Files\\Pelloran\\PelloranOptions.exe", 240},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        wince::frontend::StatusPixels bar = wince::frontend::DrawStatusBar(rows[i].text, rows[i].width);
        ASSERT_EQ(bar.width, rows[i].width) << "row " << i;
        ASSERT_EQ(bar.height, wince::frontend::StatusBarHeight()) << "row " << i;
        EXPECT_EQ(PixelAt(bar, 0, 0), rule) << "row " << i;
        EXPECT_EQ(PixelAt(bar, bar.width - 1, 0), rule) << "row " << i;
        EXPECT_EQ(PixelAt(bar, 0, bar.height - 1), background) << "row " << i;
        auto [first, last] = InkColumns(bar, background);
        EXPECT_GE(first, 6) << "row " << i;  // the left margin
        EXPECT_LE(last, bar.width - 1 - 6) << "row " << i;
        EXPECT_GT(last, first) << "row " << i << ": nothing written";
    }
    // Different sentences look different.
    EXPECT_NE(wince::frontend::DrawStatusBar("a", 240).bits, wince::frontend::DrawStatusBar("b", 240).bits);
    EXPECT_NE(wince::frontend::DrawStatusBar("", 240).bits, wince::frontend::DrawStatusBar("a", 240).bits);
    EXPECT_TRUE(wince::frontend::DrawStatusBar("a", 0).bits.empty());
}

}  // namespace
