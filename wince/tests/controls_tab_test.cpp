// The tab control: its items, the strip along the bottom, the display area,
// and a tap that the parent may refuse.
#include <commctrl.h>

#include "dialog_support.h"
#include "window/dump.h"
#include "window/item_report.h"

namespace {

using namespace dialog_test;

std::vector<UINT> notifications;
LRESULT refuseChange = FALSE;

BOOL CALLBACK TabParentProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg != WM_NOTIFY) return FALSE;
    auto *hdr = reinterpret_cast<NMHDR *>(lParam);
    EXPECT_EQ(hdr->idFrom, UINT_PTR(20));
    notifications.push_back(hdr->code);
    if (hdr->code == TCN_SELCHANGING) SetWindowLongPtrW(dialog, DWLP_MSGRESULT, refuseChange);
    return TRUE;
}

class ControlTab : public DialogTest {
   public:
    void SetUp() override {
        DialogTest::SetUp();
        notifications.clear();
        refuseChange = FALSE;
        DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 120, 160, u"");
        t.Item(u"SysTabControl32", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TCS_BOTTOM, 0, 0, 120, 160, 20, u"");
        t.Item(u"SysTabControl32", WS_CHILD | WS_VISIBLE, 0, 0, 120, 40, 21, u"");
        dialog = Show(t, nullptr, TabParentProc);
        tab = GetDlgItem(dialog, 20);
        topTab = GetDlgItem(dialog, 21);
    }
    int Insert(HWND h, int at, const char16_t *text, LPARAM param = 0) {
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<LPWSTR>(text);
        item.lParam = param;
        return static_cast<int>(SendMessageW(h, TCM_INSERTITEMW, at, reinterpret_cast<LPARAM>(&item)));
    }
    std::u16string Texts(HWND h) {
        std::u16string all;
        for (int i = 0; i < TabCtrl_GetItemCount(h); ++i) {
            WCHAR text[16] = u"sentinel";
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 16;
            EXPECT_TRUE(SendMessageW(h, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item)));
            all += std::u16string(text) + u"|";
        }
        return all;
    }
    RECT ItemRect(HWND h, int i) {
        RECT r{-1, -1, -1, -1};
        SendMessageW(h, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    HWND dialog = nullptr, tab = nullptr, topTab = nullptr;
};

TEST_F(ControlTab, InsertDeleteAndSelectKeepOrderAndSelection) {
    struct Row {
        const char *what;
        std::function<LRESULT(ControlTab &)> act;
        LRESULT result;
        const char16_t *texts;
        int selected;
    };
    const Row rows[] = {
        {"the first tab is chosen", [](ControlTab &t) { return t.Insert(t.tab, 0, u"B"); }, 0, u"B|", 0},
        {"an index past the end appends", [](ControlTab &t) { return t.Insert(t.tab, 9, u"C"); }, 1, u"B|C|", 0},
        {"inserting before the choice moves it", [](ControlTab &t) { return t.Insert(t.tab, 0, u"A"); }, 0,
         u"A|B|C|", 1},
        {"SETCURSEL answers the previous choice", [](ControlTab &t) { return TabCtrl_SetCurSel(t.tab, 2); }, 1,
         u"A|B|C|", 2},
        {"SETCURSEL out of range fails", [](ControlTab &t) { return TabCtrl_SetCurSel(t.tab, 3); }, -1, u"A|B|C|", 2},
        {"deleting before the choice moves it", [](ControlTab &t) { return SendMessageW(t.tab, TCM_DELETEITEM, 0, 0); },
         TRUE, u"B|C|", 1},
        {"deleting a missing tab fails", [](ControlTab &t) { return SendMessageW(t.tab, TCM_DELETEITEM, 5, 0); },
         FALSE, u"B|C|", 1},
        {"deleting the chosen tab leaves none chosen",
         [](ControlTab &t) { return SendMessageW(t.tab, TCM_DELETEITEM, 1, 0); }, TRUE, u"B|", -1},
    };
    int i = 0;
    for (const Row &row : rows) {
        EXPECT_EQ(row.act(*this), row.result) << "row " << i << ": " << row.what;
        EXPECT_EQ(Texts(tab), row.texts) << "row " << i << ": " << row.what;
        EXPECT_EQ(TabCtrl_GetCurSel(tab), row.selected) << "row " << i << ": " << row.what;
        ++i;
    }
    EXPECT_TRUE(notifications.empty());  // only the user's choices notify
}

TEST_F(ControlTab, ItemsParamsAndErrorsKeepSentinels) {
    Insert(tab, 0, u"One", 0x51);
    TCITEMW item{};
    item.mask = TCIF_PARAM | TCIF_TEXT;
    WCHAR text[4] = u"zzz";
    item.pszText = text;
    item.cchTextMax = 3;
    item.lParam = 0x7777;
    EXPECT_TRUE(SendMessageW(tab, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.lParam, 0x51);
    EXPECT_EQ(std::u16string(text), u"On");  // cut to the buffer, terminated
    item.lParam = 0x7777;
    EXPECT_FALSE(SendMessageW(tab, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.lParam, 0x7777);
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(u"Uno");
    EXPECT_TRUE(SendMessageW(tab, TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_FALSE(SendMessageW(tab, TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(Texts(tab), u"Uno|");
    RECT r{1, 2, 3, 4};
    EXPECT_FALSE(SendMessageW(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(Insert(tab, -1, u"X"), -1);
}

TEST_F(ControlTab, StripLiesAlongTheBottomOrTopAndAdjustRectRoundTrips) {
    for (HWND h : {tab, topTab}) {
        Insert(h, 0, u"Folder");
        Insert(h, 1, u"Documents");
    }
    RECT client;
    GetClientRect(tab, &client);
    RECT first = ItemRect(tab, 0), second = ItemRect(tab, 1);
    EXPECT_EQ(first.bottom, client.bottom);
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(second.left, first.right);
    EXPECT_EQ(second.top, first.top);
    // Longer text, wider tab, with the fixed-metric font.
    EXPECT_GT(second.right - second.left, first.right - first.left);
    RECT display = client;
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(display.top, client.top);
    EXPECT_EQ(display.bottom, first.top);
    SendMessageW(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
    EXPECT_TRUE(EqualRect(&display, &client));

    RECT topClient, top = ItemRect(topTab, 0);
    GetClientRect(topTab, &topClient);
    EXPECT_EQ(top.top, 0);
    EXPECT_EQ(top.bottom - top.top, first.bottom - first.top);
    RECT topDisplay = topClient;
    SendMessageW(topTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&topDisplay));
    EXPECT_EQ(topDisplay.top, top.bottom);
    EXPECT_EQ(topDisplay.bottom, topClient.bottom);

    // The strip grows with the dpi.
    int at96 = first.bottom - first.top;
    UseDpi(192);
    HWND big = CreateWindowExW(0, WC_TABCONTROLW, u"", WS_CHILD | WS_VISIBLE | TCS_BOTTOM, 0, 0, 200, 100, dialog,
                               nullptr, nullptr, nullptr);
    Insert(big, 0, u"Folder");
    RECT bigItem = ItemRect(big, 0);
    EXPECT_GT(bigItem.bottom - bigItem.top, at96);
}

TEST_F(ControlTab, TapsAndKeysChooseUnlessTheParentRefuses) {
    Insert(tab, 0, u"One");
    Insert(tab, 1, u"Two");
    Insert(tab, 2, u"Three");
    struct Row {
        const char *what;
        LRESULT refuse;
        std::function<void()> input;
        std::vector<UINT> heard;
        int selected;
    };
    auto tapTab = [this](int i) {
        RECT r = ItemRect(tab, i);
        MapWindowPoints(tab, nullptr, reinterpret_cast<POINT *>(&r), 2);
        return [r] { Tap(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}); };
    };
    const Row rows[] = {
        {"a tap on another tab", FALSE, tapTab(1), {TCN_SELCHANGING, TCN_SELCHANGE}, 1},
        {"a tap on the chosen tab says nothing", FALSE, tapTab(1), {}, 1},
        {"a refused tap keeps the tab", TRUE, tapTab(2), {TCN_SELCHANGING}, 1},
        {"the right key moves on", FALSE, [] { Key(VK_RIGHT); }, {TCN_SELCHANGING, TCN_SELCHANGE}, 2},
        {"a refused left key keeps the tab", TRUE, [] { Key(VK_LEFT); }, {TCN_SELCHANGING}, 2},
        {"a tap beside the tabs says nothing", FALSE, [this] {
             RECT r = ItemRect(tab, 2);
             POINT p{r.right + 4, (r.top + r.bottom) / 2};
             ClientToScreen(tab, &p);
             Tap(p);
         }, {}, 2},
    };
    int i = 0;
    for (const Row &row : rows) {
        notifications.clear();
        refuseChange = row.refuse;
        row.input();
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog, &m)) DispatchMessageW(&m);
        }
        wince::PumpReadyMessages();
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog, &m)) DispatchMessageW(&m);
        }
        EXPECT_EQ(notifications, row.heard) << "row " << i << ": " << row.what;
        EXPECT_EQ(TabCtrl_GetCurSel(tab), row.selected) << "row " << i << ": " << row.what;
        ++i;
    }
}

TEST_F(ControlTab, TheChosenTabIsOpenToTheDisplayArea) {
    Insert(tab, 0, u"One");
    Insert(tab, 1, u"Two");
    SendMessageW(tab, TCM_SETCURSEL, 1, 0);
    UpdateWindow(tab);
    struct Row {
        const char *what;
        int index, dy;  // a point two pixels in from the tab's left edge, dy below its top
        int color;
    } rows[] = {
        {"a tab not chosen is grey", 0, 3, COLOR_BTNFACE},
        {"the chosen tab is the display area's colour", 1, 3, COLOR_WINDOW},
        {"a line divides the display area from a tab not chosen", 0, 0, COLOR_WINDOWFRAME},
        {"but not from the chosen one", 1, 0, COLOR_WINDOW},
        {"the display area", 1, -3, COLOR_WINDOW},
    };
    int i = 0;
    for (const Row &row : rows) {
        RECT r = ItemRect(tab, row.index);
        POINT p{r.left + 2, r.top + row.dy};
        ClientToScreen(tab, &p);
        EXPECT_EQ(ScreenPixel(p.x, p.y), GetSysColor(row.color)) << "row " << i << ": " << row.what;
        ++i;
    }
}

TEST_F(ControlTab, DumpShowsTabsWithTextSelectionAndPlace) {
    Insert(tab, 0, u"Folder");
    Insert(tab, 1, u"Documents");
    SendMessageW(tab, TCM_SETCURSEL, 1, 0);
    std::vector<wince::ReportedItem> items;
    ASSERT_TRUE(wince::ReportItems(tab, items));
    ASSERT_EQ(items.size(), 2u);
    RECT second = ItemRect(tab, 1);
    MapWindowPoints(tab, nullptr, reinterpret_cast<POINT *>(&second), 2);
    EXPECT_TRUE(EqualRect(&items[1].rect, &second));
    EXPECT_FALSE(items[0].selected);
    EXPECT_TRUE(items[1].selected);
    std::string dump = wince::WindowDumpJson();
    EXPECT_NE(dump.find("\"text\": \"Documents\",\n"), std::string::npos);
    // A tab reports its text, choice and place only.
    size_t at = dump.find("\"text\": \"Folder\"");
    ASSERT_NE(at, std::string::npos);
    std::string entry = dump.substr(at, dump.find('}', at) - at);
    EXPECT_EQ(entry.find("\"id\""), std::string::npos);
    EXPECT_NE(entry.find("\"selected\": false"), std::string::npos);
}

}  // namespace
