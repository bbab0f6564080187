// Property sheets: the order in which pages hear of changes, OK and Cancel,
// pages that refuse, and the sheet's messages, driven as a user drives them.
#include <commctrl.h>

#include "dialog_support.h"

namespace {

using namespace dialog_test;

// What a page does when asked, per page.
struct PageAnswers {
    LRESULT killActive = FALSE;
    LRESULT apply = PSNRET_NOERROR;
    bool applyOnce = false;  // the apply answer holds the first time only
    LRESULT queryCancel = FALSE;
};

std::vector<std::string> events;
PageAnswers answers[3];
HWND sheetWindow = nullptr;
LPARAM initParams[3];

char Letter(UINT code) {
    switch (code) {
        case PSN_SETACTIVE: return 'S';
        case PSN_KILLACTIVE: return 'K';
        case PSN_APPLY: return 'A';
        case PSN_RESET: return 'R';
        case PSN_QUERYCANCEL: return 'Q';
    }
    return '?';
}

BOOL CALLBACK PageProc(HWND page, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto *psp = reinterpret_cast<PROPSHEETPAGEW *>(lParam);
        int n = static_cast<int>(psp->lParam);
        SetWindowLongPtrW(page, DWLP_USER, n);
        initParams[n] = psp->lParam;
        events.push_back("I" + std::to_string(n));
        return TRUE;
    }
    if (msg != WM_NOTIFY) return FALSE;
    int n = static_cast<int>(GetWindowLongPtrW(page, DWLP_USER));
    auto *notify = reinterpret_cast<PSHNOTIFY *>(lParam);
    EXPECT_EQ(notify->hdr.hwndFrom, sheetWindow);
    events.push_back(std::string(1, Letter(notify->hdr.code)) + std::to_string(n));
    LRESULT answer = 0;
    PageAnswers &a = answers[n];
    if (notify->hdr.code == PSN_KILLACTIVE) answer = a.killActive;
    if (notify->hdr.code == PSN_QUERYCANCEL) answer = a.queryCancel;
    if (notify->hdr.code == PSN_APPLY) {
        answer = a.apply;
        if (a.applyOnce) a.apply = PSNRET_NOERROR;
    }
    SetWindowLongPtrW(page, DWLP_MSGRESULT, answer);
    return TRUE;
}

int CALLBACK SheetCallback(HWND hwnd, UINT msg, LPARAM) {
    if (msg == PSCB_INITIALIZED) sheetWindow = hwnd;
    if (msg == PSCB_GETVERSION) return COMCTL32_VERSION;
    return 0;
}

// Taps the middle of a tab, as a user does.
void TapTab(int index) {
    HWND tab = PropSheet_GetTabControl(sheetWindow);
    RECT r{};
    SendMessageW(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(tab, nullptr, reinterpret_cast<POINT *>(&r), 2);
    Tap(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// The navigation bar's "ok" sends this to the sheet.
void PressOk() { PostMessageW(sheetWindow, WM_COMMAND, IDOK, 0); }

class PropertySheetTest : public DialogTest {
   protected:
    void SetUp() override {
        DialogTest::SetUp();
        Reset();
    }
    void Reset() {
        events.clear();
        for (PageAnswers &a : answers) a = PageAnswers{};
        for (LPARAM &p : initParams) p = 0;
        sheetWindow = nullptr;
        pageTemplate = DialogTemplateWriter(DS_CONTROL | WS_CHILD, 0, 0, 120, 60, u"Page");
        pageTemplate.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 4, 4, 60, 12, 10, u"");
        pageTemplate.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 4, 20, 60, 10, 11, u"Box");
    }
    PROPSHEETPAGEW Page(int n, const char16_t *title, DWORD flags = 0) {
        PROPSHEETPAGEW p{};
        p.dwSize = sizeof p;
        p.dwFlags = PSP_DLGINDIRECT | (title ? PSP_USETITLE : 0) | flags;
        p.pResource = pageTemplate.Get();
        p.pszTitle = title;
        p.pfnDlgProc = PageProc;
        p.lParam = n;
        return p;
    }
    INT_PTR Run(std::vector<PROPSHEETPAGEW> pages, UINT start = 0, HWND owner = nullptr) {
        PROPSHEETHEADERW h{};
        h.hwndParent = owner;
        h.dwSize = sizeof h;
        h.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_NOAPPLYNOW | PSH_MAXIMIZE;
        h.pszCaption = u"Settings";
        h.nPages = static_cast<UINT>(pages.size());
        h.nStartPage = start;
        h.ppsp = pages.data();
        h.pfnCallback = SheetCallback;
        return PropertySheetW(&h);
    }
    DialogTemplateWriter pageTemplate{DS_CONTROL | WS_CHILD, 0, 0, 120, 60, u"Page"};
};

std::string Joined() {
    std::string s;
    for (const std::string &e : events) s += (s.empty() ? "" : " ") + e;
    return s;
}

TEST_F(PropertySheetTest, PagesHearChangesOkAndCancelInOrder) {
    struct Row {
        const char *name;
        int pages;
        UINT start;
        DWORD premature;  // pages made at once, as a bit mask
        std::vector<std::function<void()>> steps;
        INT_PTR result;
        const char *events;
    };
    auto refuseKill0 = [] { answers[0].killActive = TRUE; };
    auto allowKill0 = [] { answers[0].killActive = FALSE; };
    auto refuseApply1 = [] {
        answers[1].apply = PSNRET_INVALID_NOCHANGEPAGE;
        answers[1].applyOnce = true;
    };
    const Row rows[] = {
        {"ok applies the pages that have a window only", 3, 0, 0, {PressOk}, IDOK, "I0 S0 K0 A0"},
        {"a tab change: kill the old page, then set the new one", 3, 0, 0, {[] { TapTab(1); }, PressOk}, IDOK,
         "I0 S0 K0 I1 S1 K1 A0 A1"},
        {"a kill-active refusal keeps the page; Escape cancels", 2, 0, 0,
         {refuseKill0, [] { TapTab(1); }, [] { Key(VK_ESCAPE); }}, IDCANCEL, "I0 S0 K0 Q0 R0"},
        {"a refusal at OK keeps the page and the sheet", 2, 0, 0, {refuseKill0, PressOk, allowKill0, PressOk}, IDOK,
         "I0 S0 K0 K0 A0"},
        {"PSNRET_INVALID_NOCHANGEPAGE keeps the sheet open", 2, 0, 0, {[] { TapTab(1); }, refuseApply1, PressOk, PressOk},
         IDOK, "I0 S0 K0 I1 S1 K1 A0 A1 K1 A0 A1"},
        {"Cancel resets every made page and applies none", 2, 0, 0, {[] { TapTab(1); }, [] { Key(VK_ESCAPE); }},
         IDCANCEL, "I0 S0 K0 I1 S1 Q1 R0 R1"},
        {"PSBTN_CANCEL is Cancel", 2, 0, 0,
         {[] { PostMessageW(sheetWindow, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); }}, IDCANCEL, "I0 S0 Q0 R0"},
        {"PSBTN_OK is OK", 2, 1, 0, {[] { PostMessageW(sheetWindow, PSM_PRESSBUTTON, PSBTN_OK, 0); }}, IDOK,
         "I1 S1 K1 A1"},
        {"a premature page is made at once and applied", 2, 0, 2, {PressOk}, IDOK, "I1 I0 S0 K0 A0 A1"},
        {"the program quitting closes the sheet as Cancel", 2, 0, 0, {[] { PostQuitMessage(0); }}, IDCANCEL,
         "I0 S0 R0"},
    };
    int i = 0;
    for (const Row &row : rows) {
        Reset();
        std::vector<PROPSHEETPAGEW> pages;
        const char16_t *titles[] = {u"One", u"Two", u"Three"};
        for (int n = 0; n < row.pages; ++n) pages.push_back(Page(n, titles[n], (row.premature >> n & 1) ? PSP_PREMATURE : 0));
        Script script(row.steps);
        INT_PTR result = Run(pages, row.start);
        EXPECT_EQ(result, row.result) << "row " << i << ": " << row.name;
        EXPECT_EQ(Joined(), row.events) << "row " << i << ": " << row.name;
        EXPECT_FALSE(script.RanOut()) << "row " << i << ": " << row.name;
        EXPECT_FALSE(IsWindow(sheetWindow)) << "row " << i;
        // What the quitting row left behind, before the next row runs.
        MSG m;
        do wince::PumpReadyMessages();
        while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        ++i;
    }
}

TEST_F(PropertySheetTest, PagesGetTheirRecordAndTheSheetFillsTheScreenWithTabsBelow) {
    RECT sheetRect{}, pageRect{}, tabRect{};
    std::u16string tabTexts;
    int selected = -2;
    HWND pageOne = nullptr;
    Script script({[&] {
                       GetWindowRect(sheetWindow, &sheetRect);
                       HWND tab = PropSheet_GetTabControl(sheetWindow);
                       GetWindowRect(tab, &tabRect);
                       pageOne = PropSheet_GetCurrentPageHwnd(sheetWindow);
                       GetWindowRect(pageOne, &pageRect);
                       for (int n = 0; n < TabCtrl_GetItemCount(tab); ++n) {
                           WCHAR text[32] = u"sentinel";
                           TCITEMW item{};
                           item.mask = TCIF_TEXT;
                           item.pszText = text;
                           item.cchTextMax = 32;
                           SendMessageW(tab, TCM_GETITEMW, n, reinterpret_cast<LPARAM>(&item));
                           tabTexts += std::u16string(text) + u"|";
                       }
                       selected = TabCtrl_GetCurSel(tab);
                   },
                   [] { PostMessageW(sheetWindow, PSM_SETCURSEL, 0, 0); }, PressOk});
    EXPECT_EQ(Run({Page(0, u"Folder"), Page(1, nullptr)}, 1), IDOK);
    EXPECT_FALSE(script.RanOut());
    // The second page has no title of its own: its tab shows the template's caption.
    EXPECT_EQ(tabTexts, u"Folder|Page|");
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(initParams[0], 0);
    EXPECT_EQ(initParams[1], 1);
    // The sheet fills the work area, between the shell's bars.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(EqualRect(&sheetRect, &work));
    EXPECT_EQ(tabRect.bottom, work.bottom);
    EXPECT_EQ(pageRect.top, work.top);
    EXPECT_EQ(pageRect.bottom, tabRect.top);
    EXPECT_EQ(pageRect.right, 240);
    EXPECT_EQ(Joined(), "I1 S1 K1 I0 S0 K0 A0 A1");
}

TEST_F(PropertySheetTest, BadHeadersFailWithMinusOne) {
    PROPSHEETPAGEW page = Page(0, u"One");
    struct Row {
        DWORD size, flags;
        UINT pages;
        HWND parent;
        DWORD error;
    } rows[] = {
        {sizeof(PROPSHEETHEADERW) - 4, PSH_PROPSHEETPAGE, 1, nullptr, ERROR_INVALID_PARAMETER},
        {sizeof(PROPSHEETHEADERW), PSH_PROPSHEETPAGE, MAXPROPPAGES, nullptr, ERROR_INVALID_PARAMETER},
        {sizeof(PROPSHEETHEADERW), PSH_PROPSHEETPAGE | PSH_MODELESS, 1, nullptr, ERROR_CALL_NOT_IMPLEMENTED},
        {sizeof(PROPSHEETHEADERW), PSH_PROPSHEETPAGE, 1, reinterpret_cast<HWND>(0x7777), ERROR_INVALID_WINDOW_HANDLE},
    };
    int i = 0;
    for (const Row &row : rows) {
        PROPSHEETHEADERW h{};
        h.dwSize = row.size;
        h.dwFlags = row.flags;
        h.nPages = row.pages;
        h.ppsp = &page;
        h.hwndParent = row.parent;
        SetLastError(0xDEAD);
        EXPECT_EQ(PropertySheetW(&h), -1) << "row " << i;
        EXPECT_EQ(GetLastError(), row.error) << "row " << i;
        ++i;
    }
    SetLastError(0xDEAD);
    EXPECT_EQ(PropertySheetW(nullptr), -1);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    PROPSHEETPAGEW small = page;
    small.dwSize = 8;
    SetLastError(0xDEAD);
    EXPECT_EQ(CreatePropertySheetPageW(&small), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(events.empty());
}

// A framework subclasses the sheet when it is initialised and handles WM_HELP
// there, passing the rest on.
WNDPROC sheetProcBefore = nullptr;
int helpSeen = 0;
LRESULT CALLBACK SubclassedSheet(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_HELP) {
        auto *info = reinterpret_cast<HELPINFO *>(lParam);
        if (info && info->cbSize == sizeof(HELPINFO)) helpSeen++;
        return TRUE;
    }
    return CallWindowProcW(sheetProcBefore, hwnd, msg, wParam, lParam);
}
int CALLBACK SubclassingCallback(HWND hwnd, UINT msg, LPARAM) {
    if (msg != PSCB_INITIALIZED) return 0;
    sheetWindow = hwnd;
    sheetProcBefore = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWL_WNDPROC,
                                                                  reinterpret_cast<LONG_PTR>(SubclassedSheet)));
    return 0;
}

TEST_F(PropertySheetTest, SubclassedSheetGetsHelpAndStillWorks) {
    helpSeen = 0;
    HELPINFO info{};
    info.cbSize = sizeof info;
    Script script({[&] { SendMessageW(sheetWindow, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)); },
                   // Help asked of a page travels up to the sheet.
                   [&] {
                       SendMessageW(PropSheet_GetCurrentPageHwnd(sheetWindow), WM_HELP, 0,
                                    reinterpret_cast<LPARAM>(&info));
                   },
                   [] { TapTab(1); }, PressOk});
    PROPSHEETPAGEW pages[] = {Page(0, u"One"), Page(1, u"Two")};
    PROPSHEETHEADERW h{};
    h.dwSize = sizeof h;
    h.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    h.nPages = 2;
    h.ppsp = pages;
    h.pfnCallback = SubclassingCallback;
    EXPECT_EQ(PropertySheetW(&h), IDOK);
    EXPECT_FALSE(script.RanOut());
    EXPECT_EQ(helpSeen, 2);
    EXPECT_EQ(Joined(), "I0 S0 K0 I1 S1 K1 A0 A1");
}

TEST_F(PropertySheetTest, PagesAddedAndRemovedWhileRunning) {
    HPROPSHEETPAGE added = nullptr;
    int countAfterAdd = 0, countAfterRemove = 0;
    HWND currentAfterRemove = nullptr, pageOfTwo = nullptr;
    PROPSHEETPAGEW third = Page(2, u"Three");
    Script script({[&] {
                       added = CreatePropertySheetPageW(&third);
                       PropSheet_AddPage(sheetWindow, added);
                       countAfterAdd = TabCtrl_GetItemCount(PropSheet_GetTabControl(sheetWindow));
                   },
                   [] { TapTab(2); },
                   [&] {
                       pageOfTwo = PropSheet_GetCurrentPageHwnd(sheetWindow);
                       PropSheet_RemovePage(sheetWindow, 0, added);
                       countAfterRemove = TabCtrl_GetItemCount(PropSheet_GetTabControl(sheetWindow));
                       currentAfterRemove = PropSheet_GetCurrentPageHwnd(sheetWindow);
                   },
                   PressOk});
    EXPECT_EQ(Run({Page(0, u"One"), Page(1, u"Two")}), IDOK);
    EXPECT_FALSE(script.RanOut());
    EXPECT_EQ(countAfterAdd, 3);
    EXPECT_EQ(countAfterRemove, 2);
    EXPECT_FALSE(IsWindow(pageOfTwo));
    EXPECT_NE(currentAfterRemove, nullptr);
    // The removed page's place goes to the page before it; it was never made.
    EXPECT_EQ(Joined(), "I0 S0 K0 I2 S2 I1 S1 K1 A0 A1");
}

TEST_F(PropertySheetTest, TheOwnerGoingClosesTheSheetAsCancel) {
    HWND owner = CreateWindowExW(0, u"Dialog", u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    made.push_back(owner);
    bool ownerDisabled = false;
    Script script({[&] { ownerDisabled = !IsWindowEnabled(owner); }, [] { TapTab(1); },
                   [&] {
                       DestroyWindow(owner);
                       PostMessageW(nullptr, WM_NULL, 0, 0);  // wakes the modal loop
                   }});
    EXPECT_EQ(Run({Page(0, u"One"), Page(1, u"Two")}, 0, owner), IDCANCEL);
    EXPECT_FALSE(script.RanOut());
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(Joined(), "I0 S0 K0 I1 S1 R0 R1");
}

TEST_F(PropertySheetTest, APageTallerThanTheSpaceScrolls) {
    pageTemplate = DialogTemplateWriter(DS_CONTROL | WS_CHILD, 0, 0, 120, 300, u"Tall");
    pageTemplate.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 4, 280, 60, 10, 11, u"Low");
    DWORD style = 0;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, -1, -1, 0, -1, -1};
    RECT page{}, low{};
    Script script({[&] {
                       HWND p = PropSheet_GetCurrentPageHwnd(sheetWindow);
                       style = static_cast<DWORD>(GetWindowLongW(p, GWL_STYLE));
                       GetScrollInfo(p, SB_VERT, &si);
                       GetClientRect(p, &page);
                       GetWindowRect(GetDlgItem(p, 11), &low);
                       MapWindowPoints(nullptr, p, reinterpret_cast<POINT *>(&low), 2);
                   },
                   PressOk});
    EXPECT_EQ(Run({Page(0, u"Tall")}), IDOK);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, low.bottom - 1);
    EXPECT_EQ(si.nPage, UINT(page.bottom));
}

}  // namespace
