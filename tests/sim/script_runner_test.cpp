// The script runner drives modal loops like a user: a hold opens a menu and
// the next line clicks one of its items; clicks find buttons by their text.
#include <windows.h>

#include <aygshell.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <functional>

#include "script/script_runner.h"
#include "dialog/template_writer.h"
#include "temp_device.h"
#include "window/message_queue.h"

namespace {

UINT chosen = 0;
std::vector<WPARAM> commands;
std::function<void(HWND)> afterMenu;  // what the window does with the command chosen

LRESULT CALLBACK HoldWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONDOWN) {
        SHRGINFO info{sizeof info, hwnd, {LOWORD(lParam), HIWORD(lParam)}, SHRG_RETURNCMD};
        if (SHRecognizeGesture(&info) == GN_CONTEXTMENU) {
            HMENU menu = CreatePopupMenu();
            AppendMenuW(menu, MF_STRING, 5001, u"Open");
            AppendMenuW(menu, MF_STRING, 5002, u"&Rename...");
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING | MF_GRAYED, 5003, u"Delete");
            POINT p{LOWORD(lParam), HIWORD(lParam)};
            ClientToScreen(hwnd, &p);
            chosen = TrackPopupMenu(menu, TPM_RETURNCMD, p.x, p.y, 0, hwnd, nullptr);
            DestroyMenu(menu);
            if (afterMenu) afterMenu(hwnd);
        }
        return 0;
    }
    if (msg == WM_COMMAND) commands.push_back(wParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Runner : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = HoldWindow;
        wc.lpszClassName = u"HoldWindow";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, u"HoldWindow", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                 nullptr, nullptr);
        chosen = 0;
        commands.clear();
        afterMenu = nullptr;
    }
    void TearDown() override {
        DestroyWindow(window);
        UnregisterClassW(u"HoldWindow", nullptr);
        wince::SetIdleDriver(nullptr);
    }
    // Runs the script to its end the way pelloran-sim does.
    void Run(wince::ScriptRunner &runner, const std::string &text) {
        std::string error;
        ASSERT_TRUE(runner.Load(text, "t.txt", error)) << error;
        runner.Start();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    HWND window = nullptr;
};

TEST_F(Runner, HoldOpensTheMenuAndClickChoosesAnItem) {
    wince::ScriptRunner runner;
    Run(runner, "hold 60 80\nclick Rename...\n");
    EXPECT_FALSE(runner.Failed()) << runner.Error();
    EXPECT_EQ(chosen, 5002u);
}

TEST_F(Runner, DisabledAndMissingItemsCannotBeClicked) {
    struct Row {
        const char *script;
        const char *error;
    };
    const Row rows[] = {
        {"hold 60 80\nclick Delete\n", "t.txt:2: nothing named \"Delete\" can be clicked now"},
        {"hold 60 80\nclick Close\n", "t.txt:2: nothing named \"Close\" can be clicked now"},
        {"tap 60 80\nclick Open\n", "t.txt:2: nothing named \"Open\" can be clicked now"},  // a tap opens no menu
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        wince::ScriptRunner runner;
        chosen = 99;
        Run(runner, rows[i].script);
        EXPECT_TRUE(runner.Failed()) << "row " << i;
        EXPECT_EQ(runner.Error(), rows[i].error) << "row " << i;
        EXPECT_NE(chosen, 5003u) << "row " << i;
    }
}

TEST_F(Runner, ClickFindsOneButtonByItsText) {
    CreateWindowExW(0, u"BUTTON", u"&Apply", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 60, 20, window,
                    reinterpret_cast<HMENU>(11), nullptr, nullptr);
    CreateWindowExW(0, u"BUTTON", u"Same", WS_CHILD | WS_VISIBLE, 10, 40, 60, 20, window, reinterpret_cast<HMENU>(12),
                    nullptr, nullptr);
    CreateWindowExW(0, u"BUTTON", u"Same", WS_CHILD | WS_VISIBLE, 10, 70, 60, 20, window, reinterpret_cast<HMENU>(13),
                    nullptr, nullptr);
    CreateWindowExW(0, u"BUTTON", u"Off", WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 100, 60, 20, window,
                    reinterpret_cast<HMENU>(14), nullptr, nullptr);
    wince::ScriptRunner ok;
    Run(ok, "click Apply\n");
    EXPECT_FALSE(ok.Failed()) << ok.Error();
    EXPECT_EQ(commands, std::vector<WPARAM>{MAKEWPARAM(11, BN_CLICKED)});
    wince::ScriptRunner twice;
    Run(twice, "click Same\n");
    EXPECT_EQ(twice.Error(), "t.txt:1: 2 things named \"Same\" can be clicked (button, button)");
    wince::ScriptRunner disabled;
    Run(disabled, "click Off\n");
    EXPECT_EQ(disabled.Error(), "t.txt:1: nothing named \"Off\" can be clicked now");
}

// A rename dialog of the usual kind: an edit box, a list, a check box, OK
// and Cancel. OK with an empty name shows an error in a message box without
// an owner; otherwise a question owned by the dialog decides.
struct Form {
    std::u16string name;
    int listChoice = -1;
    UINT keep = 0;
    INT_PTR result = 0;
};
Form form;

BOOL CALLBACK FormProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) {
        for (const char16_t *t : {u"Alpha", u"Beta"}) SendDlgItemMessageW(dialog, 11, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
        return TRUE;
    }
    if (msg != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
    if (LOWORD(wParam) != IDOK) return TRUE;
    WCHAR text[64];
    GetDlgItemTextW(dialog, 10, text, 64);
    if (!text[0]) {
        MessageBoxW(nullptr, u"You must type a name.", u"Rename", MB_OK | MB_ICONHAND);
        return TRUE;
    }
    std::u16string question = std::u16string(u"Rename to ") + text + u"?";
    if (MessageBoxW(dialog, question.c_str(), u"Rename", MB_YESNO | MB_ICONQUESTION) != IDYES) return TRUE;
    form.name = text;
    form.listChoice = static_cast<int>(SendDlgItemMessageW(dialog, 11, LB_GETCURSEL, 0, 0));
    form.keep = IsDlgButtonChecked(dialog, 12);
    EndDialog(dialog, IDOK);
    return TRUE;
}

const nlohmann::json *FindWindow(const nlohmann::json &list, const std::string &cls, const std::string &text) {
    for (const auto &w : list) {
        if (w["class"] == cls && w["text"] == text) return &w;
        if (const nlohmann::json *inner = FindWindow(w["children"], cls, text)) return inner;
    }
    return nullptr;
}

// A menu, a modal dialog and two message boxes, driven by the script alone;
// the trace and the dump show what the user saw and did.
TEST_F(Runner, ScriptDrivesMenuDialogAndMessageBoxesByClicks) {
    std::string trace = (device.Root() / "trace.jsonl").string(), dump = (device.Root() / "dump.json").string();
    setenv("WINCE_TRACE", trace.c_str(), 1);
    form = Form{};
    afterMenu = [](HWND owner) {
        if (chosen != 5002) return;
        wince::DialogTemplateWriter t(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER, 0, 0, 120, 90, u"Document Name", 8,
                                      u"System");
        t.Item(0x0081, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 6, 106, 12, 10, u"");
        t.Item(0x0083, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LBS_NOTIFY, 7, 22, 106, 30, 11, u"");
        t.Item(0x0080, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 7, 56, 106, 10, 12, u"&Keep a copy");
        t.Item(0x0080, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 10, 72, 48, 12, IDOK, u"OK");
        t.Item(0x0080, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 62, 72, 48, 12, IDCANCEL, u"Cancel");
        form.result = DialogBoxIndirectParamW(nullptr, t.Get(), owner, FormProc, 0);
    };
    wince::ScriptRunner runner;
    Run(runner, "hold 60 80\n"
                "click Rename...\n"
                "click OK\n"  // nothing typed: the error, whose OK is the only one a user can reach
                "click OK\n"
                "key tab\n"  // the focus came back to OK: on past Cancel to the name
                "key tab\n"
                "type Summary\n"
                "click Beta\n"
                "click Keep a copy\n"
                "dump " + dump + "\n"
                "click OK\n"
                "click Yes\n");
    unsetenv("WINCE_TRACE");
    EXPECT_FALSE(runner.Failed()) << runner.Error();
    EXPECT_EQ(chosen, 5002u);
    EXPECT_EQ(form.result, IDOK);
    EXPECT_EQ(form.name, u"Summary");
    EXPECT_EQ(form.listChoice, 1);
    EXPECT_EQ(form.keep, UINT(BST_CHECKED));

    std::ifstream traceIn(trace);
    std::vector<nlohmann::json> events;
    for (std::string line; std::getline(traceIn, line);) events.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0]["event"], "TrackPopupMenu");
    EXPECT_EQ(events[0]["answer"], 5002);
    EXPECT_EQ(events[0]["items"], nlohmann::json::parse(R"([{"id":5001,"text":"Open"},{"id":5002,"text":"&Rename..."},)"
                                                        R"({"separator":true},{"id":5003,"text":"Delete"}])"));
    EXPECT_EQ(events[1], nlohmann::json::parse(R"({"event":"MessageBox","text":"You must type a name.",)"
                                               R"("caption":"Rename","type":16,"answer":1})"));
    EXPECT_EQ(events[2], nlohmann::json::parse(R"({"event":"MessageBox","text":"Rename to Summary?",)"
                                               R"("caption":"Rename","type":36,"answer":6})"));

    // The dump was taken with the dialog open, before OK.
    std::ifstream dumpIn(dump);
    nlohmann::json d = nlohmann::json::parse(dumpIn);
    const nlohmann::json *dialog = FindWindow(d["windows"], "Dialog", "Document Name");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE((*dialog)["visible"]);
    EXPECT_TRUE((*dialog)["enabled"]);
    const nlohmann::json *edit = FindWindow((*dialog)["children"], "EDIT", "Summary");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ((*edit)["id"], 10);
    const nlohmann::json *box = FindWindow((*dialog)["children"], "BUTTON", "&Keep a copy");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ((*box)["checked"], 1);
    EXPECT_TRUE((*box)["focus"]);  // the last thing tapped
    const nlohmann::json *list = nullptr;
    for (const auto &c : (*dialog)["children"])
        if (c["id"] == 11) list = &c;
    ASSERT_NE(list, nullptr);
    ASSERT_EQ((*list)["items"].size(), 2u);
    EXPECT_EQ((*list)["items"][0]["text"], "Alpha");
    EXPECT_FALSE((*list)["items"][0]["selected"]);
    EXPECT_TRUE((*list)["items"][1]["selected"]);
    // The OK button's last paint drew its label inside the button.
    const nlohmann::json *ok = FindWindow((*dialog)["children"], "BUTTON", "OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_FALSE(ok->contains("checked"));  // a push button has no check state
    const auto &r = (*ok)["rect"];
    bool labelled = false;
    for (const auto &t : (*ok)["drawnText"]) {
        if (t["text"] != "OK") continue;
        labelled = true;
        const auto &tr = t["rect"];
        EXPECT_GE(tr[0].get<int>(), 0);
        EXPECT_GE(tr[1].get<int>(), 0);
        EXPECT_LE(tr[2].get<int>(), r[2].get<int>() - r[0].get<int>());
        EXPECT_LE(tr[3].get<int>(), r[3].get<int>() - r[1].get<int>());
    }
    EXPECT_TRUE(labelled);
}

TEST_F(Runner, ClickReachesOnlyTheModalWindowOnTop) {
    // An ownerless message box leaves the window beneath enabled, but the
    // user answers the box first: its button is the only "OK" to click.
    CreateWindowExW(0, u"BUTTON", u"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 60, 20, window,
                    reinterpret_cast<HMENU>(21), nullptr, nullptr);
    CreateWindowExW(0, u"BUTTON", u"Ask", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 40, 60, 20, window,
                    reinterpret_cast<HMENU>(22), nullptr, nullptr);
    static int answer = 0;
    answer = 0;
    SetWindowLongPtrW(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_COMMAND && LOWORD(w) == 22) answer = MessageBoxW(nullptr, u"Go on?", u"Ask", MB_OKCANCEL);
        if (m == WM_COMMAND) commands.push_back(w);
        return DefWindowProcW(h, m, w, l);
    }));
    wince::ScriptRunner runner;
    Run(runner, "click Ask\nclick OK\nclick OK\n");
    EXPECT_FALSE(runner.Failed()) << runner.Error();
    EXPECT_EQ(answer, IDOK);
    std::vector<WPARAM> expected{MAKEWPARAM(22, BN_CLICKED), MAKEWPARAM(21, BN_CLICKED)};
    EXPECT_EQ(commands, expected);
}

}  // namespace
