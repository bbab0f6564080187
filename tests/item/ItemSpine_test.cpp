// The plug-in's entry points, window class and height query, through the
// real library.
#include <gtest/gtest.h>

#include <fstream>

#include "config/LocalizationTable.h"
#include "plugin_fixture.h"
#include "window/clock.h"
#include "window/message_queue.h"

namespace {

using plugin_testing::PluginTest;

TODAYLISTITEM EnabledRecord() {
    TODAYLISTITEM record{};
    record.fEnabled = TRUE;
    return record;
}

TEST_F(PluginTest, LoadingRegistersTheClassAndCreatesTheSettings) {
    ASSERT_TRUE(Load());
    WNDCLASSW wc;
    ASSERT_TRUE(GetClassInfoW(module, u"PelloranWindow", &wc));
    EXPECT_EQ(wc.style, 0u);
    EXPECT_EQ(wc.hbrBackground, GetStockObject(WHITE_BRUSH));
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Varnhold\\Pelloran", 0, 0, &key), ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(values, 12u);
    FreeLibrary(module);
    module = nullptr;
    SetLastError(0);
    EXPECT_FALSE(GetClassInfoW(nullptr, u"PelloranWindow", &wc));  // unregistered at unload
}

TEST_F(PluginTest, ItemWindowHasTheScreenWidthAndNoHeight) {
    ASSERT_TRUE(Load());
    TODAYLISTITEM record = EnabledRecord();
    HWND item = CreateItem(record);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(GetParent(item), host);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(item, GWL_STYLE)), 0x50010000u);
    RECT r;
    GetWindowRect(item, &r);
    EXPECT_EQ(r.right - r.left, 240);
    EXPECT_EQ(r.bottom - r.top, 0);
    WCHAR text[32];
    GetWindowTextW(item, text, 32);
    EXPECT_EQ(std::u16string(text), u"PelloranWindow");
    WNDCLASSW wc;
    EXPECT_TRUE(GetClassInfoW(nullptr, u"SIPPREF", &wc));  // registered for the rename dialog

    TODAYLISTITEM disabled{};
    EXPECT_EQ(CreateItem(disabled), nullptr);
}

TEST_F(PluginTest, HeightQueryAnswersOnlyChangesAndTimesTheRepaintBelow) {
    const struct {
        int dpi;
        DWORD start;       // the record's cyp before the query
        LRESULT result;
        DWORD height;
        bool timer;        // timer 201 fires 100 ms later
    } rows[] = {
        {96, 0, TRUE, 20, false},   {96, 20, FALSE, 20, false}, {96, 36, TRUE, 20, true},
        {192, 0, TRUE, 40, false},  {192, 40, FALSE, 40, false}, {192, 72, TRUE, 40, true},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        UseProfile("4.20", rows[i].dpi);
        ASSERT_TRUE(Load()) << "row " << i;
        TODAYLISTITEM record = EnabledRecord();
        HWND item = CreateItem(record);
        record.cyp = rows[i].start;
        hostMessages.clear();
        EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0),
                  rows[i].result)
            << "row " << i;
        EXPECT_EQ(record.cyp, rows[i].height) << "row " << i;
        wince::Clock::Advance(100);
        wince::PumpReadyMessages();
        // On this older platform the repaint scrolls the Today screen to its top.
        size_t scrolls = 0;
        for (auto &m : hostMessages) scrolls += m.message == WM_VSCROLL;
        EXPECT_EQ(scrolls, rows[i].timer ? 2u : 0u) << "row " << i;
        EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0, 0), TRUE) << "row " << i;
        TearDown();
        host = nullptr;
        module = nullptr;
    }
}

TEST_F(PluginTest, RepaintBelowFlashesAPopupUnlessTheTodayScreenDoesItItself) {
    for (const char *version : {"5.1", "4.20"}) {  // the class is never unregistered: newer first
        UseProfile(version, 96);
        ASSERT_TRUE(Load());
        TODAYLISTITEM record = EnabledRecord();
        HWND item = CreateItem(record);
        SetWindowPos(item, nullptr, 0, 30, 240, 40, SWP_NOZORDER);
        record.cyp = 72;
        hostMessages.clear();
        SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0);
        wince::Clock::Advance(100);
        DWORD before = GetTickCount();
        wince::PumpReadyMessages();
        bool legacy = std::string(version) == "4.20";
        // The popup stays up for 50 ms of the device's time.
        EXPECT_EQ(GetTickCount() - before, legacy ? 50u : 0u) << version;
        WNDCLASSW wc;
        if (legacy) {
            EXPECT_TRUE(GetClassInfoW(nullptr, u"VarnEmptyWindow", &wc));
        }
        EXPECT_EQ(FindWindowW(u"VarnEmptyWindow", nullptr), nullptr);  // flashed and gone
        wince::Clock::Advance(100);
        EXPECT_EQ(wince::PumpReadyMessages(), 0) << "timer 201 is one shot";
        TearDown();
        host = nullptr;
        module = nullptr;
    }
}

TEST_F(PluginTest, AScrolledTodayScreenGetsNoScrollMessages) {
    UseProfile("4.20", 96);
    ASSERT_TRUE(Load());
    TODAYLISTITEM record = EnabledRecord();
    HWND item = CreateItem(record);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 999, 320, 50, 0};
    SetScrollInfo(host, SB_VERT, &si, TRUE);
    record.cyp = 72;
    hostMessages.clear();
    SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0);
    wince::Clock::Advance(100);
    wince::PumpReadyMessages();
    for (auto &m : hostMessages) EXPECT_NE(m.message, UINT(WM_VSCROLL));
    WNDCLASSW wc;
    EXPECT_TRUE(GetClassInfoW(nullptr, u"VarnEmptyWindow", &wc));  // the popup still flashed
}

// The item takes the screen's width less a vertical scroll bar of the window
// holding it: its parent, or in a tab host the window three levels up.
// Ordinal 240 after 242 makes every item, the first included, look at its
// parent again.
TEST_F(PluginTest, TheItemNarrowsByTheScrollBarOfTheWindowHoldingIt) {
    const struct {
        bool hosted;     // created through ordinal 242
        int scrolled;    // levels up from the item to the window with WS_VSCROLL; 0 none
        bool thenPlain;  // ordinal 240 creates another item afterwards
        bool narrowed;
    } rows[] = {
        {false, 0, false, false}, {false, 1, false, true}, {false, 3, false, false}, {true, 1, false, false},
        {true, 3, false, true},   {true, 2, false, false}, {true, 3, true, false},   {true, 1, true, true},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        ASSERT_TRUE(Load());
        const int bar = GetSystemMetrics(SM_CXVSCROLL);
        ASSERT_GT(bar, 4) << "narrower than the width the item tolerates";
        // host > outer > middle > parent > item
        HWND chain[4] = {host};
        for (int k = 1; k < 4; ++k)
            chain[k] = CreateWindowExW(0, u"TestTodayHost", u"", WS_CHILD | WS_VISIBLE, 0, 0, 240, 300, chain[k - 1],
                                       nullptr, nullptr, nullptr);
        if (rows[i].scrolled) {
            HWND scrolled = chain[4 - rows[i].scrolled];
            SetWindowLongW(scrolled, GWL_STYLE, GetWindowLongW(scrolled, GWL_STYLE) | WS_VSCROLL);
        }
        TODAYLISTITEM record = EnabledRecord();
        HWND item = rows[i].hosted
                        ? Export<HWND(WINAPI *)(void *, TODAYLISTITEM *, HWND)>(242)(nullptr, &record, chain[3])
                        : Export<PFNCUSTOMINITIALIZEITEM>(INITIALIZE_CUSTOM_ITEM)(&record, chain[3]);
        ASSERT_NE(item, nullptr) << "row " << i;
        if (rows[i].thenPlain) {
            TODAYLISTITEM other = EnabledRecord();
            ASSERT_NE(CreateItem(other), nullptr) << "row " << i;
        }
        SetWindowPos(item, nullptr, 0, 0, 240, 54, SWP_NOZORDER);
        InvalidateRect(item, nullptr, TRUE);
        UpdateWindow(item);
        RECT r;
        GetWindowRect(item, &r);
        EXPECT_EQ(r.right - r.left, rows[i].narrowed ? 240 - bar : 240) << "row " << i;
        DestroyWindow(host);
        host = nullptr;
        FreeLibrary(module);
        module = nullptr;
    }
}

TEST_F(PluginTest, TabIconSizeFollowsTheResolution) {
    const struct {
        int dpi, width, height;
    } rows[] = {{96, 12, 11}, {131, 16, 15}, {192, 24, 22}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        UseProfile("5.1", rows[i].dpi);
        module = LoadLibraryW(u"\\Program Files\\Pelloran\\Pelloran.dll");
        ASSERT_NE(module, nullptr);
        auto getIcon =
            reinterpret_cast<HICON(WINAPI *)()>(reinterpret_cast<void *>(GetProcAddressW(module, u"GetTabIconEx")));
        ASSERT_NE(getIcon, nullptr);
        HICON icon = getIcon();
        ASSERT_NE(icon, nullptr) << "row " << i;
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm;
        GetObjectW(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, rows[i].width) << "row " << i;
        EXPECT_EQ(bm.bmHeight, rows[i].height) << "row " << i;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
        FreeLibrary(module);
        module = nullptr;
    }
}

TEST_F(PluginTest, EntryPointsAreExportedByOrdinalAndTheIconByName) {
    ASSERT_TRUE(Load());
    TODAYLISTITEM a = EnabledRecord(), b = EnabledRecord();
    HWND hosted = CreateItem(a, true);
    HWND plain = CreateItem(b, false);
    ASSERT_TRUE(hosted && plain);
    // Entry points are exported by ordinal only; the tab icon by name.
    EXPECT_NE(GetProcAddressW(module, MAKEINTRESOURCEW(242)), nullptr);
    EXPECT_EQ(GetProcAddressW(module, u"InitializeHostedItem"), nullptr);
    EXPECT_NE(GetProcAddressW(module, u"GetTabIconEx"), nullptr);
    EXPECT_EQ(Export<void *>(239), nullptr);
}

TEST_F(PluginTest, StringTableTextsComeTranslated) {
    ASSERT_TRUE(Load());
    device.WriteHostFile("\\Program Files\\Pelloran\\localization.txt", "No documents to show|Aucun document\r\n");
    SetLocalizationModule(module);
    LocalizationTable::Release();
    ASSERT_TRUE(LoadTranslations(u"\\localization.txt"));
    const struct {
        UINT id;
        const char16_t *text;
    } rows[] = {{1, u"Open"},   {2, u"Rename..."}, {3, u"Delete"}, {4, u"Options..."}, {6, u"Confirm File Delete"},
                {7, u"Browse"}, {9, u"Error Renaming File"}, {11, u"You must type a file name."},
                {12, u"Folder does not exist"}, {13, u"Aucun document"}, {15, u""}};
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(LoadText(rows[i].id), rows[i].text) << "row " << i;
    EXPECT_EQ(LoadText(10), u"A file name cannot contain any of the following characters:\n\\/:*?\"<>|");
    SetLocalizationModule(nullptr);
    LocalizationTable::Release();
}

std::string ReadAll(const std::string &path) {
    std::ifstream in(path);
    std::string line, all;
    while (std::getline(in, line)) all += line + "\n";
    return all;
}

TEST_F(PluginTest, OptionsDialogStartsTheOptionsProgramAndEnds) {
    ASSERT_TRUE(Load());
    std::string trace = (device.Root() / "trace.jsonl").string();
    setenv("WINCE_TRACE", trace.c_str(), 1);
    auto proc = Export<DLGPROC>(CUSTOM_ITEM_OPTIONS_DLG_PROC);
    ASSERT_NE(proc, nullptr);
    // Without "InstallDir" nothing starts, and the value is created empty.
    EXPECT_EQ(DialogBoxParamW(module, MAKEINTRESOURCEW(500), host, proc, 0), IDOK);
    EXPECT_EQ(ReadAll(trace).find("ShellExecuteEx"), std::string::npos);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Varnhold\\Pelloran", 0, 0, &key), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"InstallDir", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 2u);
    const char16_t folder[] = u"\\Program Files\\Pelloran";
    RegSetValueExW(key, u"InstallDir", 0, REG_SZ, reinterpret_cast<const BYTE *>(folder), sizeof folder);
    RegCloseKey(key);
    device.WriteHostFile("\\Program Files\\Pelloran\\PelloranOptions.exe", "#!wince-link /bin/true\n");
    EXPECT_EQ(DialogBoxParamW(module, MAKEINTRESOURCEW(500), host, proc, 0), IDOK);
    std::string all = ReadAll(trace);
    EXPECT_NE(all.find("\"event\":\"ShellExecuteEx\""), std::string::npos) << all;
    EXPECT_NE(all.find("\"verb\":\"open\""), std::string::npos) << all;
    EXPECT_NE(all.find("Pelloran\\\\PelloranOptions.exe"), std::string::npos) << all;
    unsetenv("WINCE_TRACE");
}

TEST_F(PluginTest, UnknownTimersGoToTheDefaultProcedure) {
    ASSERT_TRUE(Load());
    TODAYLISTITEM record = EnabledRecord();
    HWND item = CreateItem(record);
    EXPECT_EQ(SendMessageW(item, WM_TIMER, 201, 0), 1);
    EXPECT_EQ(SendMessageW(item, WM_TIMER, 999, 0), 0);
    EXPECT_EQ(SendMessageW(item, WM_ERASEBKGND, 0, 0), 1);
}

}  // namespace
