// The search for the longest shortened form of a text that fits, with every
// character 10 pixels wide. Measuring and drawing are counted on their way
// to the platform.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "device_profile.h"
#include "temp_device.h"

namespace {

int measurements = 0;
std::vector<std::u16string> drawn;

BOOL CountedExtent(HDC hdc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size) {
    ++measurements;
    return GetTextExtentExPointW(hdc, text, count, maxExtent, fit, dx, size);
}

int RecordedDraw(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    drawn.emplace_back(text, static_cast<size_t>(count));
    return DrawTextW(hdc, text, count, rect, format);
}

}  // namespace

#define GetTextExtentExPointW CountedExtent
#define DrawTextW RecordedDraw
#include "item/FittedText.cpp"
#undef GetTextExtentExPointW
#undef DrawTextW

namespace {

class FittedTextTest : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        testing_support::WriteProfile(
            device.Root(), "[screen]\nwidth = 240\nheight = 320\ndpi_x = 96\ndpi_y = 96\n[font]\nmode = fixed\n");
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, 300, 20);
        oldBitmap = SelectObject(dc, bitmap);
        LOGFONTW lf{};
        lf.lfHeight = 10;
        font = CreateFontIndirectW(&lf);
        oldFont = SelectObject(dc, font);
    }
    void TearDown() override {
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(font);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // What is drawn in a box width pixels wide, "" for nothing.
    std::u16string Fit(const std::u16string &text, int width, int mode) {
        measurements = 0;
        drawn.clear();
        FittedText(dc, text.c_str(), RECT{0, 0, width, 20}, mode, DT_SINGLELINE | DT_VCENTER);
        EXPECT_LE(drawn.size(), 1u);
        return drawn.empty() ? u"" : drawn[0];
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
    HGDIOBJ oldBitmap = nullptr, oldFont = nullptr;
};

TEST_F(FittedTextTest, LongestFormThatFits) {
    const std::u16string ten = u"abcdefghij";
    const std::u16string twenty = u"ABCDEFGHIJKLMNOPQRST";
    const struct {
        std::u16string text;
        int width, mode;
        std::u16string drawn;
    } rows[] = {
        {ten, 100, FitEnd, ten},
        {ten, 99, FitEnd, u"abcdef..."},
        {ten, 65, FitEnd, u"abc..."},
        {ten, 40, FitEnd, u"a..."},
        {ten, 35, FitEnd, u""},  // "..." alone is never drawn
        {ten, 0, FitEnd, u""},
        {twenty, 120, FitMiddle, u"ABCD...PQRST"},
        {twenty, 200, FitMiddle, twenty},
        {u"99.9T", 50, FitMiddle, u"99.9T"},
        {u"199.9T", 50, FitMiddle, u"1...T"},
        {u"99.9T", 40, FitMiddle, u"...T"},  // one kept character: the last
        {u"99.9T", 39, FitMiddle, u""},
        {u"", 50, FitEnd, u""},
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(Fit(rows[i].text, rows[i].width, rows[i].mode), rows[i].drawn) << "row " << i;
}

// A text that fits is measured once; one that does not, a number of times
// that follows the logarithm of its length.
TEST_F(FittedTextTest, MeasurementsGrowWithTheLogarithmOfTheLength) {
    Fit(u"short", 100, FitEnd);
    EXPECT_EQ(measurements, 1);
    int previous = 0;
    for (int length : {16, 64, 256, 1024, 4096, 16384}) {
        std::u16string text(static_cast<size_t>(length), u'x');
        EXPECT_EQ(Fit(text, 95, FitEnd), u"xxxxxx...") << length;
        // Four times the length costs a few measurements more, not four times as many.
        EXPECT_LE(measurements, 3 * static_cast<int>(std::log2(length))) << length;
        if (previous) {
            EXPECT_LE(measurements - previous, 6) << length;
        }
        previous = measurements;
    }
}

}  // namespace
