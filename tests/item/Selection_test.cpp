// The Today screen's selection in the item: where it arrives, how the keys
// move it, and the action key opening the selected document. The selected
// document is seen as the one the action key opens.
#include "item_user.h"

namespace {

using item_testing::ItemUserTest;

class SelectionTest : public ItemUserTest {
   protected:
    LRESULT Receive(WPARAM key) { return SendMessageW(item, WM_TODAYCUSTOM_RECEIVEDSELECTION, key, 0); }
    LRESULT Navigate(WPARAM key) { return SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, key, 0); }
    LRESULT Lose() { return SendMessageW(item, WM_TODAYCUSTOM_LOSTSELECTION, 0, 0); }
    // The document the action key opens now ("" for none), as dNN.
    std::string Selected() {
        size_t before = Events("ShellExecuteEx").size();
        EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0), TRUE);
        std::vector<item_testing::Json> after = Events("ShellExecuteEx");
        if (after.size() == before) return "";
        std::string file = after.back().value("file", "");
        return file.substr(file.rfind('\\') + 1, 3);
    }
    // Sets the remembered cell: handed in from above, moved right, lost.
    void Remember(int cell) {
        ASSERT_EQ(Receive(VK_DOWN), TRUE);
        for (int i = 0; i < cell; ++i) Navigate(VK_RIGHT);
        Lose();
    }
};

TEST_F(SelectionTest, TheSelectionArrivesWhereTheKeyComesFrom) {
    const struct {
        int documents;
        int remembered;  // -1: nothing remembered
        WPARAM key;
        LRESULT accepted;
        const char *selected;
    } rows[] = {
        {5, -1, VK_UP, TRUE, "d05"},                                  // alone in the last row
        {5, -1, VK_DOWN, TRUE, "d01"}, {5, -1, 0, TRUE, "d01"},       // a tap hands it over
        {8, -1, VK_UP, TRUE, "d07"},   {20, -1, VK_UP, TRUE, "d07"},  // the last visible row, not the last document
        {5, 1, VK_DOWN, TRUE, "d02"},  {6, 5, VK_DOWN, TRUE, "d01"},  // remembered below the first row
        {6, 5, VK_UP, TRUE, "d06"},    {6, 3, 0, TRUE, "d04"},       {0, -1, VK_UP, FALSE, ""},
        {0, -1, 0, FALSE, ""},         {5, -1, VK_LEFT, FALSE, ""},  {5, -1, VK_RIGHT, FALSE, ""},
        {5, -1, VK_RETURN, FALSE, ""},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        std::filesystem::remove_all(device.Host("\\My Documents"));
        std::filesystem::create_directories(device.Host("\\My Documents"));
        AddNumberedDocuments(rows[i].documents);
        Grid(2, 4);
        ShowItem();
        if (rows[i].remembered >= 0) Remember(rows[i].remembered);
        EXPECT_EQ(Receive(rows[i].key), rows[i].accepted);
        EXPECT_EQ(Selected(), rows[i].selected);
    }
}

TEST_F(SelectionTest, KeysMoveInsideTheItemAndLeaveOnlyUpAndDownAtTheEdges) {
    // Each row: the selection enters from above, then the keys in turn, with
    // the answer to each and the document selected at the end.
    const struct {
        int documents;
        std::vector<std::pair<WPARAM, LRESULT>> keys;
        const char *selected;
    } rows[] = {
        {5, {{VK_UP, FALSE}}, "d01"},   // up from the first row leaves
        {5, {{VK_LEFT, TRUE}}, "d01"},  // left at the first cell stays
        {5, {{VK_RIGHT, TRUE}}, "d02"},
        {5, {{VK_RIGHT, TRUE}, {VK_RIGHT, TRUE}}, "d03"},  // past the row's end to the next row
        {5, {{VK_DOWN, TRUE}, {VK_DOWN, TRUE}, {VK_DOWN, FALSE}}, "d05"},
        {5, {{VK_RIGHT, TRUE}, {VK_DOWN, TRUE}, {VK_DOWN, TRUE}}, "d05"},  // the cell below is empty: the last document
        {5, {{VK_DOWN, TRUE}, {VK_DOWN, TRUE}, {VK_RIGHT, TRUE}}, "d05"},  // right at the last document stays
        {5, {{VK_DOWN, TRUE}, {VK_UP, TRUE}, {VK_LEFT, TRUE}}, "d01"},
        {8, {{VK_DOWN, TRUE}, {VK_DOWN, TRUE}, {VK_DOWN, TRUE}, {VK_DOWN, FALSE}}, "d07"},
        {5, {{VK_ESCAPE, TRUE}}, "d01"},  // other keys are taken and do nothing
        // Twenty documents, eight cells: down stops at the last visible row,
        // right at the last visible document.
        {20, {{VK_DOWN, TRUE}, {VK_DOWN, TRUE}, {VK_DOWN, TRUE}, {VK_DOWN, FALSE}}, "d07"},
        {20, {{VK_DOWN, TRUE}, {VK_DOWN, TRUE}, {VK_DOWN, TRUE}, {VK_RIGHT, TRUE}, {VK_RIGHT, TRUE}}, "d08"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        std::filesystem::remove_all(device.Host("\\My Documents"));
        std::filesystem::create_directories(device.Host("\\My Documents"));
        AddNumberedDocuments(rows[i].documents);
        Grid(2, 4);
        ShowItem();
        ASSERT_EQ(Receive(VK_DOWN), TRUE);
        for (size_t k = 0; k < rows[i].keys.size(); ++k)
            EXPECT_EQ(Navigate(rows[i].keys[k].first), rows[i].keys[k].second) << "key " << k;
        EXPECT_EQ(Selected(), rows[i].selected);
    }
}

TEST_F(SelectionTest, LosingAndRegainingTheSelectionKeepsTheCell) {
    AddNumberedDocuments(6);
    Grid(2, 4);
    ShowItem();
    ASSERT_EQ(Receive(VK_DOWN), TRUE);
    Navigate(VK_DOWN);
    Navigate(VK_RIGHT);
    EXPECT_EQ(Lose(), TRUE);
    EXPECT_EQ(Selected(), "") << "nothing selected while the selection is elsewhere";
    // Without a selection Up and Down go on to the neighbours, the rest stay.
    EXPECT_EQ(Navigate(VK_UP), FALSE);
    EXPECT_EQ(Navigate(VK_DOWN), FALSE);
    EXPECT_EQ(Navigate(VK_LEFT), TRUE);
    EXPECT_EQ(Receive(0), TRUE);
    EXPECT_EQ(Selected(), "d04");
}

TEST_F(SelectionTest, TheActionKeyOpensTheSelectedDocumentOnce) {
    AddDocuments({"Report.psw"});
    ShowItem();
    EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0), TRUE);
    EXPECT_TRUE(Events("ShellExecuteEx").empty()) << "nothing is selected yet";
    ASSERT_EQ(Receive(VK_DOWN), TRUE);
    EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0), TRUE);
    std::vector<item_testing::Json> opened = Events("ShellExecuteEx");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].value("file", ""), "\\My Documents\\Report.psw");
    EXPECT_EQ(opened[0].value("verb", ""), "opendoc");
}

}  // namespace
