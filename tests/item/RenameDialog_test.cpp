// "Rename..." from the context menu: the "Document Name" dialog, the names
// it refuses with their messages, and the move of the file it allows.
#include "controls/input_panel_keys.h"
#include "item_user.h"
#include "window/message_queue.h"
#include "window/screen_size.h"

namespace {

using item_testing::Chars;
using item_testing::Click;
using item_testing::Hold;
using item_testing::ItemUserTest;
using item_testing::Json;
using item_testing::RunSteps;
using item_testing::Step;
using item_testing::WindowTitled;

const std::string kBadCharacters = "A file name cannot contain any of the following characters:\n\\/:*?\"<>|";

std::string Exists(const std::string &name) {
    return "Cannot rename '" + name +
           "':\n\nA file with name you specified already exist. Specify a different file name.";
}

// A tap on the input panel's key with this label, as it is labelled then.
Step PanelKey(const std::u16string &label) {
    return [label] {
        HWND panel = FindWindowW(u"SipWndClass", nullptr);
        ASSERT_NE(panel, nullptr);
        ASSERT_TRUE(IsWindowVisible(panel));
        RECT client, window;
        GetClientRect(panel, &client);
        GetWindowRect(panel, &window);
        RECT key = wince::InputPanelKeyRect(label, SIZE{client.right, client.bottom});
        ASSERT_FALSE(IsRectEmpty(&key));
        item_testing::Tap(POINT{window.left + (key.left + key.right) / 2, window.top + (key.top + key.bottom) / 2});
    };
}

std::u16string EditText(HWND dialog) {
    WCHAR text[300] = {};
    GetDlgItemTextW(dialog, 1001, text, 300);
    return text;
}

class RenameTest : public ItemUserTest {
   protected:
    void SetUp() override {
        ItemUserTest::SetUp();
        // In name order: 100%s%d.psw, Other.psw, Report.psw in the last row.
        AddDocuments({"Other.psw", "Report.psw", "100%s%d.psw"});
        std::filesystem::create_directories(device.Host("\\My Documents\\Archive.psw"));
        Grid(1, 4);
    }
    // Holds Report.psw and chooses "Rename...", then the steps.
    bool Rename(std::initializer_list<Step> steps) {
        std::vector<Step> all = Hold(CellCenter(2, 0));
        all.push_back([] { Click(u"Rename..."); });
        all.insert(all.end(), steps);
        return RunSteps(all);
    }
};

TEST_F(RenameTest, TheDialogOffersTheNameWithoutExtensionSelected) {
    ShowItem();
    HWND dialog = nullptr;
    EXPECT_TRUE(Rename({[&] {
                            dialog = WindowTitled(u"Document Name");
                            ASSERT_NE(dialog, nullptr);
                            HWND edit = GetDlgItem(dialog, 1001);
                            EXPECT_EQ(EditText(dialog), u"Report");
                            DWORD from = 99, to = 99;
                            SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                                         reinterpret_cast<LPARAM>(&to));
                            EXPECT_EQ(from, 0u);
                            EXPECT_EQ(to, 6u);
                            EXPECT_EQ(GetFocus(), edit);
                            EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(edit, GWL_STYLE)), 0x50810080u);
                            EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 260);
                            HWND sip = GetDlgItem(dialog, 0xFFFF);
                            ASSERT_NE(sip, nullptr);
                            WCHAR cls[16];
                            GetClassNameW(sip, cls, 16);
                            EXPECT_EQ(std::u16string(cls), u"SIPPREF");
                            EXPECT_FALSE(IsWindowVisible(sip));
                            EXPECT_FALSE(IsWindowEnabled(host)) << "modal over the Today screen";
                        },
                        [] { Click(u"Cancel"); }}));
    EXPECT_EQ(WindowTitled(u"Document Name"), nullptr);
    EXPECT_TRUE(Events("MoveFile").empty());
    EXPECT_TRUE(Events("MessageBox").empty());
}

TEST_F(RenameTest, RefusedNamesSayWhyAndKeepTheDialogOpen) {
    const struct {
        const char16_t *typed;
        std::string message;
    } rows[] = {
        {u"   ", "You must type a file name."},
        {u"\u00a0 \u00a0", "You must type a file name."},  // no-break spaces are spaces too
        {u"a*b", kBadCharacters},
        {u"a\\b", kBadCharacters},
        {u"a/b", kBadCharacters},
        {u"a?b", kBadCharacters},
        {u"a<b", kBadCharacters},
        {u"a>b", kBadCharacters},
        {u"a:b", kBadCharacters},
        {u"a\"b", kBadCharacters},
        {u"a|b", kBadCharacters},
        {u"..\\..\\x", kBadCharacters},
        {u"Other", Exists("Other")},      // another document
        {u"Report", Exists("Report")},    // its own name
        {u"REPORT", Exists("REPORT")},    // its own name in other letters
        {u" Other ", Exists("Other")},    // trimmed before the test
        {u"Archive", Exists("Archive")},  // a folder has the name
        {u"100%s%d", Exists("100%s%d")},  // inserted as typed, never read as a format
    };
    ShowItem();
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        ForgetTrace();
        std::u16string typed = rows[i].typed;
        EXPECT_TRUE(Rename({[typed] { Chars(typed); }, [] { Click(u"OK"); }, [] { Click(u"OK"); },  // the message box's
                            [typed] {
                                HWND dialog = WindowTitled(u"Document Name");
                                ASSERT_NE(dialog, nullptr) << "the dialog stays open";
                                EXPECT_EQ(EditText(dialog), typed);
                            },
                            [] { Click(u"Cancel"); }}));
        std::vector<Json> boxes = Events("MessageBox");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].value("text", ""), rows[i].message);
        EXPECT_EQ(boxes[0].value("caption", ""), "Error Renaming File");
        EXPECT_EQ(boxes[0].value("type", 0u), unsigned(MB_OK | MB_ICONHAND));
        EXPECT_TRUE(Events("MoveFile").empty());
        EXPECT_TRUE(DocumentExists("Report.psw"));
    }
}

TEST_F(RenameTest, AcceptedNamesMoveTheFileAndKeepItsExtension) {
    const struct {
        const char16_t *typed;
        const char *result;
    } rows[] = {
        {u"Summary", "Summary.psw"},
        {u"  Summary \u00a0", "Summary.psw"},  // spaces around are dropped
        {u"Summary.txt", "Summary.txt.psw"},
        {u"Report.txt", "Report.txt.psw"},
        {u"100%s", "100%s.psw"},
        {u"R\u00e9sum\u00e9", "R\xc3\xa9sum\xc3\xa9.psw"},
    };
    ShowItem();
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        ForgetTrace();
        std::u16string typed = rows[i].typed;
        EXPECT_TRUE(Rename({[typed] { Chars(typed); }, [] { Click(u"OK"); }}));
        EXPECT_EQ(WindowTitled(u"Document Name"), nullptr);
        EXPECT_TRUE(Events("MessageBox").empty());
        std::vector<Json> moves = Events("MoveFile");
        ASSERT_EQ(moves.size(), 1u);
        EXPECT_EQ(moves[0].value("from", ""), "\\My Documents\\Report.psw");
        EXPECT_EQ(moves[0].value("to", ""), std::string("\\My Documents\\") + rows[i].result);
        EXPECT_TRUE(moves[0].value("result", false));
        EXPECT_FALSE(DocumentExists("Report.psw"));
        EXPECT_TRUE(DocumentExists(rows[i].result));
        // Back for the next row; the item follows both moves.
        std::filesystem::rename(device.Host(std::string("\\My Documents\\") + rows[i].result),
                                device.Host("\\My Documents\\Report.psw"));
        ASSERT_TRUE(PumpUntil([this] {
            SendMessageW(item, WM_TODAYCUSTOM_RECEIVEDSELECTION, VK_UP, 0);  // the last row
            SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0);
            return LastOpened() == "\\My Documents\\Report.psw";
        }));
    }
}

TEST_F(RenameTest, CancelClosesWithoutAWord) {
    ShowItem();
    EXPECT_TRUE(Rename({[] { Chars(u"a*b"); }, [] { Click(u"Cancel"); }}));
    EXPECT_TRUE(Rename({[] { Chars(u"Summary"); }, [] { Click(u"Cancel"); }}));
    EXPECT_TRUE(Events("MessageBox").empty());
    EXPECT_TRUE(Events("MoveFile").empty());
    EXPECT_TRUE(DocumentExists("Report.psw"));
}

TEST_F(RenameTest, TheDialogSpeaksTheTranslation) {
    device.WriteHostFile("\\Program Files\\Pelloran\\localization.txt",
                         "Document Name|Nom du document\r\nCancel|Annuler\r\nRename...|Renommer...\r\n"
                         "You must type a file name.|Tapez un nom.\r\nError Renaming File|Erreur\r\n");
    ShowItem();
    EXPECT_TRUE(RunSteps({[this] { item_testing::Down(CellCenter(2, 0)); }, [] { item_testing::HoldTime(); },
                          [this] { item_testing::Up(CellCenter(2, 0)); }, [] { Click(u"Renommer..."); },
                          [] { EXPECT_NE(WindowTitled(u"Nom du document"), nullptr); }, [] { Chars(u"  "); },
                          [] { Click(u"OK"); }, [] { Click(u"OK"); }, [] { Click(u"Annuler"); }}));
    std::vector<Json> boxes = Events("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].value("text", ""), "Tapez un nom.");
    EXPECT_EQ(boxes[0].value("caption", ""), "Erreur");
}

TEST_F(RenameTest, TheInputPanelsKeysTypeTheNewName) {
    ShowItem();
    std::vector<Step> steps;
    for (const char16_t *key : {u"Shift", u"P", u"l", u"a", u"n", u"s", u"Bksp", u"space", u"2"})
        steps.push_back(PanelKey(key));
    steps.push_back([] { EXPECT_EQ(EditText(WindowTitled(u"Document Name")), u"Plan 2"); });
    steps.push_back(PanelKey(u"Enter"));
    std::vector<Step> all = Hold(CellCenter(2, 0));
    all.push_back([] { Click(u"Rename..."); });
    all.insert(all.end(), steps.begin(), steps.end());
    EXPECT_TRUE(RunSteps(all));
    EXPECT_EQ(WindowTitled(u"Document Name"), nullptr);
    EXPECT_TRUE(DocumentExists("Plan 2.psw"));
    EXPECT_FALSE(DocumentExists("Report.psw"));
}

}  // namespace

class RenamePlacementTest : public ItemUserTest {};

TEST_F(RenamePlacementTest, OnALandscapeScreenTheDialogMovesUpUnderTheTitleBand) {
    const struct {
        int width, height, dpi;
        POINT report;  // Report.psw, the third row of one column
        int top;       // -1: left where the platform centred it
    } rows[] = {
        {240, 320, 96, {100, 44}, -1},
        {240, 240, 96, {100, 44}, -1},
        {320, 240, 96, {100, 44}, 27},
        {640, 480, 192, {200, 88}, 54},
    };
    // Portrait first: the input panel keeps the place it had on the last
    // screen when the device changes its screen.
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        testing_support::WriteProfile(device.Root(), "[screen]\nwidth = " + std::to_string(rows[i].width) +
                                                         "\nheight = " + std::to_string(rows[i].height) +
                                                         "\ndpi_x = " + std::to_string(rows[i].dpi) +
                                                         "\ndpi_y = " + std::to_string(rows[i].dpi) +
                                                         "\n[os]\nversion = 5.1\nplatform = PocketPC\n");
        AddDocuments({"Other.psw", "Report.psw", "100.psw"});
        Grid(1, 4);
        ShowItem();
        SetWindowPos(host, nullptr, 0, 0, rows[i].width, rows[i].height, SWP_NOZORDER);
        SetWindowPos(item, nullptr, 0, 0, rows[i].width, static_cast<int>(ItemHeight()), SWP_NOZORDER);
        UpdateWindow(item);
        // The real font, so that the dialog fits the narrow screens.
        RECT placed{}, screen{0, 0, rows[i].width, rows[i].height};
        std::vector<Step> steps = Hold(rows[i].report);
        steps.push_back([] { Click(u"Rename..."); });
        steps.push_back([&] {
            HWND dialog = WindowTitled(u"Document Name");
            ASSERT_NE(dialog, nullptr);
            GetWindowRect(dialog, &placed);
            EXPECT_EQ(EditText(dialog), u"Report");
        });
        steps.push_back([] { Click(u"Cancel"); });
        EXPECT_TRUE(RunSteps(steps));
        if (rows[i].top >= 0)
            EXPECT_EQ(placed.top, rows[i].top);
        else
            EXPECT_EQ(placed.top, (screen.bottom - (placed.bottom - placed.top)) / 2);
    }
}

// The dialog is placed again when the screen turns under it: moved up under
// the title band in landscape, centred again in portrait.
TEST_F(RenamePlacementTest, ATurnOfTheScreenPlacesTheDialogAgain) {
    testing_support::WriteProfile(device.Root(), "[screen]\nwidth = 240\nheight = 320\ndpi_x = 96\ndpi_y = 96\n"
                                                 "[os]\nversion = 5.1\nplatform = PocketPC\n");
    AddDocuments({"Other.psw", "Report.psw", "100.psw"});
    Grid(1, 4);
    ShowItem();
    RECT portrait{}, landscape{}, back{};
    auto placed = [](RECT *r) {
        return [r] {
            HWND dialog = WindowTitled(u"Document Name");
            ASSERT_NE(dialog, nullptr);
            GetWindowRect(dialog, r);
        };
    };
    std::vector<Step> steps = Hold(POINT{100, 44});
    steps.push_back([] { Click(u"Rename..."); });
    steps.push_back(placed(&portrait));
    steps.push_back([] { ASSERT_TRUE(wince::RotateScreen()); });
    steps.push_back(placed(&landscape));
    steps.push_back([] { ASSERT_TRUE(wince::RotateScreen()); });
    steps.push_back(placed(&back));
    steps.push_back([] { Click(u"Cancel"); });
    EXPECT_TRUE(RunSteps(steps));
    int w = portrait.right - portrait.left, h = portrait.bottom - portrait.top;
    EXPECT_EQ(portrait.top, (320 - h) / 2);
    EXPECT_EQ(landscape.left, (320 - w) / 2);
    EXPECT_EQ(landscape.top, 27);
    EXPECT_EQ(back.left, portrait.left);
    EXPECT_EQ(back.top, portrait.top);
}
