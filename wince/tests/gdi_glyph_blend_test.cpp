// Glyph blending: the byte blend that 24-bit canvases take is the rounded
// quotient for every ink, background and coverage, and text drawn on a
// 24-bit bitmap gives the pixels of the general per-pixel blend (which a
// 32-bit bitmap takes), with real anti-aliased fonts and any clip.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gdi/glyph_blend.h"
#include "gdi_support.h"

namespace {

using gdi_test::Hex;
using gdi_test::TestBitmap;

HFONT MakeFont(int height, int weight, const char16_t *face) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) lf.lfFaceName[i] = face[i];
    return CreateFontIndirectW(&lf);
}

// Every run length from one pixel to more than a vector's worth, at every
// phase of the three bytes of a pixel: each byte must be round(x / 255).
TEST(GdiGlyphBlend, BytesBlendAsTheRoundedQuotient) {
    std::vector<uint8_t> under(256), cov(256), ink(256), dst(256);
    int wrong = 0;
    for (unsigned i = 0; i < 256; ++i)
        for (unsigned a = 0; a < 256; ++a)
            for (unsigned u = 0; u < 256; ++u)
                if (wince::gdi::Mix(i, u, a) != (i * a + u * (255 - a) + 127) / 255 && wrong++ < 3)
                    ADD_FAILURE() << "ink " << i << " under " << u << " coverage " << a;
    EXPECT_EQ(wrong, 0);
    unsigned seed = 7;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16 & 0xFF; };
    for (int n = 1; n <= 200; ++n) {
        for (int k = 0; k < 256; ++k) {
            under[k] = static_cast<uint8_t>(next());
            // Plenty of the ends of the range, as glyphs have them.
            unsigned r = next();
            cov[k] = static_cast<uint8_t>(r < 64 ? 0 : r < 128 ? 255 : next());
            ink[k] = static_cast<uint8_t>(next());
        }
        dst = under;
        wince::gdi::BlendBytes(dst.data() + 1, cov.data() + 1, ink.data() + 1, n);
        EXPECT_EQ(dst[0], under[0]) << "length " << n << ": nothing before the run";
        for (int j = 1; j <= n; ++j)
            ASSERT_EQ(dst[j], wince::gdi::Mix(ink[j], under[j], cov[j])) << "length " << n << " byte " << j;
        for (int j = n + 1; j < 256; ++j) ASSERT_EQ(dst[j], under[j]) << "length " << n << ": nothing after the run";
    }
}

TEST(GdiGlyphBlend, TwentyFourBitTextMatchesTheGeneralBlend) {
    testing_support::TempDevice device;  // the default profile: real, anti-aliased fonts
    struct Row {
        int height, weight;
        COLORREF ink, background;
        int x, y;
        RECT clip;    // ETO_CLIPPED rectangle; empty for none
        bool region;  // a clip region of two separate bands
        const char16_t *text;
    } rows[] = {
        {-22, FW_NORMAL, RGB(250, 230, 10), RGB(40, 120, 200), 4, 6, {}, false, u"Quarterly report 7"},
        {-22, FW_BOLD, RGB(0, 0, 0), RGB(255, 255, 255), 4, 6, {}, false, u"Wave W@#%&"},
        {-40, FW_NORMAL, RGB(255, 255, 255), RGB(0, 0, 0), 2, 0, {}, false, u"mm WW gjpq"},
        {-13, FW_NORMAL, RGB(1, 2, 3), RGB(254, 253, 252), 0, 0, {}, false, u"été … 😀 ÆØÅ"},
        {-22, FW_NORMAL, RGB(200, 10, 20), RGB(30, 30, 30), -7, -5, {}, false, u"cut at the left and top"},
        {-22, FW_NORMAL, RGB(200, 10, 20), RGB(30, 30, 30), 150, 40, {}, false, u"cut at the right and bottom"},
        {-30, FW_NORMAL, RGB(0, 128, 255), RGB(255, 128, 0), 3, 4, {17, 9, 61, 23}, false, u"clipped inside glyphs"},
        {-30, FW_BOLD, RGB(0, 128, 255), RGB(255, 128, 0), 3, 4, {}, true, u"two bands of region"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        HFONT font = MakeFont(r.height, r.weight, u"Tahoma");
        std::vector<COLORREF> pixels[2];
        for (int depth = 0; depth < 2; ++depth) {
            TestBitmap b(200, 60, depth ? 32 : 24, r.background);
            SelectObject(b.dc, font);
            SetTextColor(b.dc, r.ink);
            SetBkMode(b.dc, TRANSPARENT);
            HRGN bands = nullptr;
            if (r.region) {
                bands = CreateRectRgn(0, 8, 200, 14);
                HRGN second = CreateRectRgn(40, 20, 120, 60);
                CombineRgn(bands, bands, second, RGN_OR);
                DeleteObject(second);
                SelectClipRgn(b.dc, bands);
            }
            const bool clipped = r.clip.right > r.clip.left;
            ASSERT_TRUE(ExtTextOutW(b.dc, r.x, r.y, clipped ? ETO_CLIPPED : 0, clipped ? &r.clip : nullptr, r.text,
                                    static_cast<UINT>(std::char_traits<char16_t>::length(r.text)), nullptr))
                << "row " << i;
            for (int y = 0; y < b.h; ++y)
                for (int x = 0; x < b.w; ++x) pixels[depth].push_back(GetPixel(b.dc, x, y));
            SelectClipRgn(b.dc, nullptr);
            if (bands) DeleteObject(bands);
            SelectObject(b.dc, GetStockObject(SYSTEM_FONT));
        }
        int inked = 0, differ = 0;
        for (size_t k = 0; k < pixels[0].size(); ++k) {
            inked += pixels[0][k] != r.background;
            if (pixels[0][k] != pixels[1][k] && differ++ < 3)
                ADD_FAILURE() << "row " << i << " pixel " << k % 200 << "," << k / 200 << ": 24-bit "
                              << Hex(pixels[0][k]) << ", general " << Hex(pixels[1][k]);
        }
        EXPECT_EQ(differ, 0) << "row " << i;
        EXPECT_GT(inked, 20) << "row " << i << ": the text must reach the bitmap";
        DeleteObject(font);
    }
}

}  // namespace
