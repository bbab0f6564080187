// The SIPPREF control: the input panel shows while an edit box of its
// dialog has the focus.
#include <aygshell.h>

#include "dialog_support.h"
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

}  // namespace
