// What GetTextExtentExPointW says fits is what DrawTextW draws inside the
// same width: a shortened text measured to fit is never clipped, with the
// fixed font and with real fonts.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "device/device.h"
#include "gdi_support.h"
#include "temp_device.h"

namespace {

using gdi_test::TestBitmap;

struct Ink {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

Ink InkOf(const TestBitmap &b) {
    Ink ink;
    for (int y = 0; y < b.h; ++y)
        for (int x = 0; x < b.w; ++x)
            if (b.At(x, y) != RGB(255, 255, 255)) {
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x + 1);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y + 1);
            }
    return ink;
}

void CheckFitAndPlacement(int fontHeight, const char *mode) {
    LOGFONTW lf{};
    lf.lfHeight = fontHeight;
    lf.lfPitchAndFamily = FF_SWISS;
    const char16_t face[] = u"Tahoma";
    std::copy(std::begin(face), std::end(face), lf.lfFaceName);
    HFONT font = CreateFontIndirectW(&lf);
    const char16_t *texts[] = {u"Meeting notes", u"Phone numbers...", u"Wavy WAVE ffi", u"12/29/2005", u"99.9T"};
    for (const char16_t *text : texts) {
        int length = static_cast<int>(std::u16string(text).size());
        for (int width = 8; width <= 140; width += 11) {
            TestBitmap b(200, 40);
            HGDIOBJ old = SelectObject(b.dc, font);
            TEXTMETRICW tm{};
            GetTextMetricsW(b.dc, &tm);
            int fit = -1;
            int dx[32] = {};
            SIZE whole{};
            ASSERT_TRUE(GetTextExtentExPointW(b.dc, text, length, width, &fit, dx, &whole));
            ASSERT_GE(fit, 0);
            ASSERT_LE(fit, length);
            if (fit > 0) {
                EXPECT_LE(dx[fit - 1], width) << mode;
            }
            if (fit < length) {
                EXPECT_GT(dx[fit], width) << mode;
            }
            EXPECT_EQ(dx[length - 1], whole.cx) << mode;
            if (fit == 0) {
                SelectObject(b.dc, old);
                continue;
            }
            SIZE part{};
            GetTextExtentPoint32W(b.dc, text, fit, &part);
            RECT calc{0, 0, 0, 0};
            DrawTextW(b.dc, text, fit, &calc, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
            EXPECT_EQ(calc.right, part.cx) << mode << " fit " << fit;
            // Drawn clipped and unclipped, the ink is the same: nothing of
            // the fitting part lies outside the width.
            SetBkMode(b.dc, TRANSPARENT);
            SetTextColor(b.dc, RGB(0, 0, 0));
            RECT box{10, 5, 10 + width, 5 + 30};
            DrawTextW(b.dc, text, fit, &box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            Ink clipped = InkOf(b);
            TestBitmap c(200, 40);
            SelectObject(c.dc, font);
            SetBkMode(c.dc, TRANSPARENT);
            SetTextColor(c.dc, RGB(0, 0, 0));
            RECT free = box;
            DrawTextW(c.dc, text, fit, &free, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
            Ink unclipped = InkOf(c);
            // A glyph's ink may reach a pixel past its advance (Tahoma's at 22
            // pixels does, as on the device); more would be a wrong fit.
            EXPECT_GE(clipped.right, unclipped.right - 1) << mode << " width " << width;
            EXPECT_EQ(clipped.left, unclipped.left) << mode << " width " << width;
            // The line is centred: its cell starts (30 - height) / 2 below the top.
            int lineTop = 5 + (30 - tm.tmHeight) / 2;
            EXPECT_GE(clipped.top, lineTop) << mode;
            EXPECT_LE(clipped.bottom, lineTop + tm.tmHeight) << mode;
            SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
            SelectObject(b.dc, old);
        }
    }
    DeleteObject(font);
}

class GdiTextFit : public gdi_test::FixedFontTest {};

TEST_F(GdiTextFit, FixedFontFitsAndDrawsInsideTheWidth) {
    CheckFitAndPlacement(-11, "fixed 11");
    CheckFitAndPlacement(-21, "fixed 21");
}

TEST(GdiTextFitReal, RealFontsFitAndDrawInsideTheWidth) {
    testing_support::TempDevice device;  // the default profile: real fonts
    CheckFitAndPlacement(-11, "real 11");
    CheckFitAndPlacement(-22, "real 22");
}

// A measurement without the per-character extents takes a one-pass way once
// the characters' advances are known; fit and width are what the extents
// give, for texts that fit, fit in part, fit not at all, and are not ASCII.
TEST(GdiTextFitReal, MeasuringWithoutExtentsGivesWhatTheExtentsGive) {
    testing_support::TempDevice device;
    LOGFONTW lf{};
    lf.lfHeight = -21;
    const char16_t face[] = u"Tahoma";
    std::copy(std::begin(face), std::end(face), lf.lfFaceName);
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font);
    const char16_t *const texts[] = {u"Quarterly report 12...", u"W", u"", u"été déjà", u"a\tb~{|}", u"iiiiiiiiiiiii"};
    for (size_t t = 0; t < std::size(texts); ++t)
        for (int maxExtent : {-1, 0, 1, 7, 30, 64, 100, 1000})
            for (int pass = 0; pass < 2; ++pass) {  // the second time every advance is known
                const char16_t *text = texts[t];
                const int n = static_cast<int>(std::char_traits<char16_t>::length(text));
                int dx[64] = {}, fitWith = -1, fitWithout = -1;
                SIZE with{}, without{};
                ASSERT_TRUE(GetTextExtentExPointW(dc, text, n, maxExtent, &fitWith, dx, &with));
                ASSERT_TRUE(GetTextExtentExPointW(dc, text, n, maxExtent, &fitWithout, nullptr, &without));
                int expectedFit = 0;
                while (expectedFit < n && dx[expectedFit] <= maxExtent) ++expectedFit;
                std::string row = "text " + std::to_string(t) + " max " + std::to_string(maxExtent);
                EXPECT_EQ(fitWith, expectedFit) << row;
                EXPECT_EQ(fitWithout, fitWith) << row;
                EXPECT_EQ(without.cx, with.cx) << row;
                EXPECT_EQ(without.cy, with.cy) << row;
                EXPECT_EQ(with.cx, n ? dx[n - 1] : 0) << row;
            }
    DeleteDC(dc);
    DeleteObject(font);
}

}  // namespace
