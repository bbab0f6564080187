// Buttons: check states, radio groups, clicks by stylus and Space, the
// pixels of a check mark.
#include "dialog_support.h"

namespace {

using namespace dialog_test;

class ControlButton : public DialogTest {
   protected:
    HWND dialog = nullptr;
    void SetUp() override {
        DialogTest::SetUp();
        DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 120, u"");
        t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 2, 2, 40, 14, 10, u"Push");
        t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 2, 20, 60, 10, 11, u"Auto");
        t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, 2, 32, 60, 10, 12, u"Manual");
        t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTO3STATE, 2, 44, 60, 10, 13, u"Three");
        t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 2, 56, 60, 10, 20, u"R1");
        t.Item(kButton, WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 2, 68, 60, 10, 21, u"R2");
        t.Item(kButton, WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, 2, 80, 60, 10, 22, u"R3");
        t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_GROUP | BS_GROUPBOX, 2, 92, 90, 20, 30, u"Group");
        dialog = Show(t);
        ASSERT_NE(dialog, nullptr);
    }
    HWND Item(int id) { return GetDlgItem(dialog, id); }
};

TEST_F(ControlButton, TapsClickAndAutomaticButtonsChangeState) {
    Log().clear();
    for (int id : {10, 11, 12, 13, 13, 13, 20, 21, 22, 30}) {
        Tap(Item(id));
        wince::PumpReadyMessages();
    }
    std::vector<std::pair<int, int>> expected{{10, 0}, {11, 0}, {12, 0}, {13, 0}, {13, 0},
                                              {13, 0}, {20, 0}, {21, 0}, {22, 0}};
    EXPECT_EQ(Commands(), expected);  // the group box does not click
    for (const Heard &h : Log()) {
        if (h.message == WM_COMMAND) {
            EXPECT_EQ(h.lParam, reinterpret_cast<LPARAM>(GetDlgItem(dialog, LOWORD(h.wParam))));
        }
    }
    struct Row {
        int id;
        UINT check;
    } rows[] = {{10, BST_UNCHECKED}, {11, BST_CHECKED}, {12, BST_UNCHECKED}, {13, BST_UNCHECKED},
                {20, BST_UNCHECKED}, {21, BST_CHECKED}, {22, BST_UNCHECKED}};
    for (const Row &r : rows) EXPECT_EQ(IsDlgButtonChecked(dialog, r.id), r.check) << "button " << r.id;
}

TEST_F(ControlButton, StylusReleasedOutsideDoesNotClick) {
    Log().clear();
    POINT inside = CentreOf(Item(10));
    wince::PostInputEvent(E{E::kStylusDown, inside});
    wince::PumpReadyMessages();
    EXPECT_EQ(GetCapture(), Item(10));
    EXPECT_EQ(SendMessageW(Item(10), BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
    wince::PostInputEvent(E{E::kStylusMove, {200, 300}});
    wince::PostInputEvent(E{E::kStylusUp, {200, 300}});
    wince::PumpReadyMessages();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageW(Item(10), BM_GETSTATE, 0, 0), BST_FOCUS);
    // Space clicks the focused button when it is released.
    SetFocus(Item(11));
    wince::PostInputEvent(E{E::kKeyDown, {}, VK_SPACE});
    wince::PumpReadyMessages();
    EXPECT_EQ(SendMessageW(Item(11), BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
    wince::PostInputEvent(E{E::kKeyUp, {}, VK_SPACE});
    wince::PumpReadyMessages();
    std::vector<std::pair<int, int>> expected{{11, 0}};
    EXPECT_EQ(Commands(), expected);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 11), UINT(BST_CHECKED));
}

TEST_F(ControlButton, CheckMessagesFollowTheButtonType) {
    struct Row {
        int id;
        WPARAM set;
        LRESULT got;
    } rows[] = {
        {10, BST_CHECKED, BST_UNCHECKED},       // push buttons have no check
        {11, BST_INDETERMINATE, BST_CHECKED},   // two states only
        {12, BST_CHECKED, BST_CHECKED},         {13, BST_INDETERMINATE, BST_INDETERMINATE},
        {13, BST_UNCHECKED, BST_UNCHECKED},     {20, BST_CHECKED, BST_CHECKED},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SendMessageW(Item(rows[i].id), BM_SETCHECK, rows[i].set, 0);
        EXPECT_EQ(SendMessageW(Item(rows[i].id), BM_GETCHECK, 0, 0), rows[i].got) << "row " << i;
    }
    EXPECT_TRUE(CheckRadioButton(dialog, 20, 22, 22));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 20), UINT(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 22), UINT(BST_CHECKED));
    EXPECT_TRUE(CheckDlgButton(dialog, 12, BST_UNCHECKED));
    EXPECT_FALSE(CheckDlgButton(dialog, 99, BST_CHECKED));
    // The focused push button looks like the default one; moving the focus gives the look back.
    EXPECT_EQ(GetFocus(), Item(10));
    EXPECT_EQ(SendMessageW(Item(10), WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(11)), TRUE);
    EXPECT_EQ(SendMessageW(Item(10), WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    SendMessageW(Item(10), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageW(Item(10), WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(SendMessageW(Item(20), WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);
    EXPECT_EQ(SendMessageW(Item(30), WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    // BM_CLICK presses an automatic check box like a tap.
    Log().clear();
    SendMessageW(Item(11), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(Item(11), BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 11), UINT(BST_CHECKED));
    std::vector<std::pair<int, int>> expected{{11, BN_CLICKED}};
    EXPECT_EQ(Commands(), expected);
}

// The check box's square shows a mark in the window text colour only when checked.
TEST_F(ControlButton, CheckMarkIsOnTheScreen) {
    HWND box = Item(11);
    RECT r;
    GetWindowRect(box, &r);
    int size = 13, top = r.top + (r.bottom - r.top - size) / 2;
    auto inkInsideSquare = [&] {
        int ink = 0;
        for (int y = top + 2; y < top + size - 2; ++y)
            for (int x = r.left + 2; x < r.left + size - 2; ++x)
                if (ScreenPixel(x, y) == GetSysColor(COLOR_WINDOWTEXT)) ++ink;
        return ink;
    };
    wince::PumpReadyMessages();
    EXPECT_EQ(ScreenPixel(r.left, top), GetSysColor(COLOR_WINDOWFRAME));  // the square's corner
    EXPECT_EQ(inkInsideSquare(), 0);
    CheckDlgButton(dialog, 11, BST_CHECKED);
    wince::PumpReadyMessages();
    EXPECT_GE(inkInsideSquare(), 10);
    CheckDlgButton(dialog, 11, BST_UNCHECKED);
    wince::PumpReadyMessages();
    EXPECT_EQ(inkInsideSquare(), 0);
    // The window dump sees the label drawn.
    wince::Window *w = wince::FromHandle(box);
    ASSERT_FALSE(w->drawnText.empty());
    EXPECT_EQ(w->drawnText.back().text, u"Auto");
}

}  // namespace
