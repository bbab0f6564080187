// Dialogs whose controls reach below their client area: the bar the dialog
// manager adds, scrolling the controls, and taking the bar away again.
#include <algorithm>

#include "dialog_support.h"

namespace {

using namespace dialog_test;

class DialogScroll : public DialogTest {
   protected:
    // 80 dialog units high with a button whose bottom is at 150.
    HWND Tall(DWORD style = WS_POPUP | WS_VISIBLE) {
        DialogTemplateWriter t(style, 0, 0, 100, 80, u"", 8, u"System");
        t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 4, 4, 60, 10, 10, u"Top");
        t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 4, 140, 60, 10, 11, u"Bottom");
        return Show(t);
    }
    int TopOf(HWND dialog, int id) {
        RECT r;
        GetWindowRect(GetDlgItem(dialog, id), &r);
        POINT p{r.left, r.top};
        ScreenToClient(dialog, &p);
        return p.y;
    }
    SCROLLINFO Info(HWND dialog) {
        SCROLLINFO si{sizeof si, SIF_ALL, -9, -9, 999, -9, -9};
        GetScrollInfo(dialog, SB_VERT, &si);
        return si;
    }
};

TEST_F(DialogScroll, ControlsBelowTheClientAreaBringTheBar) {
    HWND d = Tall();
    ASSERT_NE(d, nullptr);
    RECT client;
    GetClientRect(d, &client);
    RECT bottom;
    GetWindowRect(GetDlgItem(d, 11), &bottom);
    EXPECT_TRUE(GetWindowLongW(d, GWL_STYLE) & WS_VSCROLL);
    SCROLLINFO si = Info(d);
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, bottom.bottom - 1);  // the dialog sits at the top of the screen
    EXPECT_EQ(si.nPage, UINT(client.bottom));
    EXPECT_EQ(si.nPos, 0);

    // A dialog whose controls fit has no bar.
    DialogTemplateWriter fits(WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, u"", 8, u"System");
    fits.Item(kButton, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 4, 4, 60, 10, 10, u"Top");
    HWND small = Show(fits);
    EXPECT_FALSE(GetWindowLongW(small, GWL_STYLE) & WS_VSCROLL);

    // Nor one whose control passes the bottom by one pixel, to hide its
    // border there; two pixels bring the bar.
    for (int past : {1, 2}) {
        RECT area;
        GetClientRect(small, &area);
        HWND fill = GetDlgItem(small, 10);
        SetWindowPos(fill, nullptr, 0, 0, area.right, area.bottom + past, SWP_NOZORDER);
        SendMessageW(small, WM_SIZE, 0, MAKELPARAM(area.right, area.bottom));
        EXPECT_EQ((GetWindowLongW(small, GWL_STYLE) & WS_VSCROLL) != 0, past == 2) << past;
    }
}

TEST_F(DialogScroll, ScrollCodesMoveTheControls) {
    HWND d = Tall();
    int top0 = TopOf(d, 10), bottom0 = TopOf(d, 11);
    SCROLLINFO start = Info(d);
    int last = start.nMax - static_cast<int>(start.nPage) + 1;
    // A line is the height of the dialog's font.
    RECT unit{0, 0, 0, 8};
    MapDialogRect(d, &unit);
    int line = unit.bottom;
    struct Row {
        const char *what;
        WPARAM code;
        int trackPos;  // set before SB_THUMBTRACK
        int pos;
    } rows[] = {
        {"line down", SB_LINEDOWN, 0, line},
        {"line down again", SB_LINEDOWN, 0, 2 * line},
        {"line up", SB_LINEUP, 0, line},
        {"line up stops at the top", SB_LINEUP, 0, 0},
        {"line up at the top", SB_LINEUP, 0, 0},
        {"page down", SB_PAGEDOWN, 0, std::min<int>(static_cast<int>(start.nPage), last)},
        {"page down stops at the end", SB_PAGEDOWN, 0, last},
        {"page up", SB_PAGEUP, 0, std::max<int>(0, last - static_cast<int>(start.nPage))},
        {"thumb track reads the tracking position", SB_THUMBTRACK, 7, 7},
        {"thumb position takes the word", MAKEWPARAM(SB_THUMBPOSITION, 12), 0, 12},
        {"thumb position past the end", MAKEWPARAM(SB_THUMBPOSITION, 5000), 0, last},
        {"end scroll leaves it", SB_ENDSCROLL, 0, last},
    };
    int i = 0;
    for (const Row &row : rows) {
        if (LOWORD(row.code) == SB_THUMBTRACK) wince::FromHandle(d)->vscroll.trackPos = row.trackPos;
        SendMessageW(d, WM_VSCROLL, row.code, 0);
        EXPECT_EQ(Info(d).nPos, row.pos) << "row " << i << ": " << row.what;
        EXPECT_EQ(TopOf(d, 10), top0 - row.pos) << "row " << i << ": " << row.what;
        EXPECT_EQ(TopOf(d, 11), bottom0 - row.pos) << "row " << i << ": " << row.what;
        ++i;
    }
}

TEST_F(DialogScroll, TheBarGoesWhenClearedOrWhenEverythingFits) {
    HWND d = Tall();
    RECT narrow;
    GetClientRect(d, &narrow);
    // A program that does not want the bar clears the style.
    SetWindowLongW(d, GWL_STYLE, GetWindowLongW(d, GWL_STYLE) & ~WS_VSCROLL);
    RECT wide;
    GetClientRect(d, &wide);
    EXPECT_GT(wide.right, narrow.right);
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 77, 0};
    SetLastError(0);
    EXPECT_FALSE(GetScrollInfo(d, SB_VERT, &si));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_SCROLLBARS));

    // Scrolled, then made tall enough: the controls come back and the bar goes.
    HWND other = Tall();
    SendMessageW(other, WM_VSCROLL, SB_PAGEDOWN, 0);
    ASSERT_GT(Info(other).nPos, 0);
    RECT r;
    GetWindowRect(other, &r);
    int topBefore = 0;
    {
        DialogTemplateWriter probe(WS_POPUP, 0, 0, 100, 80, u"", 8, u"System");
        probe.Item(kButton, WS_CHILD | WS_VISIBLE, 4, 4, 60, 10, 10, u"Top");
        HWND p = Show(probe);
        topBefore = TopOf(p, 10);
    }
    SetWindowPos(other, nullptr, 0, 0, r.right - r.left, 320, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_FALSE(GetWindowLongW(other, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(TopOf(other, 10), topBefore);
}

}  // namespace
