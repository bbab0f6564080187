// The SIPPREF control: the input panel shows while an edit box of its
// dialog has the focus.
#include <aygshell.h>

#include "dialog_support.h"
#include "controls/input_panel_keys.h"
#include "window/screen_size.h"

namespace {

using namespace dialog_test;

class ControlSip : public DialogTest {};

TEST_F(ControlSip, PanelFollowsTheFocusIntoAndOutOfEditBoxes) {
    ASSERT_TRUE(SHInitExtraControls());
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"");
    t.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 2, 2, 60, 12, 10, u"");
    t.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 2, 16, 60, 12, 11, u"");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 2, 30, 40, 14, 12, u"Go");
    t.Item(u"SIPPREF", WS_CHILD, 0, 0, 0, 0, 13, u"");
    HWND d = Show(t);
    ASSERT_NE(d, nullptr);
    HWND panel = FindWindowW(u"SipWndClass", nullptr);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(IsWindowVisible(panel));  // the first edit box has the focus
    RECT r;
    GetWindowRect(panel, &r);
    EXPECT_EQ(r.bottom, 320);
    EXPECT_EQ(r.bottom - r.top, 80);
    EXPECT_EQ(r.right - r.left, 240);
    EXPECT_TRUE(GetWindowLongW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // It is drawn: keys with their letters, over the dialog.
    EXPECT_EQ(ScreenPixel(r.left, r.top), GetSysColor(COLOR_WINDOWFRAME));
    SendMessageW(d, WM_NEXTDLGCTL, 0, FALSE);
    wince::PumpReadyMessages();
    EXPECT_EQ(GetFocus(), GetDlgItem(d, 11));
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_EQ(GetActiveWindow(), d);  // the panel never takes the activation
    SendMessageW(d, WM_NEXTDLGCTL, 0, FALSE);
    wince::PumpReadyMessages();
    EXPECT_FALSE(IsWindowVisible(panel));
    Tap(GetDlgItem(d, 10));
    wince::PumpReadyMessages();
    EXPECT_TRUE(IsWindowVisible(panel));
    wince::Window *w = wince::FromHandle(panel);
    bool drewQ = false;
    for (const auto &t : w->drawnText) drewQ |= t.text == u"q";
    EXPECT_TRUE(drewQ);
    DestroyWindow(d);
    EXPECT_FALSE(IsWindowVisible(panel));
}

// The panel keeps to the bottom of the screen as the screen turns, shown or
// hidden at the time.
TEST_F(ControlSip, PanelFollowsTheScreenWhenItTurns) {
    ASSERT_TRUE(SHInitExtraControls());
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"");
    t.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 2, 2, 60, 12, 10, u"");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 2, 30, 40, 14, 12, u"Go");
    t.Item(u"SIPPREF", WS_CHILD, 0, 0, 0, 0, 13, u"");
    const struct {
        bool shown;  // while the screen turns
        int width, height;
    } rows[] = {{true, 320, 240}, {true, 240, 320}, {false, 320, 240}, {false, 240, 320}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        HWND d = Show(t);
        ASSERT_NE(d, nullptr);
        if (!rows[i].shown) DestroyWindow(d);
        ASSERT_TRUE(wince::ChangeScreenSize(rows[i].width, rows[i].height)) << "row " << i;
        wince::PumpReadyMessages();
        if (!rows[i].shown) d = Show(t);
        HWND panel = FindWindowW(u"SipWndClass", nullptr);
        ASSERT_NE(panel, nullptr);
        RECT r;
        GetWindowRect(panel, &r);
        EXPECT_EQ(r.left, 0) << "row " << i;
        EXPECT_EQ(r.right, rows[i].width) << "row " << i;
        EXPECT_EQ(r.bottom, rows[i].height) << "row " << i;
        DestroyWindow(d);
    }
}

class SipKeys : public DialogTest {
   protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(SHInitExtraControls());
        DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"");
        t.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 2, 2, 90, 12, 10, u"");
        t.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 2, 16, 90, 12, 11, u"");
        t.Item(u"SIPPREF", WS_CHILD, 0, 0, 0, 0, 13, u"");
        dialog = Show(t);
        ASSERT_NE(dialog, nullptr);
        panel = FindWindowW(u"SipWndClass", nullptr);
        ASSERT_NE(panel, nullptr);
        ASSERT_TRUE(IsWindowVisible(panel));
    }
    // The key's rectangle on the screen, as it is labelled now.
    RECT KeyOnScreen(const std::u16string &label) {
        RECT client, window;
        GetClientRect(panel, &client);
        GetWindowRect(panel, &window);
        RECT k = wince::InputPanelKeyRect(label, SIZE{client.right, client.bottom});
        OffsetRect(&k, window.left, window.top);
        return k;
    }
    void TapKey(const std::u16string &label) {
        RECT k = KeyOnScreen(label);
        ASSERT_FALSE(IsRectEmpty(&k)) << "no key " << std::string(label.begin(), label.end());
        Tap(POINT{(k.left + k.right) / 2, (k.top + k.bottom) / 2});
        // As a program's loop does for its modeless dialog: Tab and Enter are the dialog's.
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog, &m)) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
        }
    }
    std::u16string Text(int id) {
        WCHAR b[64];
        GetDlgItemTextW(dialog, id, b, 64);
        return b;
    }
    HWND dialog = nullptr, panel = nullptr;
};

TEST_F(SipKeys, TapsTypeIntoTheFocusedEditBox) {
    const struct {
        std::vector<std::u16string> taps;
        std::u16string typed;
    } rows[] = {
        {{u"Shift", u"R", u"e", u"p", u"o", u"r", u"t"}, u"Report"},
        {{u"a", u"b", u"Bksp", u"c"}, u"ac"},
        {{u"CAP", u"A", u"B", u"CAP", u"c"}, u"ABc"},  // CAP shows capitals
        {{u"Shift", u"!", u"2", u"Shift", u"}", u"]"}, u"!2}]"},
        {{u"x", u"y", u"\u2190", u"z"}, u"xzy"},
        {{u"a", u"space", u"b", u"-", u"1", u".", u"t"}, u"a b-1.t"},
        {{u"Shift", u"Shift", u"q", u"Ctl", u"\u00e1\u00fc"}, u"q"},
    };
    HWND edit = GetDlgItem(dialog, 10);
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetWindowTextW(edit, u"");
        SetFocus(edit);
        for (const std::u16string &key : rows[i].taps) TapKey(key);
        EXPECT_EQ(Text(10), rows[i].typed) << "row " << i;
        EXPECT_EQ(GetFocus(), edit) << "row " << i;
        EXPECT_EQ(GetActiveWindow(), dialog) << "row " << i;
    }
    // Tab goes on to the next box, as the keyboard's Tab does; Enter is OK.
    TapKey(u"Tab");
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 11));
    TapKey(u"z");
    EXPECT_EQ(Text(11), u"z");
    Log().clear();
    TapKey(u"Enter");
    ASSERT_FALSE(Commands().empty());
    EXPECT_EQ(Commands().front(), std::make_pair(IDOK, 0));
}

TEST_F(SipKeys, APressedKeyShowsAndSlidingOffTypesNothing) {
    RECT q = KeyOnScreen(u"q");
    POINT at{(q.left + q.right) / 2, (q.top + q.bottom) / 2};
    auto highlighted = [&] {
        int n = 0;
        wince::ComposeScreen();
        for (int y = q.top + 1; y < q.bottom - 1; ++y)
            for (int x = q.left + 1; x < q.right - 1; ++x) n += wince::ScreenSurface()->Pixel(x, y) == GetSysColor(COLOR_HIGHLIGHT);
        return n;
    };
    EXPECT_EQ(highlighted(), 0);
    wince::PostInputEvent(E{E::kStylusDown, at});
    wince::PumpReadyMessages();
    EXPECT_GT(highlighted(), 0);  // the feedback while the stylus is down
    wince::PostInputEvent(E{E::kStylusMove, POINT{at.x, q.top - 20}});
    wince::PostInputEvent(E{E::kStylusUp, POINT{at.x, q.top - 20}});
    wince::PumpReadyMessages();
    EXPECT_EQ(highlighted(), 0);
    EXPECT_EQ(Text(10), u"");
}

// Neighbouring keys share one line: every key has a line on its left and
// none just inside its edges.
TEST_F(SipKeys, KeysAreDrawnWithSingleLines) {
    const COLORREF line = GetSysColor(COLOR_BTNSHADOW), frame = GetSysColor(COLOR_WINDOWFRAME);
    wince::ComposeScreen();
    auto pixel = [](int x, int y) { return wince::ScreenSurface()->Pixel(x, y); };
    for (const char16_t *label : {u"`", u"1", u"Bksp", u"Tab", u"q", u"\\", u"CAP", u"l", u"Enter", u"Shift", u"z",
                                  u"/", u"Ctl", u"space", u"\u2190", u"\u2192"}) {
        RECT k = KeyOnScreen(label);
        ASSERT_FALSE(IsRectEmpty(&k));
        int mid = (k.top + k.bottom) / 2;
        std::string name(label, label + std::char_traits<char16_t>::length(label));
        EXPECT_TRUE(pixel(k.left, mid) == line || pixel(k.left, mid) == frame) << name;
        EXPECT_TRUE(pixel(k.right - 1, mid) == line || pixel(k.right - 1, mid) == frame) << name;
        EXPECT_NE(pixel(k.left + 1, mid), line) << name;
        EXPECT_NE(pixel(k.right - 2, mid), line) << name;
        int centre = (k.left + k.right) / 2;
        EXPECT_TRUE(pixel(centre, k.top) == line || pixel(centre, k.top) == frame) << name;
        EXPECT_NE(pixel(centre, k.top + 1), line) << name;
        EXPECT_NE(pixel(centre, k.bottom - 2), line) << name;
    }
}

}  // namespace
