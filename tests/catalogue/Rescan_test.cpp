// The scan: kinds and patterns, names, the templates rule, the root folder,
// growth, order, the selection carried over and the repaint rule.
#include "catalogue/Rescan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "catalogue/Refresh.h"
#include "core/unicode.h"
#include "item/ItemWindow.h"
#include "scan_fixture.h"
#include "window/clock.h"
#include "window/message_queue.h"

namespace {

class RescanTest : public catalogue_testing::ScanTest {
   protected:
    void Files(std::initializer_list<const char *> paths) {
        for (const char *p : paths) device.WriteHostFile(std::string("\\My Documents\\") + p, "data");
    }
    std::set<std::string> ListedSet() {
        auto v = Listed();
        return std::set<std::string>(v.begin(), v.end());
    }
};

TEST_F(RescanTest, KindsChooseThePatterns) {
    Files({"a.txt", "b.psw", "c.doc", "d.pxl", "e.pwi", "f.wav", "g.jpg", "README"});
    const struct {
        bool all, text, word, excel, notes;
        std::set<std::string> names;
    } rows[] = {
        {true, false, false, false, false, {"a.txt", "b.psw", "c.doc", "d.pxl", "e.pwi", "f.wav", "g.jpg", "README"}},
        {false, true, false, false, true, {"a.txt", "e.pwi", "f.wav"}},
        {false, false, true, false, false, {"b.psw", "c.doc"}},
        {false, false, false, true, false, {"d.pxl"}},
        {false, false, false, false, false, {}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        FolderSettings &s = itemWindow.settings;
        s.SetShowAll(rows[i].all), s.SetShowText(rows[i].text), s.SetShowPocketWord(rows[i].word);
        s.SetShowPocketExcel(rows[i].excel), s.SetShowNotes(rows[i].notes);
        Rescan(window);
        std::set<std::string> expected;
        for (const auto &n : rows[i].names) expected.insert("\\My Documents\\" + n);
        EXPECT_EQ(ListedSet(), expected) << "row " << i;
        EXPECT_EQ(Listed().size(), expected.size()) << "row " << i << ": each file once";
    }
}

TEST_F(RescanTest, NamesSplitAtTheLastDot) {
    Files({"Report.final.psw", "README", ".hidden", "trailing."});
    itemWindow.settings.SetShowAll(true);
    Rescan(window);
    std::set<std::pair<std::u16string, std::u16string>> got;
    for (int i = 0; i < itemWindow.catalogue.Count(); ++i)
        got.insert({itemWindow.catalogue.Entry(i)->name, itemWindow.catalogue.Entry(i)->extension});
    std::set<std::pair<std::u16string, std::u16string>> expected{
        {u"Report.final", u".psw"}, {u"README", u""}, {u"", u".hidden"}, {u"trailing", u"."}};
    EXPECT_EQ(got, expected);
}

TEST_F(RescanTest, TemplatesAreLeftOutOnlyWhereAskedFor) {
    Files({"top.txt", "Templates\\t.txt", "Templates\\Deep\\d.txt", "Work\\Templates\\w.txt"});
    const struct {
        bool subfolders, noTemplates;
        std::set<std::string> names;
    } rows[] = {
        {true, true, {"top.txt", "Work\\Templates\\w.txt"}},
        {true, false, {"top.txt", "Templates\\t.txt", "Templates\\Deep\\d.txt", "Work\\Templates\\w.txt"}},
        {false, true, {"top.txt"}},
        {false, false, {"top.txt"}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        itemWindow.settings.SetSubfolders(rows[i].subfolders);
        itemWindow.settings.SetNoTemplates(rows[i].noTemplates);
        Rescan(window);
        std::set<std::string> expected;
        for (const auto &n : rows[i].names) expected.insert("\\My Documents\\" + n);
        EXPECT_EQ(ListedSet(), expected) << "row " << i;
    }
    // The templates folder itself configured: nothing, and the poll starts.
    itemWindow.settings.SetFolder(u"\\My Documents\\Templates");
    itemWindow.settings.SetNoTemplates(true);
    Rescan(window);
    EXPECT_EQ(itemWindow.catalogue.Count(), 0);
    EXPECT_TRUE(itemWindow.folderAttributes & FILE_ATTRIBUTE_DIRECTORY);
    paints = 0;
    wince::Clock::Advance(1000);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.wParam, FolderPollTimer);
}

TEST_F(RescanTest, TheRootFolderIsJoinedWithoutASecondBackslash) {
    device.WriteHostFile("\\root.txt", "x");
    device.WriteHostFile("\\Windows\\win.txt", "x");
    itemWindow.settings.SetFolder(u"\\");
    itemWindow.settings.SetSubfolders(true);
    Rescan(window);
    std::set<std::string> got = ListedSet();
    EXPECT_TRUE(got.count("\\root.txt"));
    EXPECT_TRUE(got.count("\\Windows\\win.txt"));
    EXPECT_EQ(itemWindow.catalogue.Entry(0)->folder.find(u"\\\\"), std::u16string::npos);
}

TEST_F(RescanTest, TheArrayGrowsBy32AndNeverShrinks) {
    for (int i = 0; i < 33; ++i) device.WriteHostFile("\\My Documents\\doc" + std::to_string(i) + ".txt", "x");
    int before = itemWindow.catalogue.Capacity();
    Rescan(window);
    EXPECT_EQ(itemWindow.catalogue.Count(), 33);
    EXPECT_EQ(itemWindow.catalogue.Capacity(), std::max(before, 64));
    for (int i = 3; i < 33; ++i)
        std::filesystem::remove(device.Host("\\My Documents\\doc" + std::to_string(i) + ".txt"));
    Rescan(window);
    EXPECT_EQ(itemWindow.catalogue.Count(), 3);
    EXPECT_EQ(itemWindow.catalogue.Capacity(), std::max(before, 64));
}

TEST_F(RescanTest, SortedByNameIgnoringCase) {
    Files({"beta.txt", "Alpha.psw", "alpha.doc", "Zed.txt", "middle.pxl"});
    Rescan(window);
    std::vector<std::u16string> names;
    for (int i = 0; i < itemWindow.catalogue.Count(); ++i) names.push_back(itemWindow.catalogue.Entry(i)->name);
    ASSERT_EQ(names.size(), 5u);
    EXPECT_EQ(wince::EqualsIgnoreCase(names[0], u"alpha") && wince::EqualsIgnoreCase(names[1], u"alpha"), true);
    EXPECT_EQ(names[2], u"beta");
    EXPECT_EQ(names[3], u"middle");
    EXPECT_EQ(names[4], u"Zed");
}

TEST_F(RescanTest, TheSelectionIsCarriedOverAsACell) {
    Files({"1.txt", "2.txt", "3.txt", "4.txt", "5.txt"});
    const struct { int selected, expected; } rows[] = {{7, 4}, {2, 2}, {-1, -1}, {4, 4}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        itemWindow.selectedCell = rows[i].selected;
        Rescan(window);
        EXPECT_EQ(itemWindow.selectedCell, rows[i].expected) << "row " << i;
        EXPECT_EQ(itemWindow.rememberedCell, rows[i].expected) << "row " << i;
    }
    itemWindow.settings.SetFolder(u"\\Nowhere");
    itemWindow.selectedCell = 3;
    Rescan(window);
    EXPECT_EQ(itemWindow.selectedCell, -1);
    EXPECT_EQ(itemWindow.folderAttributes, INVALID_FILE_ATTRIBUTES);
}

TEST_F(RescanTest, RepaintsOnlyWhenTheCountChanged) {
    Files({"a.txt", "b.txt"});
    Rescan(window);
    EXPECT_EQ(paints, 1);
    std::filesystem::rename(device.Host("\\My Documents\\b.txt"), device.Host("\\My Documents\\c.txt"));
    Rescan(window);
    EXPECT_EQ(paints, 1) << "as many documents as before: the caller repaints";
    Files({"d.txt"});
    Rescan(window);
    EXPECT_EQ(paints, 2);
}

TEST_F(RescanTest, AMissingFolderIsPolledUntilItAppears) {
    itemWindow.settings.SetFolder(u"\\My Documents\\Later");
    Rescan(window);
    EXPECT_EQ(itemWindow.folderAttributes, INVALID_FILE_ATTRIBUTES);
    device.WriteHostFile("\\My Documents\\Later\\new.txt", "x");
    wince::Clock::Advance(1000);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE));
    PollFolder(window);
    EXPECT_EQ(itemWindow.catalogue.Count(), 1);
    wince::Clock::Advance(1000);
    EXPECT_FALSE(PeekMessageW(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE)) << "the poll stops";
}

TEST_F(RescanTest, OddNamesAndLargeFolders) {
    std::string longName(251, 'n');
    device.WriteHostFile("\\My Documents\\" + longName + ".txt", "x");
    std::filesystem::path raw = device.Host("\\My Documents");
    std::ofstream(raw / std::string("bad\xff\xfe.txt")) << "x";
    for (int i = 0; i < 2000; ++i) std::ofstream(raw / ("bulk" + std::to_string(i) + ".dat")) << "";
    itemWindow.settings.SetShowAll(true);
    Rescan(window);
    EXPECT_EQ(itemWindow.catalogue.Count(), 2002);
    bool sawBad = false, sawLong = false;
    for (int i = 0; i < itemWindow.catalogue.Count(); ++i) {
        DocumentEntry *e = itemWindow.catalogue.Entry(i);
        sawLong = sawLong || e->name.size() == 251;
        if (e->name == std::u16string(u"bad\xdcff\xdcfe")) {
            sawBad = true;
            EXPECT_NE(GetFileAttributesW(e->FullPath().c_str()), INVALID_FILE_ATTRIBUTES)
                << "the name reaches the file";
        }
    }
    EXPECT_TRUE(sawBad);
    EXPECT_TRUE(sawLong);
}

}  // namespace
