// Text measuring and drawing with the fixed-metric font, exact to the
// pixel; and real fonts through fontconfig.
#include <windows.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/unicode.h"
#include "gdi/surface.h"
#include "gdi_support.h"

namespace {

using gdi_test::Hex;
using gdi_test::TestBitmap;

HFONT MakeFont(int height, int weight = FW_NORMAL, const char16_t *face = u"Tahoma") {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) lf.lfFaceName[i] = face[i];
    return CreateFontIndirectW(&lf);
}

// The bounding box of the pixels of a colour, or an empty rectangle.
RECT InkBox(const TestBitmap &b, COLORREF ink) {
    RECT r{b.w, b.h, 0, 0};
    for (int y = 0; y < b.h; ++y)
        for (int x = 0; x < b.w; ++x)
            if (b.At(x, y) == ink) {
                r.left = std::min<LONG>(r.left, x), r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1), r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r.left < r.right ? r : RECT{0, 0, 0, 0};
}

struct Drawn {
    HWND window;
    std::u16string text;
    RECT rect;
};
std::vector<Drawn> drawnTexts;
void RecordText(HDC, HWND window, const std::u16string &text, const RECT &rect) {
    drawnTexts.push_back(Drawn{window, text, rect});
}

class GdiText : public gdi_test::FixedFontTest {};

TEST_F(GdiText, FixedFontMeasuresEveryCharacterAsASquareCell) {
    TestBitmap b(10, 10);
    HFONT font = MakeFont(10);
    SelectObject(b.dc, font);
    int fit = -1;
    int dx[6] = {-1, -1, -1, -1, -1, -1};
    SIZE size{-1, -1};
    EXPECT_TRUE(GetTextExtentExPointW(b.dc, u"abcdef", 6, 35, &fit, dx, &size));
    EXPECT_EQ(fit, 3);
    const int expected[6] = {10, 20, 30, 40, 50, 60};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(dx[i], expected[i]) << i;
    EXPECT_EQ(size.cx, 60);
    EXPECT_EQ(size.cy, 10);

    struct Row {
        const char16_t *text;
        int count, max, fit;
    } rows[] = {
        {u"abcdef", 6, 60, 6}, {u"abcdef", 6, 59, 5}, {u"abcdef", 6, 9, 0}, {u"abcdef", 6, -1, 0},
        {u"", 0, 100, 0},      {u"a b", 3, 30, 3},    {u"\u00e9\u4e2d", 2, 20, 2},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        fit = -1;
        EXPECT_TRUE(GetTextExtentExPointW(b.dc, rows[i].text, rows[i].count, rows[i].max, &fit, nullptr, &size))
            << "row " << i;
        EXPECT_EQ(fit, rows[i].fit) << "row " << i;
        EXPECT_EQ(size.cx, rows[i].count * 10) << "row " << i;
    }
    EXPECT_TRUE(GetTextExtentPoint32W(b.dc, u"xyz", 3, &size));
    EXPECT_EQ(size.cx, 30);

    TEXTMETRICW tm{};
    EXPECT_TRUE(GetTextMetricsW(b.dc, &tm));
    EXPECT_EQ(tm.tmHeight, 10);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, 10);
    EXPECT_EQ(tm.tmAveCharWidth, 10);
    WCHAR face[32];
    EXPECT_EQ(GetTextFaceW(b.dc, 32, face), 6);
    EXPECT_EQ(std::u16string(face), u"Tahoma");
    EXPECT_EQ(GetTextFaceW(b.dc, 0, nullptr), 7);
    EXPECT_EQ(GetTextFaceW(b.dc, 3, face), 2);
    EXPECT_EQ(std::u16string(face), u"Ta");

    // The system font: 8 points at 96 dpi.
    SelectObject(b.dc, GetStockObject(SYSTEM_FONT));
    EXPECT_TRUE(GetTextExtentPoint32W(b.dc, u"ab", 2, &size));
    EXPECT_EQ(size.cx, 22);
    EXPECT_EQ(size.cy, 11);
    DeleteObject(font);
}

TEST_F(GdiText, ExtTextOutOpaqueRectangleAndAlignment) {
    TestBitmap b(40, 20, 24, RGB(255, 255, 255));
    HFONT font = MakeFont(-8);
    SelectObject(b.dc, font);
    SetTextColor(b.dc, RGB(0, 0, 0));
    SetBkColor(b.dc, RGB(0, 0, 255));
    SetBkMode(b.dc, TRANSPARENT);
    RECT r{2, 3, 30, 15};
    EXPECT_TRUE(ExtTextOutW(b.dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr));
    EXPECT_TRUE(EqualRect(&r, &(const RECT &)InkBox(b, RGB(0, 0, 255))));

    struct Row {
        UINT align;
        int x, y;
        RECT cell;  // where the opaque background lands
    } rows[] = {
        {TA_LEFT | TA_TOP, 5, 4, {5, 4, 21, 12}},        {TA_RIGHT | TA_TOP, 25, 4, {9, 4, 25, 12}},
        {TA_CENTER | TA_TOP, 20, 4, {12, 4, 28, 12}},    {TA_LEFT | TA_BOTTOM, 5, 12, {5, 4, 21, 12}},
        {TA_LEFT | TA_BASELINE, 5, 11, {5, 4, 21, 12}},  // ascent of an 8-pixel cell is 7
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        TestBitmap t(40, 20, 24, RGB(255, 255, 255));
        SelectObject(t.dc, font);
        SetBkColor(t.dc, RGB(0, 0, 255));
        SetTextAlign(t.dc, rows[i].align);
        EXPECT_TRUE(ExtTextOutW(t.dc, rows[i].x, rows[i].y, 0, nullptr, u"\u2588\u2588", 2, nullptr)) << "row " << i;
        RECT ink = InkBox(t, RGB(0, 0, 255));
        RECT black = InkBox(t, RGB(0, 0, 0));
        // Opaque mode: the cell is background, the glyphs (boxes) black on it.
        RECT cell = ink;
        UnionRect(&cell, &ink, &black);
        EXPECT_TRUE(EqualRect(&cell, &rows[i].cell))
            << "row " << i << ": " << cell.left << "," << cell.top << "," << cell.right << "," << cell.bottom;
        SelectObject(t.dc, GetStockObject(SYSTEM_FONT));
    }
    // ETO_CLIPPED keeps the text inside the rectangle; lpDx spaces it.
    TestBitmap c(40, 10, 24, RGB(255, 255, 255));
    SelectObject(c.dc, font);
    SetBkMode(c.dc, TRANSPARENT);
    RECT clip{0, 0, 12, 10};
    const INT dx[3] = {12, 12, 12};
    EXPECT_TRUE(ExtTextOutW(c.dc, 0, 0, ETO_CLIPPED, &clip, u"\u2588\u2588\u2588", 3, dx));
    RECT ink = InkBox(c, RGB(0, 0, 0));
    EXPECT_LE(ink.right, 12);
    EXPECT_GT(ink.right, 0);
    SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
    SelectObject(b.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST_F(GdiText, GlyphsAreDrawnInTheTextColourExactly) {
    TestBitmap b(16, 8, 24, RGB(255, 255, 255));
    HFONT font = MakeFont(8);
    SelectObject(b.dc, font);
    SetTextColor(b.dc, RGB(200, 10, 20));
    SetBkMode(b.dc, TRANSPARENT);
    EXPECT_TRUE(ExtTextOutW(b.dc, 0, 0, 0, nullptr, u"H", 1, nullptr));
    // The 5x7 pattern in its 6x8 grid, stretched to the 8-pixel cell: the
    // first and fourth grid columns take two pixels each.
    EXPECT_EQ(b.Picture(RGB(200, 10, 20)),
              "##....#.........\n"
              "##....#.........\n"
              "##....#.........\n"
              "#######.........\n"
              "##....#.........\n"
              "##....#.........\n"
              "##....#.........\n"
              "................\n");
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            COLORREF c = b.At(x, y);
            EXPECT_TRUE(c == RGB(200, 10, 20) || c == RGB(255, 255, 255)) << x << "," << y << " " << Hex(c);
        }
    SelectObject(b.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST_F(GdiText, DrawTextPlacement) {
    HFONT font = MakeFont(10);
    struct Row {
        const char16_t *text;
        UINT format;
        RECT box;  // where the background of the text lands
        int result;
    } rows[] = {
        {u"abc", DT_SINGLELINE | DT_VCENTER | DT_CENTER, {25, 15, 55, 25}, 25},
        {u"abc", DT_SINGLELINE | DT_RIGHT, {50, 0, 80, 10}, 10},
        {u"abc", DT_SINGLELINE | DT_BOTTOM, {0, 30, 30, 40}, 40},
        {u"ab\ncd", DT_LEFT, {0, 0, 20, 20}, 20},
        {u"ab\r\nc", DT_CENTER, {30, 0, 50, 20}, 20},
        {u"a&bc", DT_SINGLELINE, {0, 0, 30, 10}, 10},
        {u"a&bc", DT_SINGLELINE | DT_NOPREFIX, {0, 0, 40, 10}, 10},
        {u"a&&b", DT_SINGLELINE, {0, 0, 30, 10}, 10},
        {u"one two three", DT_WORDBREAK, {0, 0, 70, 20}, 20},       // "one two" / "three"
        {u"abcdefghijk", DT_SINGLELINE | DT_END_ELLIPSIS, {0, 0, 80, 10}, 10},  // "abcde..."
        {u"abcdefghijk", DT_SINGLELINE, {0, 0, 80, 10}, 10},                     // clipped to the rectangle
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        TestBitmap b(100, 60, 24, RGB(255, 255, 255));
        SelectObject(b.dc, font);
        SetBkColor(b.dc, RGB(0, 255, 0));
        SetTextColor(b.dc, RGB(0, 255, 0));
        RECT rect{0, 0, 80, 40};
        EXPECT_EQ(DrawTextW(b.dc, rows[i].text, -1, &rect, rows[i].format), rows[i].result) << "row " << i;
        RECT box = InkBox(b, RGB(0, 255, 0));
        EXPECT_TRUE(EqualRect(&box, &rows[i].box))
            << "row " << i << ": " << box.left << "," << box.top << "," << box.right << "," << box.bottom;
        SelectObject(b.dc, GetStockObject(SYSTEM_FONT));
    }
    DeleteObject(font);
}

TEST_F(GdiText, DrawTextPrefixUnderlinesTheCharacter) {
    TestBitmap b(30, 10, 24, RGB(255, 255, 255));
    HFONT font = MakeFont(10);
    SelectObject(b.dc, font);
    SetBkMode(b.dc, TRANSPARENT);
    SetTextColor(b.dc, RGB(255, 0, 0));
    RECT rect{0, 0, 30, 10};
    DrawTextW(b.dc, u"&_a", -1, &rect, DT_SINGLELINE);
    // '_' is drawn on row 6 of the pattern; the underline is the cell's
    // bottom row, under the first character only.
    std::string picture = b.Picture(RGB(255, 0, 0));
    EXPECT_EQ(picture.substr(9 * 31, 31), std::string(10, '#') + std::string(20, '.') + "\n");
    SelectObject(b.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST_F(GdiText, DrawTextCalcRect) {
    TestBitmap b(10, 10);
    HFONT font = MakeFont(10);
    SelectObject(b.dc, font);
    struct Row {
        const char16_t *text;
        UINT format;
        RECT in, out;
        int result;
    } rows[] = {
        {u"abcd", DT_SINGLELINE | DT_CALCRECT, {5, 5, 6, 6}, {5, 5, 45, 15}, 10},
        {u"a&bcd", DT_SINGLELINE | DT_CALCRECT, {0, 0, 0, 0}, {0, 0, 40, 10}, 10},
        {u"aa bb cc dd", DT_WORDBREAK | DT_CALCRECT, {0, 0, 55, 0}, {0, 0, 50, 20}, 20},
        {u"aa bb cc dd", DT_WORDBREAK | DT_CALCRECT, {0, 0, 45, 0}, {0, 0, 20, 40}, 40},
        {u"averylongword x", DT_WORDBREAK | DT_CALCRECT, {0, 0, 30, 0}, {0, 0, 130, 20}, 20},
        {u"a\n\nb", DT_CALCRECT, {0, 0, 100, 0}, {0, 0, 10, 30}, 30},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        RECT r = rows[i].in;
        EXPECT_EQ(DrawTextW(b.dc, rows[i].text, -1, &r, rows[i].format), rows[i].result) << "row " << i;
        EXPECT_TRUE(EqualRect(&r, &rows[i].out))
            << "row " << i << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    SetLastError(0);
    EXPECT_EQ(DrawTextW(b.dc, u"x", 1, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SelectObject(b.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST_F(GdiText, TextHookSeesWhatIsDrawn) {
    drawnTexts.clear();
    wince::SetTextDrawnHook(RecordText);
    auto surface = wince::Surface::Create(100, 50);
    HWND window = reinterpret_cast<HWND>(0x77);
    HDC dc = wince::CreateSurfaceDC(surface, POINT{10, 10}, wince::Region(RECT{0, 0, 100, 50}), window);
    HFONT font = MakeFont(10);
    SelectObject(dc, font);
    ExtTextOutW(dc, 1, 2, 0, nullptr, u"hi", 2, nullptr);
    RECT r{0, 0, 60, 30};
    DrawTextW(dc, u"&Open", -1, &r, DT_SINGLELINE | DT_CENTER);
    RECT calc{0, 0, 60, 30};
    DrawTextW(dc, u"not drawn", -1, &calc, DT_CALCRECT);
    wince::SetTextDrawnHook(nullptr);
    ExtTextOutW(dc, 1, 2, 0, nullptr, u"unseen", 6, nullptr);
    ASSERT_EQ(drawnTexts.size(), 2u);
    EXPECT_EQ(drawnTexts[0].window, window);
    EXPECT_EQ(drawnTexts[0].text, u"hi");
    const RECT first{1, 2, 21, 12}, second{10, 0, 50, 10};
    EXPECT_TRUE(EqualRect(&drawnTexts[0].rect, &first));
    EXPECT_EQ(drawnTexts[1].text, u"Open");
    EXPECT_TRUE(EqualRect(&drawnTexts[1].rect, &second));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    wince::DestroySurfaceDC(dc);
    DeleteObject(font);
}

TEST(GdiRealFont, TahomaResolvesAndBoldIsWider) {
    testing_support::TempDevice device;  // the default profile: real fonts
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT regular = MakeFont(-12), bold = MakeFont(-12, FW_BOLD);
    SelectObject(dc, regular);
    WCHAR face[LF_FACESIZE] = {};
    ASSERT_GT(GetTextFaceW(dc, LF_FACESIZE, face), 0);
    SIZE a{}, b{};
    const char16_t *sample = u"The quick brown fox";
    GetTextExtentPoint32W(dc, sample, 19, &a);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    if (tm.tmAveCharWidth == 12 && a.cx == 19 * 12)
        GTEST_SKIP() << "fontconfig found no font on this machine; the fixed font stood in";
    EXPECT_NE(std::u16string(face), u"");
    EXPECT_GE(tm.tmHeight, 12);
    EXPECT_LT(tm.tmHeight, 20);
    SelectObject(dc, bold);
    GetTextExtentPoint32W(dc, sample, 19, &b);
    EXPECT_GT(b.cx, a.cx) << "bold " << b.cx << " regular " << a.cx;
    // Text is drawn: something dark, and with anti-aliasing something between.
    HBITMAP bitmap = CreateBitmap(80, 20, 1, 24, nullptr);
    SelectObject(dc, bitmap);
    RECT all{0, 0, 80, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, regular);
    ExtTextOutW(dc, 0, 0, 0, nullptr, u"Wave", 4, nullptr);
    int dark = 0, mid = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x) {
            int v = GetRValue(GetPixel(dc, x, y));
            dark += v < 64;
            mid += v >= 64 && v < 200;
        }
    EXPECT_GT(dark, 10);
    // The Tahoma-compatible file brings crisp bitmaps for small sizes, as the
    // device draws them; a stand-in face is anti-aliased.
    if (std::u16string(face) != u"Tahoma") {
        EXPECT_GT(mid, 0);
    }
    DeleteDC(dc);
    DeleteObject(bitmap);
    DeleteObject(regular);
    DeleteObject(bold);
}

// A plain single line is drawn without building lines; every placement,
// background mode and clip gives what the general layout gives (forced here
// by DT_EXPANDTABS, which changes nothing for a text without tabs): the same
// pixels, the same height returned and the same text and box reported.
TEST(GdiRealFont, PlainSingleLinesDrawAsTheGeneralLayoutDoes) {
    testing_support::TempDevice device;
    HFONT font = MakeFont(-22);  // anti-aliased: partly covered pixels are blended
    const UINT across[] = {DT_LEFT, DT_CENTER, DT_RIGHT}, down[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
    const char16_t *const texts[] = {u"Quarterly report 7", u"A & B", u"été … 😀"};
    for (const char16_t *text : texts)
        for (UINT a : across)
            for (UINT d : down)
                for (int mode : {TRANSPARENT, OPAQUE})
                    for (UINT extra : {0u, static_cast<UINT>(DT_NOCLIP), static_cast<UINT>(DT_NOPREFIX)}) {
                        std::vector<Drawn> seen[2];
                        int heights[2];
                        std::vector<COLORREF> pixels[2];
                        for (int general = 0; general < 2; ++general) {
                            TestBitmap b(160, 60, 24, RGB(40, 120, 200));
                            SelectObject(b.dc, font);
                            SetTextColor(b.dc, RGB(250, 230, 10));
                            SetBkColor(b.dc, RGB(0, 60, 0));
                            SetBkMode(b.dc, mode);
                            drawnTexts.clear();
                            wince::SetTextDrawnHook(RecordText);
                            RECT r{20, 10, 120, 50};  // narrower than the longest text
                            UINT format = DT_SINGLELINE | a | d | extra | (general ? DT_EXPANDTABS : 0);
                            heights[general] = DrawTextW(b.dc, text, -1, &r, format);
                            wince::SetTextDrawnHook(nullptr);
                            seen[general] = drawnTexts;
                            for (int y = 0; y < b.h; ++y)
                                for (int x = 0; x < b.w; ++x) pixels[general].push_back(b.At(x, y));
                            SelectObject(b.dc, GetStockObject(SYSTEM_FONT));
                        }
                        std::string row = wince::ToUtf8(text) + " format " + std::to_string(across[0] | a | d | extra) +
                                          " mode " + std::to_string(mode);
                        EXPECT_EQ(heights[0], heights[1]) << row;
                        EXPECT_TRUE(pixels[0] == pixels[1]) << row;
                        ASSERT_EQ(seen[0].size(), 1u) << row;
                        ASSERT_EQ(seen[1].size(), 1u) << row;
                        EXPECT_EQ(seen[0][0].text, seen[1][0].text) << row;
                        EXPECT_TRUE(EqualRect(&seen[0][0].rect, &seen[1][0].rect)) << row;
                    }
    DeleteObject(font);
}

// "Tahoma" comes from its metric-compatible file when installed, so names
// measure as on the device; without the files the nearest face stands in.
TEST(GdiRealFont, TahomaUsesItsMetricCompatibleFile) {
    if (access("/usr/share/wine/fonts/tahoma.ttf", R_OK) != 0) GTEST_SKIP() << "fonts-wine is not installed";
    struct Measured {
        std::u16string face;
        LONG name, boldName;
        SIZE units;
    };
    auto measure = [] {
        testing_support::TempDevice device;  // the default profile: real fonts
        HDC dc = CreateCompatibleDC(nullptr);
        HFONT regular = MakeFont(-11), bold = MakeFont(-11, FW_BOLD);
        Measured m{};
        SelectObject(dc, regular);
        WCHAR face[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, face);
        m.face = face;
        SIZE size{};
        GetTextExtentPoint32W(dc, u"Shopping list", 13, &size);
        m.name = size.cx;
        SelectObject(dc, bold);
        GetTextExtentPoint32W(dc, u"Shopping list", 13, &size);
        m.boldName = size.cx;
        SelectObject(dc, GetStockObject(SYSTEM_FONT));
        LONG units = GetDialogBaseUnits();
        m.units = SIZE{LOWORD(units), HIWORD(units)};
        DeleteDC(dc);
        DeleteObject(regular);
        DeleteObject(bold);
        return m;
    };
    Measured tahoma = measure();
    setenv("WINCE_FONT_DIRS", "/nonexistent", 1);
    Measured fallback = measure();
    unsetenv("WINCE_FONT_DIRS");
    EXPECT_EQ(tahoma.face, u"Tahoma");
    EXPECT_NE(fallback.face, u"Tahoma");
    // Tahoma is narrower than the stand-in: a name that fits on the device fits here.
    EXPECT_LT(tahoma.name, fallback.name);
    EXPECT_GT(tahoma.boldName, tahoma.name);
    // Dialog base units follow the font the system font realizes.
    EXPECT_LT(tahoma.units.cx, fallback.units.cx);
    EXPECT_GT(tahoma.units.cy, 0);
}

}  // namespace
