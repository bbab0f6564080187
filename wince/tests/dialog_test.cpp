// The dialog manager: start-up order, dialog units, placement, the
// keyboard interface and modal dialogs driven by input alone.
#include "dialog_support.h"
#include "window/screen_size.h"

namespace {

using namespace dialog_test;

// A control that logs what it hears (as WM_APP + message) and wants what
// its creator says it wants.
LRESULT dialogCodeOfProbe = 0;
LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE || msg == WM_SETFONT || msg == WM_SETFOCUS || msg == WM_KEYDOWN)
        Log().push_back(Heard{WM_APP + msg, wParam, lParam});
    if (msg == WM_GETDLGCODE) return dialogCodeOfProbe;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

BOOL CALLBACK ListeningProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log().push_back(Heard{msg, wParam, lParam});
    return msg == WM_INITDIALOG;
}

class Dialog : public DialogTest {
   protected:
    void SetUp() override {
        DialogTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = ProbeProc;
        wc.lpszClassName = u"Probe";
        RegisterClassW(&wc);
        dialogCodeOfProbe = 0;
    }
    void TearDown() override {
        DialogTest::TearDown();
        UnregisterClassW(u"Probe", nullptr);
    }
    // The application's loop for a modeless dialog.
    void Pump(HWND dialog) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog, &m)) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
        }
    }
};

TEST_F(Dialog, StartUpSendsFontsThenInitDialogThenFocusesTheFirstTabStop) {
    DialogTemplateWriter t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 100, 60, u"Start", 8, u"MS Shell Dlg");
    t.Item(u"Probe", WS_CHILD | WS_VISIBLE, 2, 2, 20, 10, 5, u"");
    t.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 2, 14, 60, 12, 10, u"abc");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 2, 30, 40, 14, IDOK, u"OK");
    HWND d = CreateDialogIndirectParamW(nullptr, t.Get(), nullptr, ListeningProc, 0x1234);
    ASSERT_NE(d, nullptr);
    made.push_back(d);
    HWND edit = GetDlgItem(d, 10);
    std::vector<std::pair<UINT, WPARAM>> got;
    for (const Heard &h : Log()) {
        if (h.message == WM_SETFONT || h.message == WM_INITDIALOG || h.message >= WM_APP ||
            (h.message == WM_COMMAND && HIWORD(h.wParam) == EN_SETFOCUS))
            got.emplace_back(h.message, h.message == WM_COMMAND ? h.wParam : 0);
        if (h.message == WM_INITDIALOG) {
            EXPECT_EQ(h.wParam, reinterpret_cast<WPARAM>(edit));  // the control that will get the focus
            EXPECT_EQ(h.lParam, 0x1234);
        }
    }
    std::vector<std::pair<UINT, WPARAM>> expected{{WM_SETFONT, 0},         {WM_APP + WM_CREATE, 0},
                                                  {WM_APP + WM_SETFONT, 0}, {WM_INITDIALOG, 0},
                                                  {WM_COMMAND, MAKEWPARAM(10, EN_SETFOCUS)}};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(GetFocus(), edit);
    DWORD start = 99, end = 99;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);  // the first focus selects all the text
    EXPECT_EQ(end, 3u);
    // The template's font: the system face at 8 points at 96 dpi.
    auto font = reinterpret_cast<HFONT>(SendMessageW(d, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), font);
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_EQ(std::u16string(lf.lfFaceName), u"Tahoma");
    EXPECT_FALSE(IsWindowVisible(d));  // no WS_VISIBLE in the template
    WCHAR cls[16];
    GetClassNameW(d, cls, 16);
    EXPECT_EQ(std::u16string(cls), u"Dialog");
}

TEST_F(Dialog, MapDialogRectUsesTheFontAtTheDevicesDpi) {
    struct Row {
        int dpi;
        bool font;
        RECT in, out;
        LONG units;
    } rows[] = {
        {96, true, {0, 0, 4, 8}, {0, 0, 11, 11}, MAKELONG(11, 11)},
        {96, true, {10, 20, 30, 40}, {28, 28, 83, 55}, MAKELONG(11, 11)},
        {96, false, {10, 20, 30, 40}, {28, 28, 83, 55}, MAKELONG(11, 11)},
        {192, true, {10, 20, 30, 40}, {53, 53, 158, 105}, MAKELONG(21, 21)},
        {192, true, {-4, -8, 0, 0}, {-21, -21, 0, 0}, MAKELONG(21, 21)},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        UseDpi(rows[i].dpi);
        DialogTemplateWriter t(WS_POPUP, 0, 0, 40, 16, u"", rows[i].font ? 8 : 0, u"MS Shell Dlg");
        t.Item(kStatic, WS_CHILD | WS_VISIBLE, 10, 20, 20, 20, 1, u"x");
        HWND d = Show(t);
        ASSERT_NE(d, nullptr) << "row " << i;
        RECT r = rows[i].in;
        EXPECT_TRUE(MapDialogRect(d, &r)) << "row " << i;
        EXPECT_TRUE(EqualRect(&r, &rows[i].out))
            << "row " << i << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        EXPECT_EQ(GetDialogBaseUnits(), rows[i].units) << "row " << i;
        // The control sits where its template rectangle maps to.
        RECT item;
        GetWindowRect(GetDlgItem(d, 1), &item);
        RECT mapped{10, 20, 30, 40};
        MapDialogRect(d, &mapped);
        POINT origin{0, 0};
        ClientToScreen(d, &origin);
        EXPECT_EQ(item.left - origin.x, mapped.left) << "row " << i;
        EXPECT_EQ(item.top - origin.y, mapped.top) << "row " << i;
        // The size maps on its own: 20 units high at either dpi.
        RECT size{0, 0, 20, 20};
        MapDialogRect(d, &size);
        EXPECT_EQ(item.bottom - item.top, size.bottom) << "row " << i;
        DestroyWindow(d);
    }
    SetLastError(0);
    RECT r{0, 0, 4, 8};
    EXPECT_FALSE(MapDialogRect(reinterpret_cast<HWND>(0x4), &r));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Dialog, CentredOnTheWorkAreaAndKeptOnTheScreen) {
    DialogTemplateWriter centred(WS_POPUP | WS_BORDER | DS_CENTER, 0, 0, 80, 40, u"");
    HWND d = Show(centred);
    RECT r;
    GetWindowRect(d, &r);
    int w = 220 + 2, h = 55 + 2;  // 80 and 40 units at 11 pixels, and the border
    EXPECT_EQ(r.right - r.left, w);
    EXPECT_EQ(r.bottom - r.top, h);
    EXPECT_EQ(r.left, (240 - w) / 2);
    EXPECT_EQ(r.top, (320 - h) / 2);
    DialogTemplateWriter offScreen(WS_POPUP, 200, 400, 40, 40, u"");
    HWND far = Show(offScreen);
    GetWindowRect(far, &r);
    EXPECT_EQ(r.right, 240);
    EXPECT_EQ(r.bottom, 320);
}

// Turning the screen centres a DS_CENTER dialog on the new screen and keeps
// any other dialog on it.
TEST_F(Dialog, ATurnOfTheScreenPlacesDialogsAgain) {
    HWND centred = Show(DialogTemplateWriter(WS_POPUP | WS_BORDER | DS_CENTER, 0, 0, 80, 40, u""));
    HWND corner = Show(DialogTemplateWriter(WS_POPUP, 200, 400, 40, 40, u""));
    ASSERT_TRUE(wince::ChangeScreenSize(320, 240));
    RECT r;
    GetWindowRect(centred, &r);
    EXPECT_EQ(r.left, (320 - 222) / 2);
    EXPECT_EQ(r.top, (240 - 57) / 2);
    EXPECT_EQ(r.right - r.left, 222);
    GetWindowRect(corner, &r);
    EXPECT_EQ(r.left, 240 - 110);  // it still fits across
    EXPECT_EQ(r.bottom, 240);
    ASSERT_TRUE(wince::ChangeScreenSize(240, 320));
    GetWindowRect(centred, &r);
    EXPECT_EQ(r.left, (240 - 222) / 2);
    EXPECT_EQ(r.top, (320 - 57) / 2);
}

// Tab order, arrows in a group of automatic radio buttons, Enter and Escape.
TEST_F(Dialog, KeyboardMovesTheFocusAndPressesButtons) {
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 120, u"");
    t.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 2, 2, 60, 12, 10, u"");
    t.Item(kStatic, WS_CHILD | WS_VISIBLE, 2, 16, 60, 8, 11, u"label");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 2, 26, 40, 14, 12, u"A");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 44, 26, 40, 14, 13, u"Off");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 2, 44, 60, 10, 20, u"One");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 2, 56, 60, 10, 21, u"Two");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 2, 68, 60, 10, 22, u"Three");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 2, 90, 40, 14, IDOK, u"OK");
    HWND d = Show(t, nullptr, ListeningProc);
    ASSERT_NE(d, nullptr);
    auto id = [&] { return GetDlgCtrlID(GetFocus()); };
    EXPECT_EQ(id(), 10);
    struct Step {
        UINT key;
        bool shift;
        int focus;
    } steps[] = {{VK_TAB, false, 12}, {VK_TAB, false, 20}, {VK_TAB, false, IDOK}, {VK_TAB, false, 10},
                 {VK_TAB, true, IDOK}, {VK_TAB, true, 20}, {VK_DOWN, false, 21}, {VK_DOWN, false, 22},
                 {VK_DOWN, false, 20}, {VK_UP, false, 22}};
    for (size_t i = 0; i < std::size(steps); ++i) {
        if (steps[i].shift) ShiftKey(steps[i].key);
        else Key(steps[i].key);
        Pump(d);
        EXPECT_EQ(id(), steps[i].focus) << "step " << i;
    }
    // Arrows chose each radio button they reached; the checked one is the group's tab stop.
    EXPECT_EQ(IsDlgButtonChecked(d, 22), UINT(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(d, 20), UINT(BST_UNCHECKED));
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(d, 22), GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongW(GetDlgItem(d, 20), GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(GetNextDlgTabItem(d, GetDlgItem(d, 12), FALSE), GetDlgItem(d, 22));

    Log().clear();
    SetFocus(GetDlgItem(d, 10));
    Key(VK_RETURN);  // the default push button
    Pump(d);
    SendMessageW(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, 12)), TRUE);
    Key(VK_RETURN);  // a focused push button is the one Enter presses
    Key(VK_ESCAPE);
    Key(VK_SPACE);
    Pump(d);
    std::vector<std::pair<int, int>> expected{{10, EN_SETFOCUS}, {IDOK, BN_CLICKED}, {10, EN_KILLFOCUS},
                                              {12, BN_CLICKED}, {IDCANCEL, 0},         {12, BN_CLICKED}};
    EXPECT_EQ(Commands(), expected);
    EXPECT_EQ(SendMessageW(d, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
}

TEST_F(Dialog, EnterWithoutDefaultButtonIsOkAndControlsKeepKeysTheyAskFor) {
    DialogTemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, u"");
    t.Item(u"Probe", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 2, 2, 20, 10, 5, u"");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, 2, 20, 40, 10, 6, u"Box");
    HWND d = Show(t, nullptr, ListeningProc);
    HWND probe = GetDlgItem(d, 5);
    EXPECT_EQ(GetFocus(), probe);
    EXPECT_EQ(SendMessageW(d, DM_GETDEFID, 0, 0), 0);
    Log().clear();
    Key(VK_RETURN);
    Pump(d);
    std::vector<std::pair<int, int>> expected{{IDOK, 0}};
    EXPECT_EQ(Commands(), expected);
    dialogCodeOfProbe = DLGC_WANTTAB;
    Log().clear();
    Key(VK_TAB);
    Pump(d);
    EXPECT_EQ(GetFocus(), probe);
    ASSERT_FALSE(Log().empty());
    EXPECT_EQ(Log().front().message, UINT(WM_APP + WM_KEYDOWN));
    dialogCodeOfProbe = 0;
    Key(VK_TAB);
    Pump(d);
    EXPECT_EQ(GetFocus(), GetDlgItem(d, 6));
    EXPECT_TRUE(SendMessageW(d, DM_SETDEFID, 6, 0));
    EXPECT_EQ(SendMessageW(d, DM_GETDEFID, 0, 0), MAKELONG(6, DC_HASDEFID));
}

TEST_F(Dialog, ItemFunctionsConvertNumbersExactly) {
    DialogTemplateWriter t(WS_POPUP, 0, 0, 100, 60, u"");
    t.Item(kEdit, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 2, 2, 60, 12, 10, u"");
    HWND d = Show(t);
    struct Row {
        const char16_t *text;
        BOOL isSigned;
        UINT value;
        BOOL ok;
    } rows[] = {
        {u"42", FALSE, 42, TRUE},           {u" 42 ", FALSE, 42, TRUE},         {u"-42", TRUE, UINT(-42), TRUE},
        {u"-42", FALSE, 0, FALSE},          {u"4x", FALSE, 0, FALSE},           {u"", FALSE, 0, FALSE},
        {u"4294967295", FALSE, 4294967295u, TRUE}, {u"4294967296", FALSE, 0, FALSE}, {u"2147483648", TRUE, 0, FALSE},
        {u"-2147483648", TRUE, 0x80000000u, TRUE}, {u"+7", TRUE, 7, TRUE},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetDlgItemTextW(d, 10, rows[i].text);
        BOOL ok = 77;
        EXPECT_EQ(GetDlgItemInt(d, 10, &ok, rows[i].isSigned), rows[i].value) << "row " << i;
        EXPECT_EQ(ok, rows[i].ok) << "row " << i;
    }
    EXPECT_TRUE(SetDlgItemInt(d, 10, UINT(-5), TRUE));
    WCHAR text[16] = u"sentinel";
    EXPECT_EQ(GetDlgItemTextW(d, 10, text, 16), 2u);
    EXPECT_EQ(std::u16string(text), u"-5");
    EXPECT_EQ(GetDlgItemTextW(d, 99, text, 16), 0u);
    EXPECT_EQ(text[0], 0);
    EXPECT_EQ(GetDlgItem(d, 99), nullptr);
    EXPECT_EQ(SendDlgItemMessageW(d, 99, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(d, 10)), 10);
    EXPECT_EQ(GetDlgCtrlID(d), 0);
}

// A modal dialog is answered by taps and keys alone; its owner is disabled
// meanwhile and comes back afterwards.
UINT typedNumber = 0;
UINT checkedAtEnd = 0;
BOOL CALLBACK FormProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        BOOL ok = FALSE;
        typedNumber = GetDlgItemInt(dialog, 10, &ok, FALSE);
        checkedAtEnd = IsDlgButtonChecked(dialog, 11);
        EndDialog(dialog, LOWORD(wParam) == IDOK ? 100 : 200);
        return TRUE;
    }
    return FALSE;
}

TEST_F(Dialog, ModalDialogIsDrivenByInputAlone) {
    HWND owner = CreateWindowExW(0, u"Probe", u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                 nullptr, nullptr);
    made.push_back(owner);
    DialogTemplateWriter t(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER, 0, 0, 100, 60, u"Form", 8, u"System");
    t.Item(kEdit, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_NUMBER, 4, 4, 60, 12, 10, u"");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 4, 20, 60, 10, 11, u"Check");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 4, 40, 40, 14, IDOK, u"OK");
    bool ownerDisabled = false;
    Script script({[] { Tap(ItemOfFront(10)); }, [] { Type(u"4a2"); }, [] { Tap(ItemOfFront(11)); },
                   [&] { ownerDisabled = !IsWindowEnabled(owner); }, [] { Tap(ButtonOfFront(u"OK")); }});
    INT_PTR r = DialogBoxIndirectParamW(nullptr, t.Get(), owner, FormProc, 0);
    EXPECT_FALSE(script.RanOut());
    EXPECT_EQ(r, 100);
    EXPECT_EQ(typedNumber, 42u);  // ES_NUMBER refused the letter
    EXPECT_EQ(checkedAtEnd, UINT(BST_CHECKED));
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);

    Script escape({[] { Key(VK_ESCAPE); }});
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, t.Get(), owner, FormProc, 0), 200);
    EXPECT_FALSE(escape.RanOut());
}

TEST_F(Dialog, QuitEndsTheModalLoopAndStaysQueued) {
    DialogTemplateWriter t(WS_POPUP | WS_CAPTION, 0, 0, 60, 30, u"Q");
    Script nothing({});
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, t.Get(), nullptr, FormProc, 0), 0);
    EXPECT_TRUE(nothing.RanOut());
    MSG m{};
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, UINT(WM_QUIT));
    EXPECT_EQ(m.wParam, WPARAM(99));
}

TEST_F(Dialog, ResourceDialogsAndDamagedTemplates) {
    HMODULE self = GetModuleHandleW(nullptr);
    Script script({[] { Type(u"7"); }, [] { Key(VK_RETURN); }});
    EXPECT_EQ(DialogBoxParamW(self, MAKEINTRESOURCEW(160), nullptr, FormProc, 0), 100);
    EXPECT_EQ(typedNumber, 7u);

    SetLastError(0);
    EXPECT_EQ(DialogBoxParamW(self, MAKEINTRESOURCEW(161), nullptr, FormProc, 0), -1);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_DATA_NOT_FOUND));
    SetLastError(0);
    EXPECT_EQ(CreateDialogParamW(self, MAKEINTRESOURCEW(161), nullptr, FormProc, 0), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_DATA_NOT_FOUND));
    SetLastError(0);
    EXPECT_EQ(DialogBoxParamW(self, MAKEINTRESOURCEW(999), nullptr, FormProc, 0), -1);
    EXPECT_NE(GetLastError(), 0u);
    SetLastError(0);
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, nullptr, FormProc, 0), -1);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    // A control of a class nobody registered fails the whole dialog.
    DialogTemplateWriter unknown(WS_POPUP, 0, 0, 60, 30, u"");
    unknown.Item(u"NoSuchClass", WS_CHILD, 0, 0, 10, 10, 1, u"");
    EXPECT_EQ(CreateDialogIndirectParamW(nullptr, unknown.Get(), nullptr, FormProc, 0), nullptr);
    EXPECT_EQ(EndDialog(reinterpret_cast<HWND>(0x4), 1), FALSE);
}

// Device code keeps its own 32-bit value with SetWindowLong(DWL_USER): it
// must not land on the procedure slot, which is a 64-bit pointer here.
static_assert(DWL_DLGPROC == DWLP_DLGPROC && DWL_USER == DWLP_USER);

TEST_F(Dialog, DwlUserIsTheDialogsOwnSlot) {
    DialogTemplateWriter t(WS_POPUP, 0, 0, 60, 30, u"");
    HWND d = Show(t, nullptr, FormProc);
    ASSERT_NE(d, nullptr);
    const LONG_PTR proc = GetWindowLongPtrW(d, DWLP_DLGPROC);
    SetLastError(0xDEADBEEF);
    EXPECT_EQ(SetWindowLongW(d, DWL_USER, 0x12345678), 0);
    EXPECT_EQ(GetLastError(), 0xDEADBEEFu);
    EXPECT_EQ(GetWindowLongW(d, DWL_USER), 0x12345678);
    EXPECT_EQ(GetWindowLongPtrW(d, DWLP_DLGPROC), proc) << "the procedure is untouched";
    DestroyWindow(d);
}

// What SendMessage answers for a dialog: the DWL_MSGRESULT the procedure
// left when it handled the message (however it was written), the default
// processing when it did not, and the procedure's own value for the
// messages that answer directly.
enum ResultWay { kLong, kLongPtr, kNotHandled, kReturnValue };
ResultWay resultWay = kLong;
LONG_PTR resultValue = 0;
BOOL CALLBACK ResultProc(HWND dialog, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg != WM_APP + 1 && msg != WM_NOTIFY && msg != WM_CTLCOLORSTATIC && msg != DM_GETDEFID) return FALSE;
    switch (resultWay) {
        case kLong:
            SetWindowLongW(dialog, DWL_MSGRESULT, static_cast<LONG>(resultValue));
            return TRUE;
        case kLongPtr:
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, resultValue);
            return TRUE;
        case kNotHandled:
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, resultValue);
            return FALSE;
        case kReturnValue:
            return static_cast<BOOL>(resultValue);
    }
    return FALSE;
}

TEST_F(Dialog, MessageResultsComeFromDwlMsgResult) {
    DialogTemplateWriter t(WS_POPUP, 0, 0, 60, 30, u"");
    t.Item(kButton, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 2, 2, 40, 14, IDOK, u"OK");
    HWND d = Show(t, nullptr, ResultProc);
    ASSERT_NE(d, nullptr);
    NMHDR hdr{d, 1, 0};
    struct Row {
        UINT message;
        ResultWay way;
        LONG_PTR value;
        LRESULT expected;
    } rows[] = {
        {WM_APP + 1, kLong, 7, 7},
        {WM_APP + 1, kLong, -1, -1},  // a 32-bit write of a negative answer stays negative
        {WM_NOTIFY, kLong, 2, 2},
        {WM_APP + 1, kLongPtr, -2, -2},
        {WM_APP + 1, kLongPtr, LONG_PTR(0x123456789), LONG_PTR(0x123456789)},
        {WM_APP + 1, kNotHandled, 9, 0},  // not handled: the default processing answers
        {DM_GETDEFID, kNotHandled, 9, MAKELONG(IDOK, DC_HASDEFID)},
        {DM_GETDEFID, kLong, 0, 0},
        {WM_CTLCOLORSTATIC, kReturnValue, 0x4321, 0x4321},  // colour messages answer with the return value
        {WM_CTLCOLORSTATIC, kLong, 5, TRUE},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        resultWay = rows[i].way;
        resultValue = rows[i].value;
        LPARAM lParam = rows[i].message == WM_NOTIFY ? reinterpret_cast<LPARAM>(&hdr) : 0;
        EXPECT_EQ(SendMessageW(d, rows[i].message, 0, lParam), rows[i].expected) << "row " << i;
    }
}

}  // namespace
