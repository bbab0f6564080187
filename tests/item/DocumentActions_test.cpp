// What a hold opens and what its commands do: the context menu's lines,
// opening with the verb of the document's kind, browsing its folder,
// deleting after the question, and starting the options program.
#include "item_user.h"

namespace {

using item_testing::Click;
using item_testing::Hold;
using item_testing::ItemUserTest;
using item_testing::Json;
using item_testing::RunSteps;
using item_testing::Step;
using item_testing::WindowTitled;

std::vector<Step> Then(std::vector<Step> first, std::initializer_list<Step> more) {
    first.insert(first.end(), more);
    return first;
}

std::vector<std::string> MenuLines(const Json &menu) {
    std::vector<std::string> lines;
    for (const Json &item : menu["items"])
        lines.push_back(item.value("separator", false) ? "-" : item.value("text", ""));
    return lines;
}

using ActionsTest = ItemUserTest;

TEST_F(ActionsTest, AHoldOnADocumentOffersSixLinesAndOnEmptySpaceTwo) {
    AddDocuments({"Report.psw"});
    Grid(2, 4);
    ShowItem();
    EXPECT_TRUE(RunSteps(Then(Hold(CellCenter(0, 0)), {[] { Click(u"Browse"); }})));
    EXPECT_TRUE(RunSteps(Then(Hold(CellCenter(0, 1)), {[] { Click(u"Browse"); }})));  // no document there
    std::vector<Json> menus = Events("TrackPopupMenu");
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(MenuLines(menus[0]),
              (std::vector<std::string>{"Open", "Rename...", "Delete", "-", "Browse", "Options..."}));
    std::vector<unsigned> ids;
    for (const Json &item : menus[0]["items"]) ids.push_back(item.value("id", 0u));
    EXPECT_EQ(ids, (std::vector<unsigned>{5001, 5002, 5003, 0, 5004, 5005}));
    EXPECT_EQ(MenuLines(menus[1]), (std::vector<std::string>{"Browse", "Options..."}));

    // Browse without a document shows the configured folder.
    std::vector<Json> shown = Events("ShellExecuteEx");
    ASSERT_EQ(shown.size(), 2u);
    for (const Json &e : shown) {
        EXPECT_EQ(e.value("file", ""), "\\Windows\\fexplore.exe");
        EXPECT_EQ(e.value("verb", ""), "open");
        EXPECT_EQ(e.value("parameters", ""), "\\My Documents");
        EXPECT_EQ(e.value("directory", ""), "\\My Documents");
        EXPECT_EQ(e.value("show", 0), SW_SHOWNORMAL);
    }
}

TEST_F(ActionsTest, BrowseShowsTheSubfolderADocumentLiesIn) {
    AddDocuments({"Work\\Plan.txt"});
    SetSetting(u"Subfolders", 1);
    Grid(2, 4);
    ShowItem();
    EXPECT_TRUE(RunSteps(Then(Hold(CellCenter(0, 0)), {[] { Click(u"Browse"); }})));
    std::vector<Json> shown = Events("ShellExecuteEx");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].value("parameters", ""), "\\My Documents\\Work");
    EXPECT_EQ(shown[0].value("directory", ""), "\\My Documents\\Work");
}

TEST_F(ActionsTest, OpenUsesTheVerbOfTheDocumentsKind) {
    // One column, every file: the documents in name order.
    AddDocuments({"Letter.doc", "Memo.wav", "Notes.pwi", "README", "Report.TXT", "Sheet.pxl", "Story.psw", "Tune.mp3"});
    SetSetting(u"ShowAll", 1);
    Grid(1, 8);
    ShowItem();
    const struct {
        const char *file;
        const char *verb;
    } rows[] = {{"Letter.doc", "open"},    {"Memo.wav", "open"},     {"Notes.pwi", "opendoc"}, {"README", "open"},
                {"Report.TXT", "opendoc"}, {"Sheet.pxl", "opendoc"}, {"Story.psw", "opendoc"}, {"Tune.mp3", "open"}};
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_TRUE(RunSteps(Then(Hold(CellCenter(static_cast<int>(i), 0)), {[] { Click(u"Open"); }}))) << "row " << i;
    std::vector<Json> opened = Events("ShellExecuteEx");
    ASSERT_EQ(opened.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(opened[i].value("file", ""), std::string("\\My Documents\\") + rows[i].file) << "row " << i;
        EXPECT_EQ(opened[i].value("verb", ""), rows[i].verb) << "row " << i;
        EXPECT_EQ(opened[i].value("show", -1), 0) << "row " << i;
    }
}

TEST_F(ActionsTest, DeleteAsksFirstAndKeepsTheFileOnNo) {
    AddDocuments({"Report.psw", "Summary.psw"});
    Grid(2, 4);
    ShowItem();
    EXPECT_TRUE(RunSteps(Then(Hold(CellCenter(0, 0)), {[] { Click(u"Delete"); }, [] { Click(u"No"); }})));
    EXPECT_TRUE(DocumentExists("Report.psw"));
    EXPECT_TRUE(Events("DeleteFile").empty());
    EXPECT_TRUE(RunSteps(Then(Hold(CellCenter(0, 0)), {[] { Click(u"Delete"); }, [] { Click(u"Yes"); }})));
    EXPECT_FALSE(DocumentExists("Report.psw"));
    EXPECT_TRUE(DocumentExists("Summary.psw"));

    std::vector<Json> asked = Events("MessageBox");
    ASSERT_EQ(asked.size(), 2u);
    for (const Json &box : asked) {
        EXPECT_EQ(box.value("text", ""), "Are you sure you want to delete 'Report'?");
        EXPECT_EQ(box.value("caption", ""), "Confirm File Delete");
        EXPECT_EQ(box.value("type", 0u), 0x24u);
    }
    EXPECT_EQ(asked[0].value("answer", 0), IDNO);
    EXPECT_EQ(asked[1].value("answer", 0), IDYES);
    std::vector<Json> deleted = Events("DeleteFile");
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].value("path", ""), "\\My Documents\\Report.psw");
    // The shell's change notification takes the document off the grid.
    EXPECT_TRUE(PumpUntil([&] {
        SendMessageW(item, WM_TODAYCUSTOM_RECEIVEDSELECTION, VK_DOWN, 0);
        SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0);
        return LastOpened() == "\\My Documents\\Summary.psw";
    }));
}

TEST_F(ActionsTest, ACommandActsOnlyOnTheDocumentTheMenuWasOpenedFor) {
    // While the menu is open the first document goes away and the catalogue
    // is taken again: its index now names another document, which must be
    // left alone.
    AddDocuments({"a.txt", "b.txt", "c.txt"});
    Grid(1, 4);
    ShowItem();
    ASSERT_EQ(ItemHeight(), 54u);
    auto removeFirst = [this] {
        std::filesystem::remove(device.Host("\\My Documents\\a.txt"));
        EXPECT_TRUE(PumpUntil([this] { return ItemHeight() == 36u; }));
    };
    for (const char16_t *command : {u"Open", u"Delete", u"Rename...", u"Browse"}) {
        AddDocuments({"a.txt"});
        ASSERT_TRUE(PumpUntil([this] { return ItemHeight() == 54u; }));
        EXPECT_TRUE(RunSteps(Then(Hold(CellCenter(0, 0)), {removeFirst, [command] { Click(command); }})));
    }
    EXPECT_TRUE(Events("ShellExecuteEx").empty());
    EXPECT_TRUE(Events("MessageBox").empty());
    EXPECT_EQ(WindowTitled(u"Document Name"), nullptr);
    EXPECT_TRUE(DocumentExists("b.txt"));
    EXPECT_TRUE(DocumentExists("c.txt"));
    // Options needs no document and still starts.
    device.WriteHostFile("\\Program Files\\Pelloran\\PelloranOptions.exe", "#!wince-link /bin/true\n");
    SetSetting(u"InstallDir", std::u16string(u"\\Program Files\\Pelloran"));
    AddDocuments({"a.txt"});
    ASSERT_TRUE(PumpUntil([this] { return ItemHeight() == 54u; }));
    EXPECT_TRUE(RunSteps(Then(Hold(CellCenter(0, 0)), {removeFirst, [] { Click(u"Options..."); }})));
    EXPECT_EQ(LastOpened(), "\\Program Files\\Pelloran\\PelloranOptions.exe");
}

TEST_F(ActionsTest, OptionsStartsTheProgramNamedByInstallDir) {
    AddDocuments({"Report.psw"});
    Grid(2, 4);
    RemoveSetting(u"InstallDir");
    ShowItem();
    // Without "InstallDir" nothing starts, and the value appears empty.
    EXPECT_TRUE(RunSteps(Then(Hold(CellCenter(0, 0)), {[] { Click(u"Options..."); }})));
    EXPECT_TRUE(Events("ShellExecuteEx").empty());
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Varnhold\\Pelloran", 0, 0, &key), ERROR_SUCCESS);
    WCHAR value[8] = u"x";
    DWORD size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, u"InstallDir", nullptr, nullptr, reinterpret_cast<BYTE *>(value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(value), u"");
    RegCloseKey(key);

    device.WriteHostFile("\\Program Files\\Pelloran\\PelloranOptions.exe", "#!wince-link /bin/true\n");
    SetSetting(u"InstallDir", std::u16string(u"\\Program Files\\Pelloran"));
    EXPECT_TRUE(RunSteps(Then(Hold(CellCenter(0, 0)), {[] { Click(u"Options..."); }})));
    std::vector<Json> started = Events("ShellExecuteEx");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].value("file", ""), "\\Program Files\\Pelloran\\PelloranOptions.exe");
    EXPECT_EQ(started[0].value("verb", ""), "open");
    EXPECT_EQ(started[0].value("parameters", "?"), "");
    EXPECT_EQ(started[0].value("show", -1), 0);
}

TEST_F(ActionsTest, ADismissedMenuDoesNothing) {
    AddDocuments({"Report.psw"});
    Grid(2, 4);
    ShowItem();
    EXPECT_TRUE(RunSteps(Then(Hold(CellCenter(0, 0)), {[] { item_testing::Tap(POINT{200, 300}); }})));
    std::vector<Json> menus = Events("TrackPopupMenu");
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].value("answer", 1), 0);
    EXPECT_TRUE(Events("ShellExecuteEx").empty());
    EXPECT_TRUE(DocumentExists("Report.psw"));
}

}  // namespace
