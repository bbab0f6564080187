// The up-down control: range, wrap, the buddy's text, UDN_DELTAPOS and the
// scroll messages; and STM_SETIMAGE's previous image.
#include <commctrl.h>

#include "dialog_support.h"

namespace {

using namespace dialog_test;

int refuseDeltas = 0;
std::vector<std::pair<int, int>> deltas;  // iPos, iDelta
std::vector<std::pair<int, int>> scrolls;  // code, position

BOOL CALLBACK UpDownParentProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY) {
        auto *nm = reinterpret_cast<NMUPDOWN *>(lParam);
        if (nm->hdr.code == UDN_DELTAPOS) {
            deltas.emplace_back(nm->iPos, nm->iDelta);
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, refuseDeltas);
            return TRUE;
        }
    }
    if (msg == WM_VSCROLL || msg == WM_HSCROLL) scrolls.emplace_back(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
    return msg == WM_INITDIALOG;
}

class ControlUpDown : public DialogTest {
   protected:
    HWND Make(DWORD style) {
        deltas.clear();
        scrolls.clear();
        refuseDeltas = 0;
        DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 40, u"");
        t.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 2, 2, 60, 12, 10, u"");
        t.Item(u"msctls_updown32", WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_SETBUDDYINT | style, 0, 0, 10, 12, 11,
               u"");
        dialog = Show(t, nullptr, UpDownParentProc);
        edit = GetDlgItem(dialog, 10);
        return GetDlgItem(dialog, 11);
    }
    std::u16string Buddy() {
        WCHAR b[32];
        GetWindowTextW(edit, b, 32);
        return b;
    }
    HWND dialog = nullptr, edit = nullptr;
};

TEST_F(ControlUpDown, RangeWrapAndBuddyText) {
    HWND ud = Make(UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_WRAP);
    EXPECT_EQ(SendMessageW(ud, UDM_GETBUDDY, 0, 0), reinterpret_cast<LRESULT>(edit));  // the previous window
    EXPECT_EQ(SendMessageW(ud, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));  // the default: 100 down to 0
    // UDS_ALIGNRIGHT: beside the buddy's right edge, the buddy narrower by the control's width.
    RECT e, u;
    GetWindowRect(edit, &e);
    GetWindowRect(ud, &u);
    EXPECT_EQ(u.left, e.right);
    EXPECT_EQ(u.top, e.top);
    EXPECT_EQ(u.bottom, e.bottom);
    EXPECT_EQ(e.right - e.left, 165 - (u.right - u.left));
    SendMessageW(ud, UDM_SETRANGE32, 1, 3);
    EXPECT_EQ(SendMessageW(ud, UDM_SETPOS32, 0, 2), 0);
    EXPECT_EQ(Buddy(), u"2");
    struct Step {
        bool up;
        int position;
    } steps[] = {{true, 3}, {true, 1}, {false, 3}, {false, 2}};  // wraps round both ends
    for (size_t i = 0; i < std::size(steps); ++i) {
        Key(steps[i].up ? VK_UP : VK_DOWN);  // UDS_ARROWKEYS: arrows in the buddy
        wince::PumpReadyMessages();
        EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), steps[i].position) << "step " << i;
        EXPECT_EQ(Buddy(), std::u16string(1, static_cast<char16_t>(u'0' + steps[i].position))) << "step " << i;
    }
    std::vector<std::pair<int, int>> expectedDeltas{{2, 1}, {3, 1}, {1, -1}, {3, -1}};
    EXPECT_EQ(deltas, expectedDeltas);
    std::vector<std::pair<int, int>> expectedScrolls{
        {SB_THUMBPOSITION, 3}, {SB_THUMBPOSITION, 1}, {SB_THUMBPOSITION, 3}, {SB_THUMBPOSITION, 2}};
    EXPECT_EQ(scrolls, expectedScrolls);
}

TEST_F(ControlUpDown, ClampsReadsTheBuddyAndObeysTheParent) {
    HWND ud = Make(0);
    SendMessageW(ud, UDM_SETRANGE, 0, MAKELONG(2000, -5));
    SendMessageW(ud, UDM_SETPOS, 0, MAKELONG(1999, 0));
    EXPECT_EQ(Buddy(), u"1,999");  // thousands separated
    RECT r;
    GetWindowRect(ud, &r);
    Tap(POINT{(r.left + r.right) / 2, r.top + 2});  // the upper arrow counts up
    Tap(POINT{(r.left + r.right) / 2, r.top + 2});
    wince::PumpReadyMessages();
    EXPECT_EQ(SendMessageW(ud, UDM_GETPOS, 0, 0), MAKELONG(2000, 0));  // stops at the end without UDS_WRAP
    std::vector<std::pair<int, int>> expected{{SB_THUMBPOSITION, 2000}, {SB_ENDSCROLL, 2000},
                                              {SB_THUMBPOSITION, 2000}, {SB_ENDSCROLL, 2000}};
    EXPECT_EQ(scrolls, expected);
    // The buddy's text is read back before each step; text that is no number is an error.
    SetWindowTextW(edit, u"7");
    refuseDeltas = 1;
    Tap(POINT{(r.left + r.right) / 2, r.bottom - 2});
    wince::PumpReadyMessages();
    EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 7);  // the parent refused the step
    SetWindowTextW(edit, u"seven");
    BOOL error = FALSE;
    EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 7);
    EXPECT_TRUE(error);
    EXPECT_EQ(HIWORD(SendMessageW(ud, UDM_GETPOS, 0, 0)), 1);
    EXPECT_EQ(SendMessageW(ud, UDM_SETPOS32, 0, 5000), 7);  // clamped to the range
    EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 2000);
    EXPECT_EQ(SendMessageW(ud, UDM_SETBASE, 16, 0), 10);
    EXPECT_EQ(Buddy(), u"0x07D0");
    EXPECT_EQ(SendMessageW(ud, UDM_SETBASE, 3, 0), 0);
    EXPECT_EQ(SendMessageW(ud, CCM_SETVERSION, 5, 0), 0);
    EXPECT_EQ(SendMessageW(ud, CCM_SETVERSION, 6, 0), 5);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS};
    EXPECT_TRUE(InitCommonControlsEx(&icc));
}

TEST_F(ControlUpDown, StaticImagesReturnThePreviousOne) {
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 40, u"");
    t.Item(kStatic, WS_CHILD | WS_VISIBLE | SS_ICON, 2, 2, 20, 20, 1, u"");
    t.Item(kStatic, WS_CHILD | WS_VISIBLE | SS_LEFT, 30, 2, 20, 20, 2, u"text");
    HWND d = Show(t);
    HWND icon = GetDlgItem(d, 1);
    HICON hand = LoadIconW(nullptr, IDI_HAND), question = LoadIconW(nullptr, IDI_QUESTION);
    EXPECT_EQ(SendMessageW(icon, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hand)), 0);
    EXPECT_EQ(SendMessageW(icon, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(question)),
              reinterpret_cast<LRESULT>(hand));
    EXPECT_EQ(SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(question));
    EXPECT_EQ(SendMessageW(icon, STM_SETIMAGE, IMAGE_BITMAP, 0), 0);  // not a bitmap control
    EXPECT_EQ(SendMessageW(GetDlgItem(d, 2), STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hand)), 0);
    RECT r;
    GetWindowRect(icon, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXICON));  // sized to the icon
}

}  // namespace
