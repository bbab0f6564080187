// GetClassInfo and superclassing: a class built on a system class's
// procedure and extra bytes works as the system class does.
#include <commctrl.h>

#include "dialog_support.h"

namespace {

using namespace dialog_test;

using ClassInfo = DialogTest;

WNDPROC tabProc = nullptr;
int heardBySuperclass = 0;
LRESULT CALLBACK CountingTab(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TCM_INSERTITEMW) heardBySuperclass++;
    return CallWindowProcW(tabProc, hwnd, msg, wParam, lParam);
}

TEST_F(ClassInfo, ReportsSystemAndOwnClassesAndFailsForOthers) {
    struct Row {
        LPCWSTR name;
        BOOL result;
        DWORD error;
    } rows[] = {
        {u"SysTabControl32", TRUE, 0xDEAD},
        {u"systabcontrol32", TRUE, 0xDEAD},  // names ignore case
        {u"Dialog", TRUE, 0xDEAD},
        {u"BUTTON", TRUE, 0xDEAD},
        {u"NoSuchClass", FALSE, ERROR_CLASS_DOES_NOT_EXIST},
    };
    int i = 0;
    for (const Row &row : rows) {
        WNDCLASSW wc;
        memset(&wc, 0xCC, sizeof wc);
        SetLastError(0xDEAD);
        EXPECT_EQ(GetClassInfoW(nullptr, row.name, &wc), row.result) << "row " << i;
        EXPECT_EQ(GetLastError(), row.error) << "row " << i;
        if (row.result) {
            EXPECT_NE(wc.lpfnWndProc, nullptr) << "row " << i;
            EXPECT_GE(wc.cbWndExtra, 0) << "row " << i;
        }
        ++i;
    }
    SetLastError(0xDEAD);
    EXPECT_FALSE(GetClassInfoW(nullptr, u"BUTTON", nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    WNDCLASSW dialogClass{};
    ASSERT_TRUE(GetClassInfoW(nullptr, u"Dialog", &dialogClass));
    EXPECT_EQ(dialogClass.cbWndExtra, DLGWINDOWEXTRA);
}

TEST_F(ClassInfo, SuperclassOfTheTabControlChainsThroughCallWindowProc) {
    WNDCLASSW wc{};
    ASSERT_TRUE(GetClassInfoW(nullptr, WC_TABCONTROLW, &wc));
    tabProc = wc.lpfnWndProc;
    heardBySuperclass = 0;
    wc.lpfnWndProc = CountingTab;
    wc.lpszClassName = u"CountingTab";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND tab = CreateWindowExW(0, u"CountingTab", u"", WS_POPUP, 0, 0, 100, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(tab, nullptr);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(u"One");
    EXPECT_EQ(SendMessageW(tab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(heardBySuperclass, 1);
    // Subclassing the window itself: the new procedure answers first.
    auto before = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(tab, GWL_WNDPROC));
    EXPECT_EQ(before, &CountingTab);
    DestroyWindow(tab);
    EXPECT_TRUE(UnregisterClassW(u"CountingTab", nullptr));
    EXPECT_EQ(CallWindowProcW(nullptr, nullptr, WM_NULL, 0, 0), 0);
}

}  // namespace
