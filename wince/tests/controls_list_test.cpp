// List boxes and combo boxes: sorting, searching, errors, selection by
// stylus and keys, and the list a combo box drops down.
#include "dialog_support.h"
#include "window/dump.h"
#include "window/item_report.h"

namespace {

using namespace dialog_test;

class ControlList : public DialogTest {
   protected:
    void SetUp() override {
        DialogTest::SetUp();
        DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 140, u"");
        t.Item(kListBox, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_SORT | LBS_NOTIFY, 2, 2, 80,
               40, 10, u"");
        t.Item(kComboBox, WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_SORT, 2, 50, 80, 60, 11, u"");
        t.Item(kComboBox, WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, 2, 70, 80, 60, 12, u"");
        dialog = Show(t);
        list = GetDlgItem(dialog, 10);
        combo = GetDlgItem(dialog, 11);
        Log().clear();
    }
    std::u16string LbText(HWND h, int i, UINT msg = LB_GETTEXT) {
        WCHAR b[64] = u"?";
        SendMessageW(h, msg, i, reinterpret_cast<LPARAM>(b));
        return b;
    }
    HWND dialog = nullptr, list = nullptr, combo = nullptr;
};

TEST_F(ControlList, SortedInsertionSearchAndErrors) {
    for (HWND h : {list, combo}) {
        bool isList = h == list;
        UINT add = isList ? LB_ADDSTRING : CB_ADDSTRING, ins = isList ? LB_INSERTSTRING : CB_INSERTSTRING;
        UINT text = isList ? LB_GETTEXT : CB_GETLBTEXT, len = isList ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
        UINT find = isList ? LB_FINDSTRING : CB_FINDSTRING, exact = isList ? LB_FINDSTRINGEXACT : CB_FINDSTRINGEXACT;
        UINT del = isList ? LB_DELETESTRING : CB_DELETESTRING, count = isList ? LB_GETCOUNT : CB_GETCOUNT;
        UINT setData = isList ? LB_SETITEMDATA : CB_SETITEMDATA, getData = isList ? LB_GETITEMDATA : CB_GETITEMDATA;
        const char *which = isList ? "list" : "combo";
        struct Add {
            const char16_t *text;
            LRESULT at;
        } adds[] = {{u"pear", 0}, {u"Apple", 0}, {u"banana", 1}, {u"apple", 1}, {u"zucchini", 4}};
        for (size_t i = 0; i < std::size(adds); ++i)
            EXPECT_EQ(SendMessageW(h, add, 0, reinterpret_cast<LPARAM>(adds[i].text)), adds[i].at) << which << " add " << i;
        EXPECT_EQ(SendMessageW(h, ins, 1, reinterpret_cast<LPARAM>(u"kiwi")), 1) << which;  // not sorted
        EXPECT_EQ(SendMessageW(h, ins, 99, reinterpret_cast<LPARAM>(u"x")), -1) << which;
        const char16_t *order[] = {u"Apple", u"kiwi", u"apple", u"banana", u"pear", u"zucchini"};
        ASSERT_EQ(SendMessageW(h, count, 0, 0), 6) << which;
        for (int i = 0; i < 6; ++i) EXPECT_EQ(LbText(h, i, text), order[i]) << which << " item " << i;
        struct Find {
            UINT msg;
            WPARAM after;
            const char16_t *text;
            LRESULT found;
        } finds[] = {{find, WPARAM(-1), u"AP", 0}, {find, 0, u"ap", 2}, {find, 2, u"ap", 0}, {exact, WPARAM(-1), u"APPLE", 0},
                     {exact, WPARAM(-1), u"appl", -1}, {find, WPARAM(-1), u"q", -1}, {find, 4, u"", 5}};
        for (size_t i = 0; i < std::size(finds); ++i)
            EXPECT_EQ(SendMessageW(h, finds[i].msg, finds[i].after, reinterpret_cast<LPARAM>(finds[i].text)),
                      finds[i].found)
                << which << " find " << i;
        WCHAR untouched[4] = u"abc";
        EXPECT_EQ(SendMessageW(h, text, 6, reinterpret_cast<LPARAM>(untouched)), -1) << which;
        EXPECT_EQ(std::u16string(untouched), u"abc");
        EXPECT_EQ(SendMessageW(h, len, 6, 0), -1) << which;
        EXPECT_EQ(SendMessageW(h, len, 5, 0), 8) << which;
        EXPECT_EQ(SendMessageW(h, getData, 9, 0), -1) << which;
        SendMessageW(h, setData, 3, 0xBEEF);
        EXPECT_EQ(SendMessageW(h, getData, 3, 0), 0xBEEF) << which;
        EXPECT_EQ(SendMessageW(h, del, 9, 0), -1) << which;
        EXPECT_EQ(SendMessageW(h, del, 0, 0), 5) << which;
        EXPECT_EQ(SendMessageW(h, getData, 2, 0), 0xBEEF) << which;  // the data moved with its item
    }
    // Selection: a bad index is an error; for a combo box it also clears the selection.
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 9, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, WPARAM(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 9, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(u"ban")), 2);
    WCHAR shown[16];
    GetWindowTextW(combo, shown, 16);
    EXPECT_EQ(std::u16string(shown), u"banana");
    EXPECT_TRUE(Commands().empty());  // nothing the program did is news to it
    EXPECT_EQ(SendMessageW(combo, CB_RESETCONTENT, 0, 0), CB_OKAY);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(ControlList, StylusAndKeysSelectAndTheLongListScrolls) {
    for (int i = 0; i < 20; ++i) {
        WCHAR t[8];
        wsprintfW(t, u"i%02d", i);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
    }
    wince::PumpReadyMessages();
    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
    int itemHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(itemHeight, 13);
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    Tap(POINT{origin.x + 5, origin.y + itemHeight + 2});
    wince::PumpReadyMessages();
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(GetFocus(), list);
    Key(VK_END);
    wince::PumpReadyMessages();
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 19);
    EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);  // scrolled to show the last item
    // The list had the focus from the start: the dialog's first tab stop.
    std::vector<std::pair<int, int>> expected{{10, LBN_SELCHANGE}, {10, LBN_SELCHANGE}};
    EXPECT_EQ(Commands(), expected);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 19);
    EXPECT_EQ(si.nPos, SendMessageW(list, LB_GETTOPINDEX, 0, 0));
}

TEST_F(ControlList, ComboDropsDownOnATapAndClosesOnAChoice) {
    for (const char16_t *t : {u"red", u"green", u"blue"}) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
    Tap(combo);
    wince::PumpReadyMessages();
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    HWND popup = FindWindowW(u"ComboLBox", nullptr);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_EQ(GetFocus(), combo);  // the list never takes the focus
    POINT origin{0, 0};
    ClientToScreen(popup, &origin);
    Tap(POINT{origin.x + 5, origin.y + 13 * 2 + 3});  // the third item: "red"
    wince::PumpReadyMessages();
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    std::vector<std::pair<int, int>> expected{{10, LBN_KILLFOCUS}, {11, CBN_SETFOCUS}, {11, CBN_DROPDOWN},
                                              {11, CBN_SELCHANGE}, {11, CBN_CLOSEUP}};
    EXPECT_EQ(Commands(), expected);
    // A tap outside the list closes it without a choice; keys choose too.
    Log().clear();
    Tap(combo);
    wince::PumpReadyMessages();
    Tap(POINT{230, 310});
    wince::PumpReadyMessages();
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    Key(VK_UP);
    wince::PumpReadyMessages();
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    // The drop-down kind has an edit box whose typing the combo box reports.
    HWND editable = GetDlgItem(dialog, 12);
    Log().clear();
    Tap(POINT{CentreOf(editable).x - 30, CentreOf(editable).y});
    Type(u"hi");
    wince::PumpReadyMessages();
    WCHAR t[8];
    GetWindowTextW(editable, t, 8);
    EXPECT_EQ(std::u16string(t), u"hi");
    int changes = 0;
    for (auto [id, code] : Commands()) changes += id == 12 && code == CBN_EDITCHANGE;
    EXPECT_EQ(changes, 2);
}

// Lists tell the window dump and a script's click what they show: every
// item, with its place on the screen only while it can be tapped there.
std::vector<wince::ReportedItem> Reported(HWND h) {
    std::vector<wince::ReportedItem> items;
    EXPECT_TRUE(wince::ReportItems(h, items));
    return items;
}

POINT Middle(const RECT &r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TEST_F(ControlList, ListsReportTheirItemsWhereTheyShow) {
    for (int i = 0; i < 6; ++i) {
        WCHAR t[8];
        wsprintfW(t, u"i%02d", i);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
    }
    SendMessageW(list, LB_SETTOPINDEX, 2, 0);
    for (const char16_t *t : {u"red", u"green", u"blue"}) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    wince::PumpReadyMessages();

    // The list box, 40 units (5 rows of 13 pixels, the last cut) high, scrolled by two.
    std::vector<wince::ReportedItem> items = Reported(list);
    ASSERT_EQ(items.size(), 6u);
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    RECT client;
    GetClientRect(list, &client);
    for (int i = 0; i < 6; ++i) {
        WCHAR t[8];
        wsprintfW(t, u"i%02d", i);
        EXPECT_EQ(items[i].text, t) << "item " << i;
        EXPECT_EQ(items[i].id, UINT(i)) << "item " << i;
        EXPECT_FALSE(items[i].selected) << "item " << i;
        bool shown = i >= 2 && (i - 2) * 13 + 6 < client.bottom;
        EXPECT_EQ(!IsRectEmpty(&items[i].rect), shown) << "item " << i;
        if (shown) {
            EXPECT_EQ(items[i].rect.left, origin.x) << "item " << i;
            EXPECT_EQ(items[i].rect.top, origin.y + (i - 2) * 13) << "item " << i;
        }
    }
    Tap(Middle(items[3].rect));
    wince::PumpReadyMessages();
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 3);
    EXPECT_TRUE(Reported(list)[3].selected);

    // A closed combo box: its items, none of them where a tap would reach them.
    items = Reported(combo);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].text, u"green");
    EXPECT_TRUE(items[1].selected);
    for (const auto &item : items) EXPECT_TRUE(IsRectEmpty(&item.rect)) ;
    // Dropped down, the list shows them; a tap on the reported place chooses.
    Tap(combo);
    wince::PumpReadyMessages();
    HWND popup = FindWindowW(u"ComboLBox", nullptr);
    ASSERT_NE(popup, nullptr);
    items = Reported(popup);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2].text, u"red");
    ASSERT_FALSE(IsRectEmpty(&items[2].rect));
    Tap(Middle(items[2].rect));
    wince::PumpReadyMessages();
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);

    // The dump lists the items of both.
    std::string dump = wince::WindowDumpJson();
    for (const char *text : {"\"text\": \"i05\"", "\"text\": \"green\""})
        EXPECT_NE(dump.find(text), std::string::npos) << text;
}

}  // namespace
