// The scroll strip under the stylus at 96 dots per inch, two columns and
// four rows (an item 72 high, the strip at x 225 to 240): arrows and pages
// that repeat every 100 ms while held, and the thumb following a drag. The
// first visible row is seen through the action key, which opens the
// document of the selected cell 0: row r shows document 2r + 1 there.
#include "item_user.h"
#include "window/clock.h"
#include "window/message_queue.h"
#include "window/timers.h"

namespace {

using item_testing::Down;
using item_testing::ItemUserTest;
using item_testing::Move;
using item_testing::Up;

constexpr int kStripX = 232;  // the middle of the strip

class StripTest : public ItemUserTest {
   protected:
    void Show(int documents) {
        AddNumberedDocuments(documents);
        Grid(2, 4);
        ShowItem();
        ASSERT_EQ(ItemHeight(), 72u);
    }
    // The first visible row, from the document in cell 0.
    int FirstRow() {
        SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0);
        std::string file = LastOpened();
        int number = std::stoi(file.substr(file.rfind('d') + 1, 2));
        return (number - 1) / 2;
    }
    void Press(int y) {
        Down(POINT{kStripX, y});
        wince::PumpReadyMessages();
    }
    void Release(int y) {
        Up(POINT{kStripX, y});
        wince::PumpReadyMessages();
    }
    void Tick() {
        wince::Clock::Advance(100);
        wince::PumpReadyMessages();
    }
    bool RepeatRunning() { return wince::NextTimerDue().has_value(); }
};

TEST_F(StripTest, TheDownArrowScrollsOneRowAndTheRepeatStopsAtTheEnd) {
    Show(9);  // five rows, four shown: the last row is 1
    Press(65);
    EXPECT_EQ(GetCapture(), item);
    EXPECT_TRUE(RepeatRunning());
    Tick();  // no row left: the repeat stops, the stylus stays captured
    EXPECT_FALSE(RepeatRunning());
    EXPECT_EQ(GetCapture(), item);
    Release(65);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(FirstRow(), 1);
    EXPECT_TRUE(Events("ShellExecuteEx").size() == 1) << "the strip opens no document";
}

TEST_F(StripTest, AnArrowAtTheEndOfTheRangeDoesNothing) {
    Show(9);
    Press(6);  // the up arrow at the first row
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(RepeatRunning());
    Release(6);
    EXPECT_EQ(FirstRow(), 0);
}

TEST_F(StripTest, APressBesideTheThumbPagesUntilTheEnd) {
    Show(20);   // ten rows, four shown; the thumb is 18 long
    Press(50);  // below the thumb (13 to 31), above the down arrow
    EXPECT_EQ(FirstRow(), 4);
    Tick();
    EXPECT_EQ(FirstRow(), 6) << "the last page stops at the last row";
    EXPECT_TRUE(RepeatRunning());
    Tick();
    EXPECT_FALSE(RepeatRunning());
    Release(50);
    // The thumb is now at 41 to 59: a press above it pages back.
    Press(20);
    EXPECT_EQ(FirstRow(), 2);
    Tick();
    EXPECT_EQ(FirstRow(), 0);
    Release(20);
    EXPECT_FALSE(RepeatRunning());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(StripTest, TheThumbFollowsADrag) {
    Show(9);  // the thumb is 36 long, from 13
    Press(20);
    EXPECT_EQ(GetCapture(), item);
    EXPECT_FALSE(RepeatRunning());
    const struct {
        int y;
        int firstRow;
    } moves[] = {{30, 1}, {25, 0}, {300, 1}, {0, 0}, {30, 1}};
    for (size_t i = 0; i < std::size(moves); ++i) {
        Move(POINT{kStripX, moves[i].y});
        wince::PumpReadyMessages();
        EXPECT_EQ(FirstRow(), moves[i].firstRow) << "move " << i;
    }
    Release(30);
    EXPECT_EQ(GetCapture(), nullptr);
    // After the release moves change nothing.
    Move(POINT{kStripX, 14});
    wince::PumpReadyMessages();
    EXPECT_EQ(FirstRow(), 1);
}

TEST_F(StripTest, WithoutAStripTheRightEdgeIsPartOfTheGrid) {
    Show(8);  // everything fits
    Down(POINT{kStripX, 26});
    Up(POINT{kStripX, 26});
    wince::PumpReadyMessages();
    EXPECT_EQ(LastOpened(), "\\My Documents\\d04.txt");
}

}  // namespace
