// The folder chooser on a device's folder tree: where it opens, what its
// tree lists and in which order, and the path it returns.
#include <gtest/gtest.h>

#include <filesystem>

#include "options/FolderChooserDialog.h"
#include "options_support.h"

namespace {

using namespace options_test;
namespace fs = std::filesystem;

class FolderChooserTest : public DialogTest {
   protected:
    void SetUp() override {
        DialogTest::SetUp();
        for (const char *folder : {"My Documents/Work/Old", "My Documents/Sort/beta", "My Documents/Sort/Alpha",
                                   "My Documents/Sort/gamma", "My Documents/Files", "Windows"})
            fs::create_directories(device.Host(std::string("\\") + folder));
        device.WriteHostFile("\\My Documents\\Files\\a.txt", "a");
    }
    HWND Tree() { return GetDlgItem(Front(), 100); }
    std::u16string ItemText(HTREEITEM item) {
        WCHAR text[260] = {0};
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = 260;
        SendMessageW(Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        return text;
    }
    HTREEITEM Next(HTREEITEM item, UINT code) {
        return reinterpret_cast<HTREEITEM>(SendMessageW(Tree(), TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM Child(HTREEITEM parent, const std::u16string &name) {
        for (HTREEITEM c = Next(parent, TVGN_CHILD); c; c = Next(c, TVGN_NEXT))
            if (ItemText(c) == name) return c;
        return nullptr;
    }
    std::vector<std::u16string> Children(HTREEITEM parent) {
        std::vector<std::u16string> names;
        for (HTREEITEM c = Next(parent, TVGN_CHILD); c; c = Next(c, TVGN_NEXT)) names.push_back(ItemText(c));
        return names;
    }
};

TEST_F(FolderChooserTest, OpensOnTheDeepestExistingFolderAndReturnsItsPath) {
    struct Row {
        LPCWSTR initial;
        const char16_t *result;
    } rows[] = {
        {TEXT("\\My Documents"), u"\\My Documents"},
        {TEXT("\\MY DOCUMENTS\\work"), u"\\My Documents\\Work"},
        {TEXT("\\My Documents\\"), u"\\My Documents"},
        {TEXT("\\My Documents\\Missing\\Deeper"), u"\\My Documents"},
        {TEXT("\\My Documents\\Work\\Old\\Gone"), u"\\My Documents\\Work\\Old"},  // a folder without subfolders
        {TEXT("\\"), u"\\"},
        {TEXT(""), u""},
        {TEXT("My Documents"), u""},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        FolderChooserDialog chooser(TEXT("Pelloran"), TEXT("Choose Folder"), rows[i].initial, nullptr);
        std::u16string caption;
        Script script({[&] {
            caption = TextOf(Front());
            PostMessageW(Front(), WM_COMMAND, IDOK, 0);
        }});
        EXPECT_EQ(chooser.DoModal(), IDOK) << "row " << i;
        EXPECT_EQ(chooser.Result(), std::u16string(rows[i].result)) << "row " << i;
        EXPECT_EQ(caption, u"Pelloran") << "row " << i;
    }
}

TEST_F(FolderChooserTest, ListsFoldersLazilyInNameOrder) {
    FolderChooserDialog chooser(TEXT("Pelloran"), TEXT("Choose Folder"), TEXT("\\My Documents\\Sort"), nullptr);
    std::vector<std::u16string> top, sorted, afterNew;
    bool filesHasButton = true, workHasButton = false;
    std::vector<LRESULT> gestureAnswers;
    Script script({[&] {
                       // The tree's hold gestures are refused: a hold on a folder does nothing.
                       for (int code : {-16, -50}) {
                           NMHDR n{Tree(), 100, static_cast<UINT>(code)};
                           gestureAnswers.push_back(SendMessageW(Front(), WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&n)));
                       }
                       HTREEITEM root = Next(nullptr, TVGN_ROOT);
                       top = Children(root);
                       HTREEITEM docs = Child(root, u"My Documents");
                       SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Child(docs, u"Sort")));
                       sorted = Children(Child(docs, u"Sort"));
                       filesHasButton = Next(Child(docs, u"Files"), TVGN_CHILD) != nullptr;
                       workHasButton = Next(Child(docs, u"Work"), TVGN_CHILD) != nullptr;
                       fs::create_directories(device.Host("\\My Documents\\Sort\\Delta"));
                       // The user closes and opens the folder again with the keys.
                       SendMessageW(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Child(docs, u"Sort")));
                       SetFocus(Tree());
                       Key(VK_LEFT);
                   },
                   [] { Key(VK_RIGHT); },
                   [&] { afterNew = Children(Child(Child(Next(nullptr, TVGN_ROOT), u"My Documents"), u"Sort")); },
                   [] { PostMessageW(Front(), WM_COMMAND, IDCANCEL, 0); }});
    EXPECT_EQ(chooser.DoModal(), IDCANCEL);
    EXPECT_EQ(chooser.Result(), u"");
    EXPECT_EQ(top, (std::vector<std::u16string>{u"My Documents", u"Program Files", u"Temp", u"Windows"}));
    EXPECT_EQ(sorted, (std::vector<std::u16string>{u"Alpha", u"beta", u"gamma"}));
    EXPECT_FALSE(filesHasButton) << "a folder of files only shows no expand button";
    EXPECT_TRUE(workHasButton) << "a folder with a subfolder shows one before it is expanded";
    EXPECT_EQ(afterNew, (std::vector<std::u16string>{u"Alpha", u"beta", u"Delta", u"gamma"}));
    EXPECT_EQ(gestureAnswers, (std::vector<LRESULT>{1, 1}));
}

TEST(FolderPaths, JoinPath) {
    EXPECT_EQ(JoinPath(TEXT(""), TEXT("a")), u"a");
    EXPECT_EQ(JoinPath(TEXT("\\"), TEXT("a")), u"\\a");
    EXPECT_EQ(JoinPath(TEXT("\\x"), TEXT("a")), u"\\x\\a");
}

}  // namespace
