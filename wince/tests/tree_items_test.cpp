// Tree view items: where insertion puts them, the navigation codes, item
// fields, and what deleting them tells the parent.
#include "tree_support.h"

namespace {

using namespace tree_test;

TEST_F(TreeTest, InsertionOrderAndSorting) {
    MakeTree(kLinesAndButtons);
    HTREEITEM fruit = Insert(TVI_ROOT, TVI_LAST, u"fruit");
    HTREEITEM first = nullptr;
    struct Row {
        const char *name;
        HTREEITEM under;
        HTREEITEM *after;  // a fixed position, or an item inserted before
        HTREEITEM fixed;
        const char16_t *text;
        bool inserted;
        const char16_t *outline;
    };
    Row rows[] = {
        {"last", fruit, nullptr, TVI_LAST, u"pear", true, u"fruit(pear)"},
        {"first", fruit, nullptr, TVI_FIRST, u"plum", true, u"fruit(plum,pear)"},
        {"after an item", fruit, &first, nullptr, u"fig", true, u"fruit(plum,fig,pear)"},
        {"sorted, ignoring case", fruit, nullptr, TVI_SORT, u"Apple", true, u"fruit(Apple,plum,fig,pear)"},
        {"sorted into the middle", fruit, nullptr, TVI_SORT, u"kiwi", true, u"fruit(Apple,kiwi,plum,fig,pear)"},
        {"sorted after an equal text", fruit, nullptr, TVI_SORT, u"apple", true,
         u"fruit(Apple,apple,kiwi,plum,fig,pear)"},
        {"sorted to the end", fruit, nullptr, TVI_SORT, u"zucchini", true,
         u"fruit(Apple,apple,kiwi,plum,fig,pear,zucchini)"},
        {"a top item by TVI_ROOT", TVI_ROOT, nullptr, TVI_FIRST, u"bread", true,
         u"bread,fruit(Apple,apple,kiwi,plum,fig,pear,zucchini)"},
        {"a top item by no parent", nullptr, nullptr, TVI_LAST, u"water", true,
         u"bread,fruit(Apple,apple,kiwi,plum,fig,pear,zucchini),water"},
        {"after an item of another parent", TVI_ROOT, &first, nullptr, u"x", false,
         u"bread,fruit(Apple,apple,kiwi,plum,fig,pear,zucchini),water"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        HTREEITEM after = rows[i].after ? *rows[i].after : rows[i].fixed;
        HTREEITEM item = Insert(rows[i].under, after, rows[i].text);
        EXPECT_EQ(item != nullptr, rows[i].inserted) << "row " << i << " " << rows[i].name;
        EXPECT_EQ(Outline(), rows[i].outline) << "row " << i << " " << rows[i].name;
        if (i == 1) first = item;
    }
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 10);
    EXPECT_TRUE(Notes().empty());  // inserting tells the parent nothing
}

TEST_F(TreeTest, InsertionRefusesBadParentsAndStructures) {
    MakeTree(kLinesAndButtons);
    HTREEITEM a = Insert(TVI_ROOT, TVI_LAST, u"a");
    EXPECT_EQ(Insert(reinterpret_cast<HTREEITEM>(uintptr_t{0x7777}), TVI_LAST, u"b"), nullptr);
    EXPECT_EQ(SendMessageW(tree, TVM_INSERTITEMW, 0, 0), 0);
    SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a));
    EXPECT_EQ(Insert(a, TVI_LAST, u"under a deleted item"), nullptr);
    HTREEITEM b = Insert(TVI_ROOT, TVI_LAST, u"b");
    EXPECT_NE(b, a);  // a handle is never handed out twice
    EXPECT_EQ(Outline(), u"b");
}

TEST_F(TreeTest, NavigationCodes) {
    MakeTree(kLinesAndButtons);
    HTREEITEM a = Insert(TVI_ROOT, TVI_LAST, u"a");
    HTREEITEM a1 = Insert(a, TVI_LAST, u"a1");
    HTREEITEM a2 = Insert(a, TVI_LAST, u"a2");
    HTREEITEM a2x = Insert(a2, TVI_LAST, u"a2x");
    HTREEITEM b = Insert(TVI_ROOT, TVI_LAST, u"b");
    HTREEITEM c = Insert(TVI_ROOT, TVI_LAST, u"c");
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a));
    HTREEITEM stale = Insert(c, TVI_LAST, u"gone");
    SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(stale));
    struct Row {
        UINT code;
        HTREEITEM from, expected;
    } rows[] = {
        {TVGN_ROOT, nullptr, a},          {TVGN_NEXT, a, b},
        {TVGN_NEXT, c, nullptr},          {TVGN_PREVIOUS, b, a},
        {TVGN_PREVIOUS, a, nullptr},      {TVGN_PREVIOUS, a2, a1},
        {TVGN_PARENT, a2x, a2},           {TVGN_PARENT, a, nullptr},
        {TVGN_CHILD, a, a1},              {TVGN_CHILD, nullptr, a},
        {TVGN_CHILD, TVI_ROOT, a},        {TVGN_CHILD, b, nullptr},
        {TVGN_FIRSTVISIBLE, nullptr, a},  {TVGN_NEXTVISIBLE, a, a1},
        {TVGN_NEXTVISIBLE, a2, b},        {TVGN_NEXTVISIBLE, a2x, nullptr},  // inside a closed branch
        {TVGN_NEXTVISIBLE, c, nullptr},   {TVGN_PREVIOUSVISIBLE, b, a2},
        {TVGN_PREVIOUSVISIBLE, a, nullptr}, {TVGN_LASTVISIBLE, nullptr, c},
        {TVGN_CARET, nullptr, nullptr},   {TVGN_NEXT, stale, nullptr},
        {TVGN_PARENT, stale, nullptr},    {TVGN_CHILD, stale, nullptr},
        {0x77, a, nullptr},
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(Next(rows[i].from, rows[i].code), rows[i].expected) << "row " << i << " code " << rows[i].code;
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b));
    EXPECT_EQ(Next(nullptr, TVGN_CARET), b);
}

TEST_F(TreeTest, ItemFieldsReadAndWrite) {
    MakeTree(kLinesAndButtons);
    TVINSERTSTRUCTW ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
    ins.item.pszText = const_cast<LPWSTR>(u"Documents");
    ins.item.iImage = 3;
    ins.item.iSelectedImage = 4;
    ins.item.lParam = 0x1234;
    ins.item.state = TVIS_BOLD | TVIS_SELECTED;  // a stored selection flag means nothing
    ins.item.stateMask = 0xFFFF;
    ins.item.cChildren = 1;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    ASSERT_NE(item, nullptr);

    WCHAR small[5];
    TVITEMW got{};
    got.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
    got.hItem = item;
    got.pszText = small;
    got.cchTextMax = 5;
    got.stateMask = 0;  // ignored when reading
    ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&got)));
    EXPECT_EQ(std::u16string(small), u"Docu");  // cut to the buffer, terminated
    EXPECT_EQ(got.iImage, 3);
    EXPECT_EQ(got.iSelectedImage, 4);
    EXPECT_EQ(got.lParam, 0x1234);
    EXPECT_EQ(got.state, UINT{TVIS_BOLD});
    EXPECT_EQ(got.cChildren, 1);

    // Setting changes only what the mask and stateMask name.
    TVITEMW set{};
    set.mask = TVIF_TEXT | TVIF_STATE;
    set.hItem = item;
    set.pszText = const_cast<LPWSTR>(u"Files");
    set.state = TVIS_EXPANDED;
    set.stateMask = TVIS_EXPANDED;
    EXPECT_TRUE(SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&set)));
    EXPECT_EQ(Text(item), u"Files");
    EXPECT_EQ(State(item), UINT{TVIS_BOLD | TVIS_EXPANDED});
    EXPECT_TRUE(Notes().empty());

    // Bad handles fail and leave the structure alone.
    TVITEMW bad{};
    bad.mask = TVIF_PARAM;
    bad.hItem = reinterpret_cast<HTREEITEM>(uintptr_t{0x5151});
    bad.lParam = 0x77;
    EXPECT_FALSE(SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&bad)));
    EXPECT_EQ(bad.lParam, 0x77);
    EXPECT_FALSE(SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&bad)));
    bad.hItem = TVI_ROOT;
    EXPECT_FALSE(SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&bad)));
    EXPECT_FALSE(SendMessageW(tree, TVM_GETITEMW, 0, 0));
}

TEST_F(TreeTest, DeletingTellsTheParentOfEveryItemChildrenFirst) {
    MakeTree(kLinesAndButtons);
    HTREEITEM a = Insert(TVI_ROOT, TVI_LAST, u"a");
    HTREEITEM a1 = Insert(a, TVI_LAST, u"a1");
    HTREEITEM a1x = Insert(a1, TVI_LAST, u"a1x");
    HTREEITEM a2 = Insert(a, TVI_LAST, u"a2");
    HTREEITEM b = Insert(TVI_ROOT, TVI_LAST, u"b");
    HTREEITEM c = Insert(TVI_ROOT, TVI_LAST, u"c");
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a2));
    Notes().clear();

    // The selection leaves the branch (for the next sibling) before it goes.
    EXPECT_TRUE(SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a)));
    std::vector<Note> expected = {{TVN_SELCHANGINGW, b, TVC_UNKNOWN, a2}, {TVN_SELCHANGEDW, b, TVC_UNKNOWN, a2},
                                  {TVN_DELETEITEMW, a1x},
                                  {TVN_DELETEITEMW, a1},
                                  {TVN_DELETEITEMW, a2},
                                  {TVN_DELETEITEMW, a}};
    EXPECT_EQ(Notes(), expected);
    EXPECT_EQ(Outline(), u"b,c");
    EXPECT_EQ(Next(nullptr, TVGN_CARET), b);
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 2);

    // A stale handle is refused; TVI_ROOT takes everything.
    Notes().clear();
    EXPECT_FALSE(SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a1)));
    EXPECT_TRUE(Notes().empty());
    EXPECT_TRUE(SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
    expected = {{TVN_SELCHANGINGW, c, TVC_UNKNOWN, b}, {TVN_SELCHANGEDW, c, TVC_UNKNOWN, b}, {TVN_DELETEITEMW, b},
                {TVN_SELCHANGINGW, nullptr, TVC_UNKNOWN, c}, {TVN_SELCHANGEDW, nullptr, TVC_UNKNOWN, c},
                {TVN_DELETEITEMW, c}};
    EXPECT_EQ(Notes(), expected);
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Next(nullptr, TVGN_CARET), nullptr);
}

TEST_F(TreeTest, ItemsGoingWithTheWindowAreReported) {
    MakeTree(kLinesAndButtons);
    HTREEITEM a = Insert(TVI_ROOT, TVI_LAST, u"a");
    HTREEITEM a1 = Insert(a, TVI_LAST, u"a1");
    HTREEITEM b = Insert(TVI_ROOT, TVI_LAST, u"b");
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
    Notes().clear();
    DestroyWindow(tree);
    std::vector<Note> expected = {{TVN_DELETEITEMW, a1}, {TVN_DELETEITEMW, a}, {TVN_DELETEITEMW, b}};
    EXPECT_EQ(Notes(), expected);
}

}  // namespace
