// Taps in the item: a document opens on a down and up on the same cell, a
// tap takes the Today selection, the folder icon starts the options program.
#include "item_user.h"
#include "window/message_queue.h"

namespace {

using item_testing::Down;
using item_testing::ItemUserTest;
using item_testing::Json;
using item_testing::Move;
using item_testing::Tap;
using item_testing::Up;

class StylusTest : public ItemUserTest {
   protected:
    void SetUp() override {
        ItemUserTest::SetUp();
        AddNumberedDocuments(5);
        Grid(2, 4);
        device.WriteHostFile("\\Program Files\\Pelloran\\PelloranOptions.exe", "#!wince-link /bin/true\n");
        SetSetting(u"InstallDir", std::u16string(u"\\Program Files\\Pelloran"));
    }
    std::vector<std::string> Opened() {
        std::vector<std::string> files;
        for (const Json &e : Events("ShellExecuteEx")) files.push_back(e.value("file", ""));
        return files;
    }
};

TEST_F(StylusTest, ATapOpensTheDocumentUnderTheStylusOnce) {
    ShowItem();
    Tap(CellCenter(1, 1));
    wince::PumpReadyMessages();
    EXPECT_EQ(Opened(), std::vector<std::string>{"\\My Documents\\d04.txt"});
    // The tap took the Today selection for the item, once.
    Tap(CellCenter(0, 0));
    wince::PumpReadyMessages();
    EXPECT_EQ(Opened(), (std::vector<std::string>{"\\My Documents\\d04.txt", "\\My Documents\\d01.txt"}));
    size_t took = 0;
    for (const auto &m : hostMessages)
        if (m.message == TODAYM_TOOKSELECTION) {
            ++took;
            EXPECT_EQ(m.wParam, reinterpret_cast<WPARAM>(item));
        }
    EXPECT_EQ(took, 1u);
    // The tapped document is the selected one.
    SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0);
    EXPECT_EQ(LastOpened(), "\\My Documents\\d01.txt");
}

TEST_F(StylusTest, LiftingTheStylusElsewhereOpensNothing) {
    const struct {
        POINT down, move, up;
    } rows[] = {
        {CellCenter(0, 0), {-1, -1}, CellCenter(0, 1)},          // up on another document
        {CellCenter(0, 0), CellCenter(1, 0), CellCenter(1, 0)},  // dragged to another
        {CellCenter(0, 0), {-1, -1}, CellCenter(2, 1)},          // up on an empty cell
        {CellCenter(2, 1), {-1, -1}, CellCenter(2, 1)},          // a tap on empty space
        {POINT{20, 30}, {-1, -1}, POINT{20, 30}},                // left of the first column
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        ShowItem();
        Down(rows[i].down);
        if (rows[i].move.x >= 0) Move(rows[i].move);
        Up(rows[i].up);
        wince::PumpReadyMessages();
        EXPECT_TRUE(Opened().empty()) << "row " << i;
    }
}

TEST_F(StylusTest, ATapOnEmptySpaceSelectsTheRememberedCell) {
    const struct {
        int remembered;  // cells moved right before the selection left; -1 none
        const char *selected;
    } rows[] = {{-1, "d01.txt"}, {3, "d04.txt"}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        ShowItem();
        if (rows[i].remembered >= 0) {
            SendMessageW(item, WM_TODAYCUSTOM_RECEIVEDSELECTION, VK_DOWN, 0);
            for (int k = 0; k < rows[i].remembered; ++k) SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT, 0);
            SendMessageW(item, WM_TODAYCUSTOM_LOSTSELECTION, 0, 0);
        }
        Tap(CellCenter(2, 1));  // the empty cell after the fifth document
        wince::PumpReadyMessages();
        EXPECT_TRUE(Opened().empty()) << "row " << i;
        SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0);
        EXPECT_EQ(LastOpened(), std::string("\\My Documents\\") + rows[i].selected) << "row " << i;
        ForgetTrace();
    }
}

// Nine documents in four rows of two, scrolled by one row: the screen shows
// d03 to d09, and its last cell holds no document.
TEST_F(StylusTest, ATapBeyondTheLastDocumentOfAScrolledGridChangesNothing) {
    AddNumberedDocuments(9);  // d01 to d09, over the five of SetUp
    ShowItem();
    Tap(POINT{232, 65});  // the strip's down arrow: one row on
    wince::PumpReadyMessages();
    SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT, 0);  // the second cell: d04
    const struct {
        int row, column;
        std::vector<std::string> opened;  // by the tap, then by the action key
    } rows[] = {
        {3, 1, {"\\My Documents\\d04.txt"}},                             // the empty last cell
        {3, 0, {"\\My Documents\\d09.txt", "\\My Documents\\d09.txt"}},  // the last document
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        ForgetTrace();
        Tap(CellCenter(rows[i].row, rows[i].column, true));
        wince::PumpReadyMessages();
        SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0);
        EXPECT_EQ(Opened(), rows[i].opened) << "row " << i;
    }
}

TEST_F(StylusTest, TheFolderIconStartsTheOptionsProgramOutsideATabHost) {
    const struct {
        bool tabHost;
        POINT down, up;
        bool starts;
    } rows[] = {
        {false, {8, 8}, {8, 8}, true},    {false, {1, 1}, {16, 16}, true},  // the zone's corners
        {false, {8, 8}, {17, 8}, false},                                    // lifted just right of it
        {false, {8, 8}, {8, 17}, false},                                    // lifted just below it
        {false, {8, 8}, {150, 8}, false},                                   // lifted on a document
        {false, {0, 8}, {0, 8}, false},                                     // left of the zone
        {true, {8, 8}, {8, 8}, false},                                      // a tab host shows no folder icon
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Unload();
        ASSERT_TRUE(Load());
        record = TODAYLISTITEM{};
        record.fEnabled = TRUE;
        item = CreateItem(record, rows[i].tabHost);
        ASSERT_NE(item, nullptr);
        SetWindowPos(item, nullptr, 0, 0, 240, 54, SWP_NOZORDER);
        UpdateWindow(item);
        wince::PumpReadyMessages();
        ForgetTrace();
        Down(rows[i].down);
        Up(rows[i].up);
        wince::PumpReadyMessages();
        std::vector<std::string> expected;
        if (rows[i].starts) expected.push_back("\\Program Files\\Pelloran\\PelloranOptions.exe");
        EXPECT_EQ(Opened(), expected) << "row " << i;
    }
}

}  // namespace
