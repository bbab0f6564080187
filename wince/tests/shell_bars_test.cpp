// The shell's bars: the work area between them, full-screen dialogs that
// follow the input panel, "ok" in the navigation bar, the Start menu, and
// the menu bar of the window in front.
#include <aygshell.h>
#include <commctrl.h>

#include "controls/input_panel.h"
#include "dialog_support.h"
#include "menu_support.h"
#include "shell/shell_bars.h"
#include "shell_support.h"
#include "window/clock.h"
#include "window/item_report.h"
#include "window/message_queue.h"

namespace {

using namespace dialog_test;

class ShellBars : public DialogTest {
   protected:
    // Suites run before these in the same process may leave the bars up:
    // every test here begins without them.
    void SetUp() override {
        DialogTest::SetUp();
        wince::shell::StopBars();
    }
    void TearDown() override {
        wince::ShowInputPanel(false);
        wince::shell::StopBars();
        DialogTest::TearDown();
    }
    HWND FullScreen(DWORD flags, DLGPROC proc = RecordingProc, DWORD style = WS_POPUP | WS_VISIBLE) {
        DialogTemplateWriter t(style, 0, 0, 100, 60, u"Sheet");
        t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 2, 30, 40, 14, 12, u"Go");
        HWND d = Show(t, nullptr, proc);
        SHINITDLGINFO info{SHIDIM_FLAGS, d, flags};
        EXPECT_TRUE(SHInitDialog(&info));
        wince::PumpReadyMessages();
        return d;
    }
};

RECT WindowRect(HWND hwnd) {
    RECT r{-1, -1, -1, -1};
    GetWindowRect(hwnd, &r);
    return r;
}

// The navigation bar's parts as it reports them, by text.
RECT NavPart(const std::u16string &text) {
    std::vector<wince::ReportedItem> items;
    wince::ReportItems(wince::shell::NavigationBar(), items);
    for (const auto &item : items)
        if (item.text == text) return item.rect;
    return RECT{0, 0, 0, 0};
}

// What WM_HELP carried, copied while it was valid.
HELPINFO lastHelp;
int helps = 0;
BOOL CALLBACK HelpProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_HELP) {
        ++helps;
        lastHelp = *reinterpret_cast<const HELPINFO *>(lParam);
        return TRUE;
    }
    return RecordingProc(dialog, msg, wParam, lParam);
}

// Logs and stays open, as a sheet whose OK was refused does.
BOOL CALLBACK StayingProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log().push_back(Heard{msg, wParam, lParam});
    return msg == WM_INITDIALOG || msg == WM_COMMAND;
}

POINT Middle(const RECT &r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

::testing::AssertionResult SameRect(const RECT &a, const RECT &b) {
    if (EqualRect(&a, &b)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected {" << b.left << "," << b.top << "," << b.right << ","
                                         << b.bottom << "} got {" << a.left << "," << a.top << "," << a.right << ","
                                         << a.bottom << "}";
}

TEST_F(ShellBars, WorkAreaLiesBetweenTheBarsAtEveryDpi) {
    const struct {
        int dpi;
        RECT work;
    } rows[] = {{96, {0, 26, 240, 294}}, {192, {0, 52, 240, 268}}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        UseDpi(rows[i].dpi);
        RECT work{-7, -7, -7, -7};
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
        EXPECT_TRUE(SameRect(work, RECT{0, 0, 240, 320})) << "row " << i << ": no bars yet";
        wince::shell::StartBars();
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
        EXPECT_TRUE(SameRect(work, rows[i].work)) << "row " << i;
        EXPECT_TRUE(SameRect(WindowRect(wince::shell::NavigationBar()), RECT{0, 0, 240, rows[i].work.top}))
            << "row " << i;
        EXPECT_TRUE(SameRect(WindowRect(wince::shell::MenuStrip()), RECT{0, rows[i].work.bottom, 240, 320}))
            << "row " << i;
        wince::shell::StopBars();
    }
}

// The work area shrinking is announced to every top-level window.
TEST_F(ShellBars, StartingTheBarsSendsTheResetToTopLevelWindows) {
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"Plain");
    HWND d = Show(t);
    Log().clear();
    wince::shell::StartBars();
    bool reset = false;
    for (const Heard &h : Log()) reset |= h.message == WM_SETTINGCHANGE && h.wParam == SETTINGCHANGE_RESET;
    EXPECT_TRUE(reset);
    EXPECT_EQ(GetActiveWindow(), d);  // the bars never take the activation
}

TEST_F(ShellBars, FullScreenDialogsFollowTheInputPanel) {
    const struct {
        DWORD flags;
        RECT down, up;
    } rows[] = {
        {SHIDIF_SIZEDLGFULLSCREEN, {0, 26, 240, 294}, {0, 26, 240, 214}},
        {SHIDIF_SIZEDLG, {0, 26, 240, 294}, {0, 26, 240, 214}},
        {SHIDIF_FULLSCREENNOMENUBAR, {0, 26, 240, 320}, {0, 26, 240, 214}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        HWND d = FullScreen(rows[i].flags);
        EXPECT_TRUE(SameRect(WindowRect(d), rows[i].down)) << "row " << i;
        Log().clear();
        wince::ShowInputPanel(true);
        EXPECT_TRUE(SameRect(WindowRect(d), rows[i].up)) << "row " << i;
        bool sized = false, told = false;
        for (const Heard &h : Log()) {
            sized |= h.message == WM_SIZE && HIWORD(h.lParam) == rows[i].up.bottom - rows[i].up.top;
            told |= h.message == WM_SETTINGCHANGE && h.wParam == SPI_SETSIPINFO;
        }
        EXPECT_TRUE(sized) << "row " << i;
        EXPECT_TRUE(told) << "row " << i;
        wince::ShowInputPanel(false);
        EXPECT_TRUE(SameRect(WindowRect(d), rows[i].down)) << "row " << i;
        DestroyWindow(d);
    }
}

// The navigation bar carries a full-screen dialog's title: a captioned
// template loses its caption, and its client area is the work area.
TEST_F(ShellBars, AFullScreenDialogsCaptionIsTheNavigationBar) {
    HWND d = FullScreen(SHIDIF_SIZEDLGFULLSCREEN, RecordingProc,
                        WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    EXPECT_EQ(GetWindowLongW(d, GWL_STYLE) & WS_CAPTION, 0);
    RECT client{};
    GetClientRect(d, &client);
    MapWindowPoints(d, nullptr, reinterpret_cast<POINT *>(&client), 2);
    EXPECT_TRUE(SameRect(client, RECT{0, 26, 240, 294}));
    WCHAR title[32] = {};
    GetWindowTextW(wince::shell::NavigationBar(), title, 32);
    EXPECT_EQ(std::u16string(title), u"Sheet");
    DestroyWindow(d);
}

TEST_F(ShellBars, SipInfoReportsThePanelAndTheVisibleDesktop) {
    SIPINFO info{};
    memset(&info, 0x5A, sizeof info);
    info.cbSize = sizeof info - 1;
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SHSipInfo(SPI_GETSIPINFO, 0, nullptr, 0));

    wince::shell::StartBars();
    const struct {
        bool up;
        DWORD flags;
        RECT visible;
    } rows[] = {{false, SIPF_DOCKED, {0, 26, 240, 294}}, {true, SIPF_DOCKED | SIPF_ON, {0, 26, 240, 214}}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        SIPINFO set{};
        set.cbSize = sizeof set;
        set.fdwFlags = rows[i].up ? SIPF_ON : SIPF_OFF;
        ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &set, 0)) << "row " << i;
        memset(&info, 0x5A, sizeof info);
        info.cbSize = sizeof info;
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETSIPINFO, 0, &info, 0)) << "row " << i;
        EXPECT_EQ(info.fdwFlags, rows[i].flags) << "row " << i;
        EXPECT_TRUE(SameRect(info.rcVisibleDesktop, rows[i].visible)) << "row " << i;
        EXPECT_TRUE(SameRect(info.rcSipRect, RECT{0, 214, 240, 294})) << "row " << i;
        EXPECT_EQ(info.dwImDataSize, 0u) << "row " << i;
    }
}

TEST_F(ShellBars, InitDialogRejectsBadArguments) {
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"");
    HWND d = Show(t);
    const struct {
        bool null;
        DWORD mask;
        bool window;
    } rows[] = {{true, SHIDIM_FLAGS, true}, {false, 0, true}, {false, SHIDIM_FLAGS, false}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        SHINITDLGINFO info{rows[i].mask, rows[i].window ? d : reinterpret_cast<HWND>(0x7777), SHIDIF_DONEBUTTON};
        SetLastError(0xDEADBEEF);
        EXPECT_FALSE(SHInitDialog(rows[i].null ? nullptr : &info)) << "row " << i;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << "row " << i;
    }
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(SHDoneButton(d, 7));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SHDoneButton(nullptr, SHDB_SHOW));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

// "ok" shows for the dialog that asked for it while it is in front, and a
// tap on it is that dialog's IDOK.
TEST_F(ShellBars, OkInTheNavigationBarIsTheFrontDialogsIdok) {
    HWND d = FullScreen(SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN, StayingProc);
    RECT ok = NavPart(u"ok");
    EXPECT_TRUE(SameRect(ok, RECT{214, 0, 240, 26}));
    Log().clear();
    Tap(Middle(ok));
    wince::PumpReadyMessages();
    EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{IDOK, 0}}));

    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"Other");
    HWND other = Show(t);
    EXPECT_TRUE(IsRectEmpty(&(ok = NavPart(u"ok")))) << "another dialog is in front";
    WCHAR title[32] = {};
    GetWindowTextW(wince::shell::NavigationBar(), title, 32);
    EXPECT_EQ(std::u16string(title), u"Other");
    DestroyWindow(other);
    EXPECT_FALSE(IsRectEmpty(&(ok = NavPart(u"ok"))));
    ASSERT_TRUE(SHDoneButton(d, SHDB_HIDE));
    EXPECT_TRUE(IsRectEmpty(&(ok = NavPart(u"ok"))));
}

// Start opens the Start menu; its Help sends WM_HELP to the window in front.
TEST_F(ShellBars, StartMenuHelpReachesTheFrontWindow) {
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"Sheet");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 2, 30, 40, 14, 12, u"Go");
    HWND d = Show(t, nullptr, HelpProc);
    wince::shell::StartBars();
    SetFocus(GetDlgItem(d, 12));
    helps = 0;
    std::vector<std::u16string> shown;
    menu_testing::StepDriver driver({
        [&] {
            for (HWND popup : menu_testing::OpenPopups()) {
                std::vector<wince::ReportedItem> items;
                wince::ReportItems(popup, items);
                for (const auto &item : items)
                    if (!item.separator) shown.push_back(item.text);
            }
            menu_testing::Tap(menu_testing::ItemCenter(u"Help"));
        },
    });
    Tap(Middle(NavPart(u"Start")));
    wince::PumpReadyMessages();
    EXPECT_EQ(shown, (std::vector<std::u16string>{u"Today", u"Help"}));
    wince::PumpReadyMessages();
    EXPECT_EQ(helps, 1);
    EXPECT_EQ(lastHelp.cbSize, sizeof(HELPINFO));
    EXPECT_EQ(lastHelp.iCtrlId, 12);
    EXPECT_EQ(lastHelp.hItemHandle, GetDlgItem(d, 12));
    EXPECT_EQ(GetActiveWindow(), d);
}

// Start's Today brings the Today host's desktop to the front, from the host
// itself or from any other program of the device (the program's window goes
// behind it); with no Today screen running nothing moves, and the trace
// says so.
TEST_F(ShellBars, StartMenuTodayBringsTheTodayScreenToTheFrontFromAnyProgram) {
    shell_testing::TraceFile trace(device);
    shell_testing::InstallProgram(device, "\\Windows\\other.exe");
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"TestToday";
    RegisterClassW(&wc);
    HWND today = CreateWindowExW(0, u"TestToday", u"Desktop", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                 nullptr, nullptr);
    made.push_back(today);
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"Front");
    HWND front = Show(t);
    wince::shell::StartBars();
    auto runOther = [](std::u16string commandLine) {
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(u"\\Windows\\other.exe", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            nullptr, &pi))
            return DWORD{0xFFFF};
        WaitForSingleObject(pi.hProcess, 20000);
        DWORD code = 0xFFFF;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        return code;
    };
    const std::string raised = R"({"event":"SetForegroundWindow","target":56912})";
    const struct {
        const char16_t *other;  // the program's command line; nullptr: Start in this process
        bool todayRuns;
        DWORD exitCode;
        bool todayInFront;
        std::string traced;  // the trace's last line
    } rows[] = {
        {nullptr, true, 0, true, ""},
        {u"today", true, 0, true, raised},
        {u"foreground", true, 0, true, raised},
        {u"today", false, 6, false, R"({"event":"SetForegroundWindow","target":56912,"error":1400})"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        wince::SetDesktopWindow(rows[i].todayRuns ? today : nullptr);
        SetForegroundWindow(front);
        ASSERT_EQ(GetActiveWindow(), front) << "row " << i;
        std::filesystem::remove(trace.Path());
        if (!rows[i].other) {
            menu_testing::StepDriver driver({[] { menu_testing::Tap(menu_testing::ItemCenter(u"Today")); }});
            Tap(Middle(NavPart(u"Start")));
            wince::PumpReadyMessages();
        } else {
            EXPECT_EQ(runOther(rows[i].other), rows[i].exitCode) << "row " << i;
        }
        // The request crosses on its own: wait for it as long as it may take.
        for (int n = 0; n < 100 && rows[i].todayInFront && GetActiveWindow() != today; ++n) {
            wince::WaitForEvents(wince::Clock::Now() + 50);
            wince::PumpReadyMessages();
        }
        EXPECT_EQ(GetActiveWindow(), rows[i].todayInFront ? today : front) << "row " << i;
        // Only a request to another program leaves this one.
        std::vector<std::string> lines = trace.Lines();
        if (rows[i].traced.empty()) {
            for (const std::string &line : lines)
                EXPECT_EQ(line.find("SetForegroundWindow"), std::string::npos) << "row " << i << ": " << line;
        } else {
            ASSERT_FALSE(lines.empty()) << "row " << i;
            EXPECT_EQ(lines.back(), rows[i].traced) << "row " << i;
        }
    }
    wince::SetDesktopWindow(nullptr);
}

TEST_F(ShellBars, TheFrontWindowsVisibleMenuBarCoversTheStrip) {
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"First");
    HWND first = Show(t);
    HWND pageA = CreateWindowExW(0, u"STATIC", u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, first, nullptr, nullptr,
                                 nullptr);
    HWND pageB = CreateWindowExW(0, u"STATIC", u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, first, nullptr, nullptr,
                                 nullptr);
    HWND barA = CommandBar_Create(nullptr, pageA, 0xE800);
    HWND barB = CommandBar_Create(nullptr, pageB, 0xE800);
    ASSERT_NE(barA, nullptr);
    ASSERT_NE(barB, nullptr);
    EXPECT_TRUE(SameRect(WindowRect(barA), RECT{0, 294, 216, 320}));  // left of the input panel's button
    EXPECT_EQ(CommandBar_Height(barA), 26);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(SHFindMenuBar(pageA), barA);
    EXPECT_EQ(SHFindMenuBar(first), nullptr);

    // A page shows its bar and hides the other one's.
    ShowWindow(barB, SW_HIDE);
    ShowWindow(barA, SW_SHOW);
    EXPECT_TRUE(wince::shell::MenuBarShown(barA));
    EXPECT_FALSE(wince::shell::MenuBarShown(barB));
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_TRUE(CommandBar_Show(barA, FALSE));
    EXPECT_TRUE(CommandBar_Show(barB, TRUE));
    EXPECT_FALSE(wince::shell::MenuBarShown(barA));
    EXPECT_TRUE(wince::shell::MenuBarShown(barB));
    EXPECT_FALSE(CommandBar_IsVisible(barA));
    EXPECT_TRUE(CommandBar_IsVisible(barB));

    // Another window in front with its own bar; when it goes, the first's bar is back.
    DialogTemplateWriter t2(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"Second");
    HWND second = Show(t2, first);
    SHMENUBARINFO mbi{};
    mbi.cbSize = sizeof mbi;
    mbi.hwndParent = second;
    mbi.dwFlags = SHCMBF_EMPTYBAR | SHCMBF_HIDESIPBUTTON;
    ASSERT_TRUE(SHCreateMenuBar(&mbi));
    EXPECT_TRUE(SameRect(WindowRect(mbi.hwndMB), RECT{0, 294, 240, 320}));
    EXPECT_EQ(SHFindMenuBar(second), mbi.hwndMB);
    EXPECT_TRUE(wince::shell::MenuBarShown(mbi.hwndMB));
    EXPECT_FALSE(wince::shell::MenuBarShown(barB));
    DestroyWindow(second);
    EXPECT_FALSE(IsWindow(mbi.hwndMB));
    EXPECT_TRUE(wince::shell::MenuBarShown(barB));
}

// The bar's buttons from a menu bar resource (RCDATA) or a menu resource;
// a drop-down of the resource opens its popup of the menu, and the chosen
// item's command reaches the owner, as a plain button's does.
TEST_F(ShellBars, MenuBarFromAMenuBarResourceOrAMenu) {
    const struct {
        DWORD flags;
        UINT id;
        DWORD error;  // ERROR_SUCCESS: the bar is made
        std::vector<std::pair<std::u16string, UINT>> buttons;
    } rows[] = {
        {0, 180, ERROR_SUCCESS, {{u"Done", 173}, {u"Tools", 174}}},
        {SHCMBF_HMENU, 170, ERROR_SUCCESS, {{u"Tools", 0}}},
        {0, 170, ERROR_SUCCESS, {{u"Tools", 0}}},  // no menu bar resource 170: the menu's
        {SHCMBF_HMENU, 180, ERROR_RESOURCE_NAME_NOT_FOUND, {}},
        {0, 181, ERROR_INVALID_DATA, {}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"Owner");
        HWND d = Show(t);
        SHMENUBARINFO mbi{};
        mbi.cbSize = sizeof mbi;
        mbi.hwndParent = d;
        mbi.dwFlags = rows[i].flags;
        mbi.nToolBarId = rows[i].id;
        mbi.hInstRes = GetModuleHandleW(nullptr);
        mbi.hwndMB = reinterpret_cast<HWND>(0x1234);
        SetLastError(0xDEADBEEF);
        BOOL made = SHCreateMenuBar(&mbi);
        EXPECT_EQ(made != FALSE, rows[i].error == ERROR_SUCCESS) << "row " << i;
        if (!made) {
            EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
            EXPECT_EQ(SHFindMenuBar(d), nullptr) << "row " << i << ": a half-made bar was left";
            DestroyWindow(d);
            continue;
        }
        std::vector<wince::ReportedItem> items;
        wince::ReportItems(mbi.hwndMB, items);
        std::vector<std::pair<std::u16string, UINT>> buttons;
        // A menu's drop-down has no command of its own: only the resource gives one.
        for (const auto &item : items) buttons.emplace_back(item.text, rows[i].id == 180 ? item.id : 0);
        EXPECT_EQ(buttons, rows[i].buttons) << "row " << i;
        // The last button is Tools: its popup, then About.
        Log().clear();
        menu_testing::StepDriver driver({[] { menu_testing::Tap(menu_testing::ItemCenter(u"About")); }});
        Tap(Middle(items.back().rect));
        wince::PumpReadyMessages();
        EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{171, 0}})) << "row " << i;
        if (rows[i].id == 180) {
            Log().clear();
            Tap(Middle(items.front().rect));
            wince::PumpReadyMessages();
            EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{173, 0}})) << "row " << i;
        }
        DestroyWindow(d);
    }
}

// The chooser's way: an empty bar into which the dialog puts "Cancel".
TEST_F(ShellBars, CancelOnAnEmptyMenuBarIsTheDialogsIdcancel) {
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"Choose");
    HWND d = Show(t);
    SHMENUBARINFO mbi{};
    mbi.cbSize = sizeof mbi;
    mbi.hwndParent = d;
    mbi.dwFlags = SHCMBF_EMPTYBAR;
    ASSERT_TRUE(SHCreateMenuBar(&mbi));
    SendMessageW(mbi.hwndMB, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON b{I_IMAGENONE, IDCANCEL, TBSTATE_ENABLED, TBSTYLE_AUTOSIZE, {}, 0,
               reinterpret_cast<INT_PTR>(u"Cancel")};
    ASSERT_TRUE(SendMessageW(mbi.hwndMB, TB_INSERTBUTTON, SendMessageW(mbi.hwndMB, TB_BUTTONCOUNT, 0, 0),
                             reinterpret_cast<LPARAM>(&b)));
    ASSERT_TRUE(SendMessageW(mbi.hwndMB, TB_SETBUTTONSIZE, 0, MAKELONG(23, 22)));
    RECT r{};
    ASSERT_TRUE(SendMessageW(mbi.hwndMB, TB_GETRECT, IDCANCEL, reinterpret_cast<LPARAM>(&r)));
    MapWindowPoints(mbi.hwndMB, nullptr, reinterpret_cast<POINT *>(&r), 2);
    Log().clear();
    Tap(Middle(r));
    wince::PumpReadyMessages();
    EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{IDCANCEL, 0}}));

    SetLastError(0xDEADBEEF);
    mbi.cbSize = sizeof mbi + 4;
    EXPECT_FALSE(SHCreateMenuBar(&mbi));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
