// What the item puts on the screen, pixel by pixel, with the fixed-metric
// font: the message lines, the folder icon, the selection and the strip.
#include <gtest/gtest.h>

#include <string>

#include "device_profile.h"
#include "plugin_fixture.h"
#include "window/message_queue.h"

namespace {

using plugin_testing::PluginTest;

// The Today screen's look in these tests.
struct HostLook {
    COLORREF background = RGB(0, 0, 64);
    COLORREF text = RGB(10, 200, 20);
    COLORREF highlight = RGB(250, 120, 0);
    COLORREF highlightText = RGB(0, 40, 250);
};
HostLook look;

LRESULT CALLBACK PaintHostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TODAYM_GETCOLOR) {
        if (wParam == TODAYCOLOR_TEXT) return look.text;
        if (wParam == TODAYCOLOR_HIGHLIGHT) return look.highlight;
        if (wParam == TODAYCOLOR_HIGHLIGHTEDTEXT) return look.highlightText;
        return 0;
    }
    if (msg == TODAYM_DRAWWATERMARK) {
        auto *info = reinterpret_cast<TODAYDRAWWATERMARKINFO *>(lParam);
        HBRUSH brush = CreateSolidBrush(look.background);
        FillRect(info->hdc, &info->rc, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class ItemPaintTest : public PluginTest {
   protected:
    void SetUp() override {
        PluginTest::SetUp();
        look = HostLook{};
    }
    void TearDown() override {
        PluginTest::TearDown();
        UnregisterClassW(u"PaintTestHost", nullptr);
    }
    void Screen(int width, int height, int dpi) {
        screenWidth = width;
        testing_support::WriteProfile(
            device.Root(), "[screen]\nwidth = " + std::to_string(width) + "\nheight = " + std::to_string(height) +
                               "\ndpi_x = " + std::to_string(dpi) + "\ndpi_y = " + std::to_string(dpi) +
                               "\n[os]\nversion = 5.1\nplatform = PocketPC\n[font]\nmode = fixed\n");
    }
    void Setting(const char16_t *name, DWORD value) {
        HKEY key;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Varnhold\\Pelloran", 0, nullptr, 0, 0, nullptr, &key, nullptr);
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
        RegCloseKey(key);
    }
    void Setting(const char16_t *name, const std::u16string &value) {
        HKEY key;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Varnhold\\Pelloran", 0, nullptr, 0, 0, nullptr, &key, nullptr);
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
        RegCloseKey(key);
    }
    void ThemeColor(COLORREF color) {
        HKEY key;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Color", 0, nullptr, 0, 0, nullptr, &key, nullptr);
        DWORD value = color;
        RegSetValueExW(key, u"6", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
        RegCloseKey(key);
    }
    void Documents(int count) {
        for (int i = 1; i <= count; ++i) {
            char name[32];
            snprintf(name, sizeof name, "\\My Documents\\d%02d.txt", i);
            device.WriteHostFile(name, "x");
        }
    }
    // Loads the plug-in under a host with the test's look and shows the item
    // as tall as it asks, painted.
    void Show(bool hosted = false) {
        ASSERT_TRUE(Load());
        DestroyWindow(host);
        WNDCLASSW wc{};
        wc.lpfnWndProc = PaintHostProc;
        wc.lpszClassName = u"PaintTestHost";
        RegisterClassW(&wc);
        host = CreateWindowExW(0, u"PaintTestHost", u"Today", WS_POPUP | WS_VISIBLE, 0, 0, screenWidth, 640, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_NE(host, nullptr);
        record = TODAYLISTITEM{};
        record.fEnabled = TRUE;
        item = CreateItem(record, hosted);
        ASSERT_NE(item, nullptr);
        Repaint();
    }
    void Repaint() {
        SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0);
        SetWindowPos(item, nullptr, 0, 0, screenWidth, static_cast<int>(record.cyp), SWP_NOMOVE | SWP_NOZORDER);
        InvalidateRect(item, nullptr, TRUE);
        UpdateWindow(item);
        wince::PumpReadyMessages();
    }
    COLORREF Pixel(int x, int y) {
        HDC dc = GetDC(item);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(item, dc);
        return c;
    }
    // Pixels of one colour in a rectangle of the item.
    int Count(const RECT &r, COLORREF color) {
        HDC dc = GetDC(item);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += GetPixel(dc, x, y) == color;
        ReleaseDC(item, dc);
        return n;
    }
    // The bounding box of the pixels of a colour, or an empty rectangle.
    RECT Ink(const RECT &r, COLORREF color) {
        HDC dc = GetDC(item);
        RECT box{r.right, r.bottom, r.left, r.top};
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (GetPixel(dc, x, y) == color) {
                    box.left = std::min<LONG>(box.left, x), box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1), box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        ReleaseDC(item, dc);
        return box.left < box.right ? box : RECT{0, 0, 0, 0};
    }
    static std::string Text(const RECT &r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    }

    int screenWidth = 240;
    HWND item = nullptr;
    TODAYLISTITEM record{};
};

// The line starts 28 pixels in and is centred in the item's 20 rows; the
// folder icon sits at (2, 2) beside it, except in a tab host.
TEST_F(ItemPaintTest, MessageLinesBesideTheFolderIcon) {
    const struct {
        bool folder, hosted;
        const char *ink;  // of the text colour
        bool icon;
    } rows[] = {
        // "Folder does not exist": 21 cells of 11 pixels, the last ("t") ending
        // a pixel early; 'F' fills its cell's first column and top row.
        {false, false, "28,4,258,14", true},
        // "No documents to show": 20 cells.
        {true, false, "28,4,247,14", true},
        {true, true, "28,4,247,14", false},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Screen(480, 640, 96);
        if (rows[i].folder)
            device.WriteHostFile("\\Empty\\Templates\\keep", "");
        else
            std::filesystem::remove_all(device.Host("\\Empty"));
        Setting(u"Folder", u"\\Empty");
        Show(rows[i].hosted);
        std::string ink = Text(Ink(RECT{0, 0, 480, 20}, look.text));
        EXPECT_EQ(ink, rows[i].ink) << "row " << i;
        RECT iconBox{2, 2, 18, 18};
        int background = Count(iconBox, look.background);
        if (rows[i].icon)
            EXPECT_LT(background, 16 * 16) << "row " << i << ": the icon is drawn";
        else
            EXPECT_EQ(background, 16 * 16) << "row " << i;
        // Right of the text and below it only the Today background.
        EXPECT_EQ(Count(RECT{300, 0, 480, 20}, look.background), 180 * 20) << "row " << i;
        TearDown();
        host = nullptr;
        module = nullptr;
    }
}

// The selected cell is filled one pixel beyond its right and bottom edges,
// its name in the highlight text colour; the others keep the Today colours.
TEST_F(ItemPaintTest, SelectionFillAndColours) {
    const struct {
        int width, height, dpi;
        RECT fill;       // cell 0 and the pixel beyond
        RECT neighbour;  // cell 1
    } rows[] = {
        // The grid ends a pixel short of the item's right edge.
        {240, 320, 96, {26, 0, 132, 18}, {132, 0, 238, 17}},
        {480, 640, 192, {52, 0, 265, 35}, {265, 0, 478, 34}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Screen(rows[i].width, rows[i].height, rows[i].dpi);
        Documents(4);
        Show();
        EXPECT_EQ(Count(rows[i].fill, look.highlight), 0) << "row " << i << ": nothing selected yet";
        EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_RECEIVEDSELECTION, 0, 0), TRUE) << "row " << i;
        UpdateWindow(item);
        const RECT &f = rows[i].fill;
        int area = (f.right - f.left) * (f.bottom - f.top);
        int filled = Count(f, look.highlight), text = Count(f, look.highlightText);
        EXPECT_GT(text, 0) << "row " << i;
        // The document icon covers part of the fill; the rest is highlight.
        int iconSide = rows[i].dpi == 96 ? 16 : 32;
        EXPECT_GE(filled + text, area - iconSide * iconSide) << "row " << i;
        EXPECT_EQ(Count(f, look.text), 0) << "row " << i;
        // Right of and below the fill: background and the neighbour's text.
        EXPECT_EQ(Count(RECT{f.right, f.top, f.right + 1, f.bottom}, look.highlight), 0) << "row " << i;
        EXPECT_EQ(Count(RECT{f.left, f.bottom, f.right, f.bottom + 1}, look.highlight), 0) << "row " << i;
        EXPECT_EQ(Count(RECT{f.left - 1, f.top, f.left, f.bottom}, look.highlight), 0) << "row " << i;
        EXPECT_GT(Count(rows[i].neighbour, look.text), 0) << "row " << i;
        EXPECT_EQ(Count(rows[i].neighbour, look.highlightText), 0) << "row " << i;
        EXPECT_EQ(Count(RECT{f.right - 1, f.top, f.right, f.bottom}, look.highlight), f.bottom - f.top) << "row " << i;
        TearDown();
        host = nullptr;
        module = nullptr;
        std::filesystem::remove_all(device.Host("\\My Documents"));
    }
}

// Platforms before 4.21 have no Today colours to ask for: the selection
// takes the system's highlight colours there, and the Today screen's after.
TEST_F(ItemPaintTest, OlderPlatformsHighlightInTheSystemColours) {
    const COLORREF systemFill = RGB(20, 160, 90), systemText = RGB(240, 230, 10);
    const struct {
        const char *version;
        bool system;
    } rows[] = {{"4.20", true}, {"4.21", false}, {"5.1", false}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        testing_support::WriteProfile(device.Root(), std::string("[screen]\nwidth = 240\nheight = 320\ndpi_x = 96\n"
                                                                 "dpi_y = 96\n[os]\nversion = ") +
                                                         rows[i].version +
                                                         "\nplatform = PocketPC\n[font]\nmode = fixed\n"
                                                         "[colors]\nhighlight = #14A05A\nhighlighttext = #F0E60A\n");
        Documents(4);
        Show();
        SendMessageW(item, WM_TODAYCUSTOM_RECEIVEDSELECTION, 0, 0);
        UpdateWindow(item);
        const RECT fill{26, 0, 132, 18};  // cell 0 and the pixel beyond
        COLORREF expectedFill = rows[i].system ? systemFill : look.highlight;
        COLORREF expectedText = rows[i].system ? systemText : look.highlightText;
        COLORREF otherFill = rows[i].system ? look.highlight : systemFill;
        COLORREF otherText = rows[i].system ? look.highlightText : systemText;
        EXPECT_GT(Count(fill, expectedFill), 0) << "row " << i;
        EXPECT_GT(Count(fill, expectedText), 0) << "row " << i;
        EXPECT_EQ(Count(fill, otherFill), 0) << "row " << i;
        EXPECT_EQ(Count(fill, otherText), 0) << "row " << i;
        TearDown();
        host = nullptr;
        module = nullptr;
        std::filesystem::remove_all(device.Host("\\My Documents"));
    }
}

// 9 documents in 2 columns and 4 rows do not fit: the strip takes the right
// 15 pixels (28 at 192 dots per inch) in the theme colour, its light parts
// tinted from the background under them.
TEST_F(ItemPaintTest, ScrollStripColoursAndWidth) {
    const COLORREF theme = RGB(200, 30, 40);
    const struct {
        int width, height, dpi;
        COLORREF background, tint;
        int stripX, stripWidth;
        POINT track, thumbSide, upEdge, upInside, thumbInside;
    } rows[] = {
        // Dark: each channel (3 x average + 255) / 4.
        {240, 320, 96, RGB(0, 0, 64), RGB(63, 63, 111), 224, 15, {231, 55}, {226, 30}, {227, 1}, {230, 3}, {230, 30}},
        {240,
         320,
         96,
         RGB(255, 255, 255),
         RGB(255, 255, 255),
         224,
         15,
         {231, 55},
         {226, 30},
         {227, 1},
         {230, 3},
         {230, 30}},
        {480,
         640,
         192,
         RGB(100, 150, 200),
         RGB(138, 176, 213),
         451,
         28,
         {464, 110},
         {455, 70},
         {458, 2},
         {460, 6},
         {462, 70}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Screen(rows[i].width, rows[i].height, rows[i].dpi);
        ThemeColor(theme);
        look.background = rows[i].background;
        Documents(9);
        Show();
        const auto &r = rows[i];
        EXPECT_EQ(Pixel(r.track.x, r.track.y), theme) << "row " << i << ": the track below the thumb";
        EXPECT_EQ(Pixel(r.thumbSide.x, r.thumbSide.y), theme) << "row " << i << ": the thumb's left side";
        EXPECT_EQ(Pixel(r.upEdge.x, r.upEdge.y), theme) << "row " << i << ": the up button's top edge";
        EXPECT_EQ(Pixel(r.upInside.x, r.upInside.y), r.tint) << "row " << i << ": inside the up button";
        EXPECT_EQ(Pixel(r.thumbInside.x, r.thumbInside.y), r.tint) << "row " << i << ": inside the thumb";
        // The strip's corners and its outer columns keep the background.
        EXPECT_EQ(Pixel(r.stripX, r.upEdge.y), r.background) << "row " << i;
        EXPECT_EQ(Pixel(r.stripX + 1, r.upEdge.y), r.background) << "row " << i << ": a black template corner";
        // Nothing of the strip left of it or in the last column.
        int height = static_cast<int>(record.cyp);
        RECT left{r.stripX - 3, 0, r.stripX, height};
        EXPECT_EQ(Count(left, theme) + Count(left, r.tint == r.background ? RGB(1, 2, 3) : r.tint), 0) << "row " << i;
        RECT strip{r.stripX, 0, r.stripX + r.stripWidth, height};
        EXPECT_GT(Count(strip, theme), 0) << "row " << i;
        EXPECT_EQ(Count(RECT{r.stripX + r.stripWidth, 0, r.width, height}, theme), 0) << "row " << i;
        EXPECT_GT(Count(RECT{r.stripX + r.stripWidth - 2, 0, r.stripX + r.stripWidth - 1, height}, theme), 0)
            << "row " << i << ": the arrows reach the strip's last column but one";
        TearDown();
        host = nullptr;
        module = nullptr;
        std::filesystem::remove_all(device.Host("\\My Documents"));
    }
}

}  // namespace
