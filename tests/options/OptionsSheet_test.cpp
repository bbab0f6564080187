// The options sheet driven as a user drives it: the Folder page's checks
// and their messages, leaving pages, OK saving all twelve values and
// Cancel saving nothing.
#include <gtest/gtest.h>

#include "window/screen_size.h"

#include "options/res/resource.h"
#include "options_support.h"

namespace {

using namespace options_test;

class OptionsSheetTest : public DialogTest {};

// Leaving the Folder page with these texts: the message shown (none when
// the checks pass) and whether the page changed.
TEST_F(OptionsSheetTest, LeavingTheFolderPageChecksItsValues) {
    const char *kColumns = "Error: Please enter the number of columns from 1 to 4.";
    const char *kRows = "Error: Please enter the number of rows from 3 to 15.";
    struct Row {
        LPCWSTR folder, rows, cols;
        const char *message;
        UINT type;
    } rows[] = {
        {TEXT("\\My Documents"), TEXT("5"), TEXT("3"), nullptr, 0},
        {TEXT(""), TEXT("5"), TEXT("3"), nullptr, 0},
        {TEXT("\\My Documents"), TEXT("2"), TEXT("9"), kColumns, MB_ICONERROR},
        {TEXT("\\My Documents"), TEXT("5"), TEXT("0"), kColumns, MB_ICONERROR},
        {TEXT("\\My Documents"), TEXT("16"), TEXT("2"), kRows, MB_ICONERROR},
        {TEXT("\\"), TEXT("16"), TEXT("9"), "Pelloran Options: Please choose the folder other than root.", MB_ICONERROR},
        {TEXT("\\My Documents"), TEXT(""), TEXT("2"), "Pelloran Options: Please enter a whole number.", MB_OK | MB_ICONEXCLAMATION},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        MessageBoxes boxes;
        int pageAfter = -1;
        std::vector<std::function<void()>> steps = {[&] {
                                                        SetPageText(IDC_COLUMNS, rows[i].cols);
                                                        SetPageText(IDC_ROWS, rows[i].rows);
                                                        SetPageText(IDC_FOLDER, rows[i].folder);
                                                    },
                                                    [] { TapTab(1); }};
        if (rows[i].message) steps.push_back([] { Key(VK_RETURN); });
        steps.push_back([&] {
            pageAfter = CurrentTab();
            PressCancel();
        });
        Script script(steps);
        EXPECT_EQ(RunSheet(), IDCANCEL) << "row " << i;
        std::vector<std::string> expected;
        if (rows[i].message) expected.push_back(rows[i].message);
        EXPECT_EQ(boxes.shown, expected) << "row " << i;
        if (rows[i].message) {
            EXPECT_EQ(boxes.types, std::vector<UINT>{rows[i].type}) << "row " << i;
        }
        EXPECT_EQ(pageAfter, rows[i].message ? 0 : 1) << "row " << i;
        EXPECT_EQ(StoredDword(TEXT("Rows")), 4u) << "row " << i << ": Cancel saved";
    }
}

// The stored check boxes are shown as stored (filling the columns box
// once read them back before they were filled, and saved them cleared).
TEST_F(OptionsSheetTest, OkSavesEveryValueAndCancelNothing) {
    { FolderSettings defaults; }  // the first load writes the missing values
    std::string before = RegistryFile(device);
    Script cancel({[] {
                       SetPageText(IDC_ROWS, TEXT("7"));
                       SetPageText(IDC_COLUMNS, TEXT("1"));
                   },
                   [] { TapTab(1); }, [] { ClickBox(IDC_NOTES); }, [] { PressCancel(); }});
    EXPECT_EQ(RunSheet(), IDCANCEL);
    EXPECT_EQ(RegistryFile(device), before);

    Script ok({[] {
                   SetPageText(IDC_FOLDER, TEXT("\\Work"));
                   SetPageText(IDC_ROWS, TEXT("7"));
                   SetPageText(IDC_COLUMNS, TEXT("1"));
                   ClickBox(IDC_SUBFOLDERS);
                   ClickBox(IDC_SHOW_DATE);
               },
               [] { TapTab(1); }, [] { ClickBox(IDC_NOTES); }, [] { ClickBox(IDC_ALL_FILES); },
               [] { PressOk(); }});
    EXPECT_EQ(RunSheet(), IDOK);
    EXPECT_EQ(StoredFolder(), u"\\Work");
    struct Value {
        LPCWSTR name;
        DWORD value;
    } values[] = {{TEXT("Subfolders"), 1},     {TEXT("NoTemplates"), 1},   {TEXT("Rows"), 7},
                  {TEXT("Cols"), 1},           {TEXT("ShowSize"), 0},      {TEXT("ShowDate"), 1},
                  {TEXT("ShowText"), 1},       {TEXT("ShowPocketWord"), 1}, {TEXT("ShowPocketExcel"), 1},
                  {TEXT("ShowNotes"), 0},      {TEXT("ShowAll"), 1}};
    for (const Value &v : values) EXPECT_EQ(StoredDword(v.name), v.value) << wince::ToUtf8(v.name);
}

// "Show size" needs at most two columns and "Show date" one: with more the
// box stays empty, a warning explains, and the choice is kept for later.
TEST_F(OptionsSheetTest, CaptionBoxesFollowTheColumns) {
    MessageBoxes boxes;
    bool sizeAt3 = true, sizeAt2 = false, dateAt2 = true;
    Script script({[] { SetPageText(IDC_COLUMNS, TEXT("3")); }, [] { ClickBox(IDC_SHOW_SIZE); },
                   [] { Key(VK_RETURN); },
                   [&] {
                       sizeAt3 = Checked(IDC_SHOW_SIZE);
                       SetPageText(IDC_COLUMNS, TEXT("2"));
                       sizeAt2 = Checked(IDC_SHOW_SIZE);
                   },
                   [] { ClickBox(IDC_SHOW_DATE); }, [] { Key(VK_RETURN); },
                   [&] {
                       dateAt2 = Checked(IDC_SHOW_DATE);
                       PressOk();
                   }});
    EXPECT_EQ(RunSheet(), IDOK);
    EXPECT_FALSE(sizeAt3);
    EXPECT_TRUE(sizeAt2);
    EXPECT_FALSE(dateAt2);
    EXPECT_EQ(boxes.shown,
              (std::vector<std::string>{
                  "Error: Document size will not be shown if the number of columns is greater than 2.",
                  "Error: Date will not be shown if the number of columns is greater than 1."}));
    EXPECT_EQ(StoredDword(TEXT("ShowSize")), 1u);
    EXPECT_EQ(StoredDword(TEXT("ShowDate")), 1u);
}

// "All files" greys the four kinds and shows them ticked without changing
// them; clearing it brings the earlier choice back.
TEST_F(OptionsSheetTest, AllFilesOverridesTheKinds) {
    Script prepare({[] { TapTab(1); }, [] { ClickBox(IDC_TEXT_FILES); }, [] { PressOk(); }});
    ASSERT_EQ(RunSheet(), IDOK);
    struct Seen {
        bool textChecked, textEnabled;
    } withAll{}, without{};
    Script script({[] { TapTab(1); }, [] { ClickBox(IDC_ALL_FILES); },
                   [&] {
                       withAll = {Checked(IDC_TEXT_FILES), IsWindowEnabled(PageItem(IDC_TEXT_FILES)) != 0};
                   },
                   [] { ClickBox(IDC_ALL_FILES); },
                   [&] {
                       without = {Checked(IDC_TEXT_FILES), IsWindowEnabled(PageItem(IDC_TEXT_FILES)) != 0};
                       PressOk();
                   }});
    ASSERT_EQ(RunSheet(), IDOK);
    EXPECT_TRUE(withAll.textChecked);
    EXPECT_FALSE(withAll.textEnabled);
    EXPECT_FALSE(without.textChecked);
    EXPECT_TRUE(without.textEnabled);
    EXPECT_EQ(StoredDword(TEXT("ShowAll")), 0u);
    EXPECT_EQ(StoredDword(TEXT("ShowText")), 0u);
    EXPECT_EQ(StoredDword(TEXT("ShowNotes")), 1u);
}

// The spins wrap at their limits, to the tap on either half.
TEST_F(OptionsSheetTest, SpinsWrapAtTheirLimits) {
    const struct {
        int edit, spin;
        LPCWSTR from;
        bool right;
        std::u16string to;
    } rows[] = {{IDC_ROWS, IDC_ROWS_SPIN, TEXT("15"), true, u"3"},
                {IDC_ROWS, IDC_ROWS_SPIN, TEXT("3"), false, u"15"},
                {IDC_COLUMNS, IDC_COLUMNS_SPIN, TEXT("4"), true, u"1"},
                {IDC_COLUMNS, IDC_COLUMNS_SPIN, TEXT("1"), false, u"4"}};
    for (const auto &row : rows) {
        std::u16string after;
        Script script({[&] {
                           SetPageText(row.edit, row.from);
                           RECT r;
                           GetWindowRect(PageItem(row.spin), &r);
                           Tap(POINT{row.right ? r.right - 3 : r.left + 3, (r.top + r.bottom) / 2});
                       },
                       [&] {
                           after = TextOf(PageItem(row.edit));
                           PressCancel();
                       }});
        EXPECT_EQ(RunSheet(), IDCANCEL);
        EXPECT_EQ(after, row.to) << wince::ToUtf8(row.from);
    }
}

// Browse opens the chooser on the typed folder's deepest existing part;
// its choice comes back whole, selected and focused.
TEST_F(OptionsSheetTest, BrowseBringsTheChoiceBackSelected) {
    std::filesystem::create_directories(device.Host("\\My Documents\\Work"));
    HWND focus = nullptr, edit = nullptr;
    DWORD selection = 0;
    std::u16string folder;
    Script script({[] {
                       SetPageText(IDC_FOLDER, TEXT("\\My Documents\\Work\\Gone"));
                       ClickBox(IDC_BROWSE);
                   },
                   [] { PostMessageW(Front(), WM_COMMAND, IDOK, 0); },
                   [&] {
                       edit = PageItem(IDC_FOLDER);
                       focus = GetFocus();
                       folder = TextOf(edit);
                       selection = static_cast<DWORD>(SendMessageW(edit, EM_GETSEL, 0, 0));
                       PressCancel();
                   }});
    EXPECT_EQ(RunSheet(), IDCANCEL);
    EXPECT_EQ(folder, u"\\My Documents\\Work");
    EXPECT_EQ(focus, edit);
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), folder.size());
}

// Turning to 320 x 240 lays the page out by its landscape template: rows
// and columns side by side, the spins still on their boxes, and what the
// user entered kept.
TEST_F(OptionsSheetTest, TheLandscapeLayoutKeepsValuesAndChecks) {
    struct Seen {
        int rowsTop = 0, columnsTop = 0;
        bool buddied = false, subfolders = false;
        std::u16string rows, folder;
    } before, after;
    auto look = [](Seen &seen) {
        RECT rows, cols;
        GetWindowRect(PageItem(IDC_ROWS), &rows);
        GetWindowRect(PageItem(IDC_COLUMNS), &cols);
        seen.rowsTop = rows.top;
        seen.columnsTop = cols.top;
        seen.buddied = reinterpret_cast<HWND>(SendMessageW(PageItem(IDC_ROWS_SPIN), UDM_GETBUDDY, 0, 0)) ==
                           PageItem(IDC_ROWS) &&
                       reinterpret_cast<HWND>(SendMessageW(PageItem(IDC_COLUMNS_SPIN), UDM_GETBUDDY, 0, 0)) ==
                           PageItem(IDC_COLUMNS);
        seen.subfolders = Checked(IDC_SUBFOLDERS);
        seen.rows = TextOf(PageItem(IDC_ROWS));
        seen.folder = TextOf(PageItem(IDC_FOLDER));
    };
    Script script({[&] {
                       SetPageText(IDC_ROWS, TEXT("7"));
                       SetPageText(IDC_FOLDER, TEXT("\\Work"));
                       ClickBox(IDC_SUBFOLDERS);
                       look(before);
                       wince::ChangeScreenSize(320, 240);
                   },
                   [&] {
                       look(after);
                       wince::ChangeScreenSize(240, 320);
                       PressCancel();
                   }});
    EXPECT_EQ(RunSheet(), IDCANCEL);
    EXPECT_NE(before.rowsTop, before.columnsTop);
    EXPECT_EQ(after.rowsTop, after.columnsTop) << "side by side";
    EXPECT_TRUE(after.buddied);
    EXPECT_TRUE(after.subfolders);
    EXPECT_EQ(after.rows, u"7");
    EXPECT_EQ(after.folder, u"\\Work");
}

}  // namespace
