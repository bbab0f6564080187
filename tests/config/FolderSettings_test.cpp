// The settings record against a real device registry.
#include "config/FolderSettings.h"

#include <gtest/gtest.h>

#include "config/SettingsKeyPath.h"
#include "registry_values.h"
#include "temp_device.h"

namespace rv = registry_values;
using testing_support::DeviceTest;

namespace {

using FolderSettingsTest = DeviceTest;

TEST_F(FolderSettingsTest, FirstLoadOnAnEmptyRegistryWritesEveryDefault) {
    FolderSettings s;
    EXPECT_EQ(s.GetFolder(), u"\\My Documents");
    EXPECT_FALSE(s.GetSubfolders());
    EXPECT_TRUE(s.GetNoTemplates());
    EXPECT_EQ(s.GetRows(), 4);
    EXPECT_EQ(s.GetCols(), 2);
    EXPECT_FALSE(s.GetShowSize());
    EXPECT_FALSE(s.GetShowDate());
    EXPECT_TRUE(s.GetShowText());
    EXPECT_TRUE(s.GetShowPocketWord());
    EXPECT_TRUE(s.GetShowPocketExcel());
    EXPECT_TRUE(s.GetShowNotes());
    EXPECT_FALSE(s.GetShowAll());

    EXPECT_EQ(rv::ReadString(SettingsKeyPath, u"Folder"), u"\\My Documents");
    const struct {
        const char16_t *name;
        DWORD value;
    } dwords[] = {{u"Subfolders", 0}, {u"NoTemplates", 1}, {u"Rows", 4},           {u"Cols", 2},
                  {u"ShowSize", 0},   {u"ShowDate", 0},    {u"ShowText", 1},       {u"ShowPocketWord", 1},
                  {u"ShowPocketExcel", 1}, {u"ShowNotes", 1}, {u"ShowAll", 0}};
    for (size_t i = 0; i < std::size(dwords); ++i)
        EXPECT_EQ(rv::ReadDword(SettingsKeyPath, dwords[i].name), dwords[i].value) << "row " << i;
}

TEST_F(FolderSettingsTest, RowsAndColumnsAreClampedOnLoad) {
    const struct {
        DWORD rows, cols;
        int loadedRows, loadedCols;
    } rows[] = {
        {2, 0, 3, 1},   {16, 9, 15, 4},  {0xFFFFFFFF, 0xFFFFFFFB, 3, 1}, {3, 1, 3, 1},
        {15, 4, 15, 4}, {7, 3, 7, 3},    {0x80000000, 0x7FFFFFFF, 3, 4},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        rv::WriteDword(SettingsKeyPath, u"Rows", rows[i].rows);
        rv::WriteDword(SettingsKeyPath, u"Cols", rows[i].cols);
        FolderSettings s;
        EXPECT_EQ(s.GetRows(), rows[i].loadedRows) << "row " << i;
        EXPECT_EQ(s.GetCols(), rows[i].loadedCols) << "row " << i;
        // Loading does not rewrite them; the next save writes them clamped.
        EXPECT_EQ(rv::ReadDword(SettingsKeyPath, u"Rows"), rows[i].rows) << "row " << i;
        s.Save();
        EXPECT_EQ(rv::ReadDword(SettingsKeyPath, u"Rows"), DWORD(rows[i].loadedRows)) << "row " << i;
        EXPECT_EQ(rv::ReadDword(SettingsKeyPath, u"Cols"), DWORD(rows[i].loadedCols)) << "row " << i;
    }
}

TEST_F(FolderSettingsTest, EffectiveGettersFollowColumnsAndShowAll) {
    const struct {
        int cols;
        bool showSize, showDate, showAll, showText;
        bool size, date, text, word;
    } rows[] = {
        {1, true, true, false, true, true, true, true, true},
        {2, true, true, false, true, true, false, true, true},
        {3, true, true, false, true, false, false, true, true},
        {4, false, false, false, false, false, false, false, true},
        {2, false, false, true, false, false, false, true, true},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        FolderSettings s;
        s.SetCols(rows[i].cols);
        s.SetShowSize(rows[i].showSize);
        s.SetShowDate(rows[i].showDate);
        s.SetShowAll(rows[i].showAll);
        s.SetShowText(rows[i].showText);
        EXPECT_EQ(s.GetShowSize(), rows[i].size) << "row " << i;
        EXPECT_EQ(s.GetShowDate(), rows[i].date) << "row " << i;
        EXPECT_EQ(s.GetShowText(), rows[i].text) << "row " << i;
        EXPECT_EQ(s.GetShowPocketWord(), rows[i].word) << "row " << i;
    }
}

TEST_F(FolderSettingsTest, SaveWritesTheRawFlagsNormalised) {
    rv::WriteDword(SettingsKeyPath, u"Subfolders", 7);
    FolderSettings s;
    EXPECT_TRUE(s.GetSubfolders());
    s.SetShowAll(true);
    s.SetShowText(false);
    s.SetShowSize(true);
    s.SetCols(4);  // the size caption is off through its getter, but the flag is kept
    s.SetFolder(u"\\Storage Card\\Docs");
    s.Save();
    EXPECT_EQ(rv::ReadDword(SettingsKeyPath, u"Subfolders"), 1u);
    EXPECT_EQ(rv::ReadDword(SettingsKeyPath, u"ShowText"), 0u);
    EXPECT_EQ(rv::ReadDword(SettingsKeyPath, u"ShowAll"), 1u);
    EXPECT_EQ(rv::ReadDword(SettingsKeyPath, u"ShowSize"), 1u);
    EXPECT_EQ(rv::ReadString(SettingsKeyPath, u"Folder"), u"\\Storage Card\\Docs");

    FolderSettings again;
    EXPECT_EQ(again.GetFolder(), u"\\Storage Card\\Docs");
    EXPECT_TRUE(again.GetShowText());  // through ShowAll
    EXPECT_FALSE(again.GetShowSize());
}

TEST_F(FolderSettingsTest, MissingAndMisshapenValuesFallBackToTheirDefaults) {
    { FolderSettings first; }
    rv::Delete(SettingsKeyPath, u"Folder");
    const BYTE wide[8] = {9, 0, 0, 0, 0, 0, 0, 0};
    rv::Write(SettingsKeyPath, u"Rows", REG_BINARY, wide, sizeof wide);  // too large: default, written back
    const BYTE narrow[2] = {0x05, 0x00};
    rv::Write(SettingsKeyPath, u"Cols", REG_DWORD, narrow, sizeof narrow);  // shorter: upper bytes zero
    FolderSettings s;
    EXPECT_EQ(s.GetFolder(), u"\\My Documents");
    EXPECT_EQ(rv::ReadString(SettingsKeyPath, u"Folder"), u"\\My Documents");
    EXPECT_EQ(s.GetRows(), 4);
    EXPECT_EQ(rv::ReadDword(SettingsKeyPath, u"Rows"), 4u);
    EXPECT_EQ(s.GetCols(), 4);  // 5 clamped
}

TEST_F(FolderSettingsTest, LongFolderSurvivesTheRoundTrip) {
    std::u16string folder = u"\\";
    for (int i = 0; i < 40; ++i) folder += u"Caf\u00e9 \u65e5\u672c\\";
    FolderSettings s;
    s.SetFolder(folder);
    s.Save();
    EXPECT_EQ(FolderSettings().GetFolder(), folder);
}

}  // namespace
