// The single-line edit box: typing, notifications in order, limits,
// ES_NUMBER, selection conventions and a box that does not scroll.
#include "dialog_support.h"

namespace {

using namespace dialog_test;

class ControlEdit : public DialogTest {
   protected:
    HWND Make(DWORD style, const char16_t *text = u"", short cx = 60) {
        DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 40, u"");
        t.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 2, 2, cx, 12, 10, text);
        dialog = Show(t);
        Log().clear();
        return GetDlgItem(dialog, 10);
    }
    std::u16string Text(HWND edit) {
        WCHAR b[256];
        GetWindowTextW(edit, b, 256);
        return b;
    }
    std::pair<DWORD, DWORD> Sel(HWND edit) {
        DWORD s = 99, e = 99;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        return {s, e};
    }
    HWND dialog = nullptr;
};

TEST_F(ControlEdit, TypingEditsAndNotifiesInOrder) {
    HWND edit = Make(ES_AUTOHSCROLL, u"abc");
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Sel(edit), std::make_pair(DWORD(0), DWORD(3)));
    Type(u"xy");  // replaces the selection
    Key(VK_LEFT);
    Key(VK_BACK);
    Key(VK_HOME);
    Key(VK_DELETE);
    Key(VK_END);
    ShiftKey(VK_LEFT);
    Type(u"Z");
    wince::PumpReadyMessages();
    EXPECT_EQ(Text(edit), u"Z");
    std::vector<std::pair<int, int>> expected{{10, EN_UPDATE}, {10, EN_CHANGE}, {10, EN_UPDATE}, {10, EN_CHANGE},
                                              {10, EN_UPDATE}, {10, EN_CHANGE}, {10, EN_UPDATE}, {10, EN_CHANGE},
                                              {10, EN_UPDATE}, {10, EN_CHANGE}};
    EXPECT_EQ(Commands(), expected);
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    Log().clear();
    SetWindowTextW(edit, u"set");  // a single-line box tells about WM_SETTEXT too
    std::vector<std::pair<int, int>> set{{10, EN_UPDATE}, {10, EN_CHANGE}};
    EXPECT_EQ(Commands(), set);
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    EXPECT_EQ(Sel(edit), std::make_pair(DWORD(0), DWORD(0)));
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 3);
    WCHAR small[3] = {'?', '?', '?'};
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(small)), 2);
    EXPECT_EQ(std::u16string(small), u"se");
    EXPECT_EQ(SendMessageW(edit, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
}

TEST_F(ControlEdit, SelectionConventions) {
    HWND edit = Make(ES_AUTOHSCROLL, u"hello");
    struct Row {
        WPARAM start;
        LPARAM end;
        DWORD s, e;
    } rows[] = {{0, -1, 0, 5}, {1, 3, 1, 3}, {4, 2, 2, 4}, {2, 99, 2, 5}, {WPARAM(-1), 0, 5, 5}, {3, 3, 3, 3}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        if (i == 4) SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, EM_SETSEL, rows[i].start, rows[i].end);
        EXPECT_EQ(Sel(edit), std::make_pair(rows[i].s, rows[i].e)) << "row " << i;
    }
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(3, 3));
    SendMessageW(edit, EM_SETSEL, 1, 4);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"ipp"));
    EXPECT_EQ(Text(edit), u"hippo");
    EXPECT_EQ(Sel(edit), std::make_pair(DWORD(4), DWORD(4)));
}

TEST_F(ControlEdit, LimitNumberAndCase) {
    HWND edit = Make(ES_AUTOHSCROLL | ES_NUMBER);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 30000);
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    Type(u"1a2-34");
    wince::PumpReadyMessages();
    EXPECT_EQ(Text(edit), u"123");
    int maxText = 0;
    for (auto [id, code] : Commands()) maxText += code == EN_MAXTEXT;
    EXPECT_EQ(maxText, 1);
    SetWindowTextW(edit, u"123456");  // WM_SETTEXT is not limited
    EXPECT_EQ(Text(edit), u"123456");
    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);

    HWND upper = Make(ES_AUTOHSCROLL | ES_UPPERCASE);
    Type(u"abC");
    wince::PumpReadyMessages();
    EXPECT_EQ(Text(upper), u"ABC");
    HWND readOnly = Make(ES_AUTOHSCROLL | ES_READONLY, u"fixed");
    Key(VK_END);
    Type(u"x");
    Key(VK_BACK);
    wince::PumpReadyMessages();
    EXPECT_EQ(Text(readOnly), u"fixed");
    EXPECT_TRUE(Commands().empty() || Commands().front().second != EN_CHANGE);
}

// Without ES_AUTOHSCROLL the text may not grow past the box; with it the
// box scrolls and keeps the caret in view.
TEST_F(ControlEdit, WidthLimitsTypingUnlessItScrolls) {
    HWND fixed = Make(0, u"", 20);  // 55 pixels: four 11-pixel characters inside the margins
    Type(u"abcdefgh");
    wince::PumpReadyMessages();
    EXPECT_EQ(Text(fixed), u"abcd");
    bool maxText = false;
    for (auto [id, code] : Commands()) maxText |= code == EN_MAXTEXT;
    EXPECT_TRUE(maxText);

    HWND scrolling = Make(ES_AUTOHSCROLL | ES_PASSWORD, u"", 20);
    Type(u"abcdefgh");
    wince::PumpReadyMessages();
    EXPECT_EQ(Text(scrolling), u"abcdefgh");
    wince::Window *w = wince::FromHandle(scrolling);
    ASSERT_FALSE(w->drawnText.empty());
    EXPECT_EQ(w->drawnText.back().text, u"********");  // a password box shows stars
    // The box scrolled to show the caret: a tap at its right edge is after the last character.
    RECT r;
    GetWindowRect(scrolling, &r);
    wince::PostInputEvent(E{E::kStylusDown, {r.right - 3, (r.top + r.bottom) / 2}});
    wince::PostInputEvent(E{E::kStylusUp, {r.right - 3, (r.top + r.bottom) / 2}});
    wince::PumpReadyMessages();
    EXPECT_EQ(Sel(scrolling), std::make_pair(DWORD(8), DWORD(8)));
}

// The selection is drawn in the highlight colours, its text readable on them.
TEST_F(ControlEdit, SelectionUsesTheHighlightColours) {
    HWND edit = Make(ES_AUTOHSCROLL, u"abc");
    ASSERT_EQ(Sel(edit), std::make_pair(DWORD(0), DWORD(3)));
    wince::PumpReadyMessages();
    RECT r;
    GetWindowRect(edit, &r);
    int highlight = 0, highlightText = 0, plainText = 0;
    wince::ComposeScreen();
    for (int y = r.top + 1; y < r.bottom - 1; ++y)
        for (int x = r.left + 1; x < r.right - 1; ++x) {
            COLORREF c = wince::ScreenSurface()->Pixel(x, y);
            highlight += c == GetSysColor(COLOR_HIGHLIGHT);
            highlightText += c == GetSysColor(COLOR_HIGHLIGHTTEXT);
            plainText += c == GetSysColor(COLOR_WINDOWTEXT);
        }
    EXPECT_GT(highlight, 3 * 11 * 4);  // behind three characters
    EXPECT_GT(highlightText, 0);
    EXPECT_LT(plainText, 30);  // only the caret is left in the text colour
    SendMessageW(edit, EM_SETSEL, 3, 3);
    wince::PumpReadyMessages();
    int after = 0;
    wince::ComposeScreen();
    for (int y = r.top + 1; y < r.bottom - 1; ++y)
        for (int x = r.left + 1; x < r.right - 1; ++x) after += wince::ScreenSurface()->Pixel(x, y) == GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(after, 0);
}

}  // namespace
