// Static controls: where the text goes for each alignment, bitmaps set by
// STM_SETIMAGE, and grey text when disabled; the disabled look of buttons;
// the font every control paints with follows WM_SETFONT.
#include "dialog_support.h"

namespace {

using namespace dialog_test;

class ControlStatic : public DialogTest {};

// The rectangle of the text a window's last paint drew.
RECT DrawnRect(HWND hwnd, const std::u16string &text) {
    wince::Window *w = wince::FromHandle(hwnd);
    for (const wince::DrawnText &t : w->drawnText)
        if (t.text == text) return t.rect;
    return RECT{-1, -1, -1, -1};
}

int CountPixels(const RECT &screen, COLORREF color) {
    int n = 0;
    for (int y = screen.top; y < screen.bottom; ++y)
        for (int x = screen.left; x < screen.right; ++x) n += ScreenPixel(x, y) == color;
    return n;
}

TEST_F(ControlStatic, TextFollowsTheAlignmentStyle) {
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"");
    t.Item(kStatic, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 80, 10, 1, u"abc");
    t.Item(kStatic, WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 12, 80, 10, 2, u"abc");
    t.Item(kStatic, WS_CHILD | WS_VISIBLE | SS_RIGHT, 0, 24, 80, 10, 3, u"abc");
    t.Item(kStatic, WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 36, 80, 20, 4, u"one\ntwo");
    HWND d = Show(t);
    RECT client;
    GetClientRect(GetDlgItem(d, 1), &client);
    int width = client.right;  // 80 units at 11 pixels per 4
    ASSERT_EQ(width, 220);
    struct Row {
        int id;
        const char16_t *text;
        LONG left, right;
    } rows[] = {
        {1, u"abc", 0, 33},  // three cells of 11 pixels in the fixed font
        {2, u"abc", (220 - 33) / 2, (220 - 33) / 2 + 33},
        {3, u"abc", 220 - 33, 220},
        {4, u"one\ntwo", (220 - 33) / 2, (220 - 33) / 2 + 33},  // each line centred, the line break kept
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        RECT r = DrawnRect(GetDlgItem(d, rows[i].id), rows[i].text);
        EXPECT_EQ(r.left, rows[i].left) << "row " << i;
        EXPECT_EQ(r.right, rows[i].right) << "row " << i;
        EXPECT_EQ(r.top, 0) << "row " << i;
    }
    RECT two = DrawnRect(GetDlgItem(d, 4), u"one\ntwo");
    EXPECT_EQ(two.bottom - two.top, 2 * (DrawnRect(GetDlgItem(d, 1), u"abc").bottom));
}

TEST_F(ControlStatic, BitmapImagesAndDisabledText) {
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"");
    t.Item(kStatic, WS_CHILD | WS_VISIBLE | SS_BITMAP, 2, 2, 40, 40, 1, u"");
    t.Item(kStatic, WS_CHILD | WS_VISIBLE | SS_LEFT, 50, 2, 40, 10, 2, u"MMMM");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 50, 20, 40, 14, 3, u"MMMM");
    HWND d = Show(t);
    HWND image = GetDlgItem(d, 1);
    auto solid = [](COLORREF color) {
        HDC screen = GetDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 12, 8);
        HDC mem = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(mem, bitmap);
        RECT all{0, 0, 12, 8};
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(mem, &all, brush);
        DeleteObject(brush);
        SelectObject(mem, old);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        return bitmap;
    };
    HBITMAP red = solid(RGB(255, 0, 0)), blue = solid(RGB(0, 0, 255));
    EXPECT_EQ(SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(red)), 0);
    EXPECT_EQ(SendMessageW(image, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_HAND))), 0);
    wince::PumpReadyMessages();
    RECT r;
    GetWindowRect(image, &r);
    EXPECT_EQ(r.right - r.left, 12);  // sized to the bitmap
    EXPECT_EQ(r.bottom - r.top, 8);
    EXPECT_EQ(CountPixels(r, RGB(255, 0, 0)), 12 * 8);
    EXPECT_EQ(SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(blue)),
              reinterpret_cast<LRESULT>(red));
    EXPECT_EQ(SendMessageW(image, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(blue));
    wince::PumpReadyMessages();
    EXPECT_EQ(CountPixels(r, RGB(0, 0, 255)), 12 * 8);

    // Disabled text and buttons are drawn in grey, enabled ones never.
    for (int id : {2, 3}) {
        HWND h = GetDlgItem(d, id);
        GetWindowRect(h, &r);
        wince::PumpReadyMessages();
        EXPECT_EQ(CountPixels(r, GetSysColor(COLOR_GRAYTEXT)), 0) << "id " << id;
        EnableWindow(h, FALSE);
        wince::PumpReadyMessages();
        EXPECT_GT(CountPixels(r, GetSysColor(COLOR_GRAYTEXT)), 20) << "id " << id;
        EXPECT_EQ(CountPixels(r, GetSysColor(id == 2 ? COLOR_WINDOWTEXT : COLOR_BTNTEXT)), 0) << "id " << id;
    }
    DestroyWindow(d);
    DeleteObject(red);
    DeleteObject(blue);
}

TEST_F(ControlStatic, EveryControlPaintsWithTheFontItWasGiven) {
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 140, u"", 8, u"System");
    t.Item(kStatic, WS_CHILD | WS_VISIBLE | SS_LEFT, 2, 2, 90, 20, 1, u"Ab");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 2, 24, 90, 20, 2, u"Ab");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 2, 46, 90, 20, 3, u"Ab");
    t.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 2, 68, 90, 20, 4, u"Ab");
    t.Item(kListBox, WS_CHILD | WS_VISIBLE | WS_BORDER, 2, 90, 90, 20, 5, u"");
    t.Item(kComboBox, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 2, 112, 90, 40, 6, u"");
    HWND d = Show(t);
    SendDlgItemMessageW(d, 5, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Ab"));
    SendDlgItemMessageW(d, 6, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Ab"));
    SendDlgItemMessageW(d, 6, CB_SETCURSEL, 0, 0);
    LOGFONTW lf{};
    lf.lfHeight = -20;
    HFONT big = CreateFontIndirectW(&lf);
    auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(d, WM_GETFONT, 0, 0));
    ASSERT_NE(dialogFont, nullptr);
    for (int id = 1; id <= 6; ++id) {
        HWND h = GetDlgItem(d, id);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), dialogFont) << "id " << id;
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), big) << "id " << id;
        InvalidateRect(h, nullptr, TRUE);
        wince::PumpReadyMessages();
        RECT r = DrawnRect(h, u"Ab");
        EXPECT_EQ(r.right - r.left, 40) << "id " << id;  // two cells of the 20-pixel fixed font
        EXPECT_EQ(r.bottom - r.top, 20) << "id " << id;
    }
    DestroyWindow(d);
    DeleteObject(big);
}

}  // namespace
