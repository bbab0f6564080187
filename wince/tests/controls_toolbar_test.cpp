// "ToolbarWindow32" and the command bar: insertion order, button sizes and
// states, and what taps on plain, drop-down and menu buttons send.
#include <commctrl.h>

#include "dialog_support.h"
#include "menu_support.h"
#include "shell/shell_bars.h"

namespace {

using namespace dialog_test;

class Toolbar : public DialogTest {
   protected:
    void SetUp() override {
        DialogTest::SetUp();
        DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 160, 100, u"Owner");
        owner = Show(t);
        bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, u"", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 200, 30, owner,
                              reinterpret_cast<HMENU>(0xE800), nullptr, nullptr);
        ASSERT_NE(bar, nullptr);
        SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    }
    void TearDown() override {
        wince::shell::StopBars();
        DialogTest::TearDown();
    }
    bool Insert(WPARAM at, int command, BYTE style, const char16_t *text = nullptr, int image = I_IMAGENONE,
                BYTE state = TBSTATE_ENABLED) {
        TBBUTTON b{image, command, state, style, {}, 0, reinterpret_cast<INT_PTR>(text)};
        return SendMessageW(bar, TB_INSERTBUTTON, at, reinterpret_cast<LPARAM>(&b)) != 0;
    }
    std::vector<int> Order() {
        std::vector<int> out;
        LRESULT n = SendMessageW(bar, TB_BUTTONCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            TBBUTTON b{};
            SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
            out.push_back(b.idCommand);
        }
        return out;
    }
    RECT Rect(int command) {
        RECT r{-9, -9, -9, -9};
        SendMessageW(bar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    HWND owner = nullptr, bar = nullptr;
};

TEST_F(Toolbar, InsertAddAndDeleteKeepTheOrderAsked) {
    const struct {
        WPARAM at;
        int command;
        std::vector<int> after;
    } rows[] = {
        {0, 1, {1}},           {0xFFFF, 2, {1, 2}}, {0, 3, {3, 1, 2}},
        {1, 4, {3, 4, 1, 2}},  {4, 5, {3, 4, 1, 2, 5}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        ASSERT_TRUE(Insert(rows[i].at, rows[i].command, TBSTYLE_BUTTON)) << "row " << i;
        EXPECT_EQ(Order(), rows[i].after) << "row " << i;
    }
    TBBUTTON two[2] = {{I_IMAGENONE, 6, TBSTATE_ENABLED, 0, {}, 0, 0}, {I_IMAGENONE, 7, TBSTATE_ENABLED, 0, {}, 0, 0}};
    EXPECT_TRUE(SendMessageW(bar, TB_ADDBUTTONS, 2, reinterpret_cast<LPARAM>(two)));
    EXPECT_EQ(Order(), (std::vector<int>{3, 4, 1, 2, 5, 6, 7}));
    EXPECT_EQ(SendMessageW(bar, TB_COMMANDTOINDEX, 1, 0), 2);
    EXPECT_EQ(SendMessageW(bar, TB_COMMANDTOINDEX, 99, 0), -1);
    EXPECT_TRUE(SendMessageW(bar, TB_DELETEBUTTON, 0, 0));
    EXPECT_FALSE(SendMessageW(bar, TB_DELETEBUTTON, 6, 0));
    EXPECT_EQ(Order(), (std::vector<int>{4, 1, 2, 5, 6, 7}));
    TBBUTTON sentinel;
    memset(&sentinel, 0x5A, sizeof sentinel);
    EXPECT_FALSE(SendMessageW(bar, TB_GETBUTTON, 6, reinterpret_cast<LPARAM>(&sentinel)));
    EXPECT_EQ(sentinel.idCommand, 0x5A5A5A5A);
    EXPECT_FALSE(SendMessageW(bar, TB_INSERTBUTTON, 0, 0));
}

// At 96 dpi with the fixed-metric font: every character is as wide as any other.
TEST_F(Toolbar, ButtonSizesFollowStyleLabelAndSize) {
    SIZE one{};
    HDC hdc = GetDC(bar);
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lstrcpyW(lf.lfFaceName, u"Tahoma");
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(hdc, font);
    GetTextExtentPoint32W(hdc, u"M", 1, &one);
    SelectObject(hdc, old);
    ReleaseDC(bar, hdc);
    SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ASSERT_GT(one.cx, 0);
    const int w = one.cx;
    ASSERT_TRUE(Insert(0xFFFF, 1, TBSTYLE_BUTTON, nullptr, 0));
    ASSERT_TRUE(Insert(0xFFFF, 2, TBSTYLE_SEP, nullptr, 0));
    ASSERT_TRUE(Insert(0xFFFF, 3, TBSTYLE_AUTOSIZE, u"Cancel"));
    ASSERT_TRUE(Insert(0xFFFF, 4, TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE | TBSTYLE_NO_DROPDOWN_ARROW, u"Tools"));
    ASSERT_TRUE(Insert(0xFFFF, 5, TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE, u"Go"));
    ASSERT_TRUE(Insert(0xFFFF, 6, TBSTYLE_BUTTON, nullptr, 1, TBSTATE_ENABLED | TBSTATE_HIDDEN));
    ASSERT_TRUE(Insert(0xFFFF, 7, TBSTYLE_SEP, nullptr, 14));
    const struct {
        int command, width;
    } rows[] = {{1, 24}, {2, 8}, {3, 6 * w + 12}, {4, 5 * w + 12}, {5, 2 * w + 12 + 10}, {6, 0}, {7, 14}};
    int x = 0;
    for (size_t i = 0; i < std::size(rows); ++i) {
        RECT r = Rect(rows[i].command);
        EXPECT_EQ(r.left, x) << "row " << i;
        EXPECT_EQ(r.right - r.left, rows[i].width) << "row " << i;
        if (rows[i].width) {
            EXPECT_EQ(r.bottom - r.top, 22) << "row " << i;
        }
        x += rows[i].width;
    }
    ASSERT_TRUE(SendMessageW(bar, TB_SETBUTTONSIZE, 0, MAKELONG(30, 20)));
    EXPECT_EQ(SendMessageW(bar, TB_GETBUTTONSIZE, 0, 0), MAKELONG(30, 20));
    RECT r = Rect(1);
    EXPECT_EQ(r.right - r.left, 30);
    EXPECT_EQ(r.bottom - r.top, 20);
    EXPECT_EQ(Rect(3).right - Rect(3).left, 6 * w + 12) << "an autosized button keeps to its label";
    // TB_AUTOSIZE: the bar spans its parent's width, as high as its buttons.
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    RECT parent, now;
    GetClientRect(owner, &parent);
    GetClientRect(bar, &now);
    EXPECT_EQ(now.right, parent.right);
    EXPECT_EQ(now.bottom, 20);
    RECT sentinel{-9, -9, -9, -9};
    EXPECT_FALSE(SendMessageW(bar, TB_GETRECT, 99, reinterpret_cast<LPARAM>(&sentinel)));
    EXPECT_EQ(sentinel.left, -9);
    DeleteObject(font);
}

TEST_F(Toolbar, StatesAndButtonInfo) {
    ASSERT_TRUE(Insert(0xFFFF, 10, TBSTYLE_BUTTON, u"One"));
    ASSERT_TRUE(Insert(0xFFFF, 11, TBSTYLE_CHECK, u"Two"));
    const struct {
        UINT msg;
        int command;
        LPARAM lParam;
        LRESULT result;
        LRESULT stateAfter;
    } rows[] = {
        {TB_ENABLEBUTTON, 10, FALSE, TRUE, 0},
        {TB_ENABLEBUTTON, 10, TRUE, TRUE, TBSTATE_ENABLED},
        {TB_CHECKBUTTON, 10, TRUE, TRUE, TBSTATE_ENABLED | TBSTATE_CHECKED},
        {TB_SETSTATE, 10, TBSTATE_HIDDEN, TRUE, TBSTATE_HIDDEN},
        {TB_SETSTATE, 99, TBSTATE_ENABLED, FALSE, TBSTATE_HIDDEN},
        {TB_ENABLEBUTTON, 99, TRUE, FALSE, TBSTATE_HIDDEN},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(SendMessageW(bar, rows[i].msg, rows[i].command, rows[i].lParam), rows[i].result) << "row " << i;
        EXPECT_EQ(SendMessageW(bar, TB_GETSTATE, 10, 0), rows[i].stateAfter) << "row " << i;
    }
    EXPECT_EQ(SendMessageW(bar, TB_GETSTATE, 99, 0), -1);

    WCHAR text[16];
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT | TBIF_COMMAND | TBIF_STYLE | TBIF_BYINDEX;
    info.pszText = text;
    info.cchText = 16;
    EXPECT_EQ(SendMessageW(bar, TB_GETBUTTONINFOW, 1, reinterpret_cast<LPARAM>(&info)), 1);
    EXPECT_EQ(std::u16string(text), u"Two");
    EXPECT_EQ(info.idCommand, 11);
    EXPECT_EQ(info.fsStyle, TBSTYLE_CHECK);
    info.dwMask = TBIF_TEXT | TBIF_SIZE;
    info.pszText = const_cast<LPWSTR>(u"Second");
    info.cx = 40;
    EXPECT_TRUE(SendMessageW(bar, TB_SETBUTTONINFOW, 11, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(Rect(11).right - Rect(11).left, 40);
    info.pszText = text;
    info.dwMask = TBIF_TEXT;
    EXPECT_EQ(SendMessageW(bar, TB_GETBUTTONINFOW, 11, reinterpret_cast<LPARAM>(&info)), 1);
    EXPECT_EQ(std::u16string(text), u"Second");
    info.cbSize = sizeof info + 1;
    EXPECT_EQ(SendMessageW(bar, TB_GETBUTTONINFOW, 11, reinterpret_cast<LPARAM>(&info)), -1);
    EXPECT_FALSE(SendMessageW(bar, TB_SETBUTTONINFOW, 11, reinterpret_cast<LPARAM>(&info)));
}

TEST_F(Toolbar, TapsSendCommandsAndDropDownsToTheOwner) {
    ASSERT_TRUE(Insert(0xFFFF, 21, TBSTYLE_AUTOSIZE, u"Plain"));
    ASSERT_TRUE(Insert(0xFFFF, 22, TBSTYLE_AUTOSIZE, u"Off", I_IMAGENONE, 0));
    ASSERT_TRUE(Insert(0xFFFF, 23, TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE | TBSTYLE_NO_DROPDOWN_ARROW, u"Menu"));
    auto tapButton = [&](int command) {
        RECT r = Rect(command);
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT *>(&r), 2);
        Tap(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        wince::PumpReadyMessages();
    };
    const struct {
        int command;
        UINT message;  // what the owner hears, 0 for nothing
    } rows[] = {{21, WM_COMMAND}, {22, 0}, {23, WM_NOTIFY}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        Log().clear();
        tapButton(rows[i].command);
        std::vector<const Heard *> heard;
        for (const Heard &h : Log())
            if (h.message == WM_COMMAND || h.message == WM_NOTIFY) heard.push_back(&h);
        if (!rows[i].message) {
            EXPECT_TRUE(heard.empty()) << "row " << i;
            continue;
        }
        ASSERT_EQ(heard.size(), 1u) << "row " << i;
        EXPECT_EQ(heard[0]->message, rows[i].message) << "row " << i;
        if (rows[i].message == WM_COMMAND) {
            EXPECT_EQ(heard[0]->wParam, static_cast<WPARAM>(rows[i].command)) << "row " << i;
            EXPECT_EQ(heard[0]->lParam, reinterpret_cast<LPARAM>(bar)) << "row " << i;
        }
    }
}

// A menu bar's own popup opens above its button after WM_INITMENUPOPUP,
// and the chosen item's command reaches the owner.
TEST_F(Toolbar, CommandBarMenuOpensThePopupAboveTheBar) {
    HWND page = CreateWindowExW(0, u"STATIC", u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, owner, nullptr, nullptr,
                                nullptr);
    HWND cb = CommandBar_Create(nullptr, owner, 0xE800);
    ASSERT_NE(cb, nullptr);
    (void)page;
    HMENU menu = CreateMenu();
    HMENU tools = CreatePopupMenu();
    AppendMenuW(tools, MF_STRING, 32775, u"About...");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), u"&Tools");
    ASSERT_TRUE(CommandBar_InsertMenubarEx(cb, nullptr, reinterpret_cast<LPWSTR>(menu), 0));
    EXPECT_EQ(CommandBar_GetMenu(cb, 0), menu);
    ASSERT_EQ(SendMessageW(cb, TB_BUTTONCOUNT, 0, 0), 1);
    WCHAR text[16] = {};
    TBBUTTONINFOW info{sizeof info, TBIF_TEXT | TBIF_BYINDEX, 0, 0, 0, 0, 0, 0, text, 16};
    SendMessageW(cb, TB_GETBUTTONINFOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::u16string(text), u"Tools");
    EXPECT_TRUE(CommandBar_AddAdornments(cb, 0, 0));
    EXPECT_FALSE(CommandBar_AddAdornments(cb, 0, 1));

    RECT r{};
    ASSERT_TRUE(SendMessageW(cb, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));
    MapWindowPoints(cb, nullptr, reinterpret_cast<POINT *>(&r), 2);
    RECT popupRect{};
    menu_testing::StepDriver driver({[&] {
        auto popups = menu_testing::OpenPopups();
        if (!popups.empty()) GetWindowRect(popups[0], &popupRect);
        menu_testing::Tap(menu_testing::ItemCenter(u"About..."));
    }});
    Log().clear();
    Tap(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    wince::PumpReadyMessages();
    wince::PumpReadyMessages();
    EXPECT_EQ(popupRect.bottom, r.top);
    std::vector<UINT> order;
    for (const Heard &h : Log())
        if (h.message == WM_INITMENUPOPUP || h.message == WM_COMMAND) order.push_back(h.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_INITMENUPOPUP, WM_COMMAND}));
    EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{32775, 0}}));
    EXPECT_EQ(GetActiveWindow(), owner);
    CommandBar_Destroy(cb);
    EXPECT_FALSE(IsWindow(cb));
}

}  // namespace
