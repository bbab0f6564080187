// Tree view expansion and selection: what the program's requests and the
// user's taps, holds and keys tell the parent, in order, and its refusals.
#include "tree_support.h"

namespace {

using namespace tree_test;
using dialog_test::Key;
using dialog_test::Tap;

class TreeInput : public TreeTest {
   protected:
    void SetUp() override {
        TreeTest::SetUp();
        MakeTree(kLinesAndButtons);
        a = Insert(TVI_ROOT, TVI_LAST, u"a");
        a1 = Insert(a, TVI_LAST, u"a1");
        a2 = Insert(a, TVI_LAST, u"a2");
        a2x = Insert(a2, TVI_LAST, u"a2x");
        b = Insert(TVI_ROOT, TVI_LAST, u"b");
        SetFocus(tree);
        wince::PumpReadyMessages();
        Notes().clear();
    }
    LRESULT Expand(HTREEITEM item, UINT code) {
        return SendMessageW(tree, TVM_EXPAND, code, reinterpret_cast<LPARAM>(item));
    }
    // A tap on the middle of the item's button column.
    void TapButton(HTREEITEM item) {
        RECT row = ItemRect(item, FALSE), label = ItemRect(item, TRUE);
        int indent = static_cast<int>(SendMessageW(tree, TVM_GETINDENT, 0, 0));
        Tap(OnScreen(POINT{label.left - indent / 2, (row.top + row.bottom) / 2}));
        wince::PumpReadyMessages();
    }
    HTREEITEM a{}, a1{}, a2{}, a2x{}, b{};
};

TEST_F(TreeInput, ProgramExpansionTellsTheParentUntilExpandedOnce) {
    struct Row {
        const char *name;
        HTREEITEM *item;
        UINT code;
        LRESULT answer;  // to TVN_ITEMEXPANDING
        LRESULT result;
        std::vector<UINT> codes;
        bool expanded;
    };
    std::vector<Row> rows = {
        {"refused", &a, TVE_EXPAND, 1, 0, {TVN_ITEMEXPANDINGW}, false},
        {"allowed", &a, TVE_EXPAND, 0, 1, {TVN_ITEMEXPANDINGW, TVN_ITEMEXPANDEDW}, true},
        {"already expanded", &a, TVE_EXPAND, 0, 1, {}, true},
        {"collapsed after the first time", &a, TVE_COLLAPSE, 0, 1, {}, false},
        {"already collapsed", &a, TVE_COLLAPSE, 0, 0, {}, false},
        {"toggled open, silently", &a, TVE_TOGGLE, 1, 1, {}, true},
        {"toggled closed", &a, TVE_TOGGLE, 0, 1, {}, false},
        {"no children", &b, TVE_EXPAND, 0, 0, {}, false},
        {"no action", &a, 0, 0, 0, {}, false},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        Notes().clear();
        Answers()[TVN_ITEMEXPANDINGW] = rows[i].answer;
        EXPECT_EQ(Expand(*rows[i].item, rows[i].code), rows[i].result) << "row " << i << " " << rows[i].name;
        std::vector<UINT> codes;
        for (const Note &n : Notes()) {
            codes.push_back(n.code);
            EXPECT_EQ(n.item, *rows[i].item) << "row " << i;
            EXPECT_EQ(n.action, UINT{TVE_EXPAND}) << "row " << i;
        }
        EXPECT_EQ(codes, rows[i].codes) << "row " << i << " " << rows[i].name;
        EXPECT_EQ(Expanded(*rows[i].item), rows[i].expanded) << "row " << i << " " << rows[i].name;
    }
    EXPECT_EQ(Expand(reinterpret_cast<HTREEITEM>(uintptr_t{0x4242}), TVE_EXPAND), 0);
    EXPECT_EQ(Expand(TVI_ROOT, TVE_EXPAND), 0);
}

TEST_F(TreeInput, CollapseResetRemovesTheChildrenAndTellsAgain) {
    Expand(a, TVE_EXPAND);
    Notes().clear();
    EXPECT_EQ(Expand(a, TVE_COLLAPSE | TVE_COLLAPSERESET), 1);
    std::vector<Note> expected = {{TVN_DELETEITEMW, a1}, {TVN_DELETEITEMW, a2x}, {TVN_DELETEITEMW, a2}};
    EXPECT_EQ(Notes(), expected);
    EXPECT_EQ(State(a) & (TVIS_EXPANDED | TVIS_EXPANDEDONCE), 0u);
    // A child the parent supplies later is announced by the next expansion.
    Insert(a, TVI_LAST, u"new");
    Notes().clear();
    EXPECT_EQ(Expand(a, TVE_EXPAND), 1);
    ASSERT_EQ(Notes().size(), 2u);
    EXPECT_EQ(Notes()[0].code, TVN_ITEMEXPANDINGW);
}

TEST_F(TreeInput, ChildrenCallbackShowsAButtonAndAsksOnExpansion) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_CHILDREN;
    ins.item.pszText = const_cast<LPWSTR>(u"lazy");
    ins.item.cChildren = I_CHILDRENCALLBACK;
    auto lazy = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    Notes().clear();
    TapButton(lazy);
    ASSERT_GE(Notes().size(), 1u);
    EXPECT_EQ(Notes()[0], (Note{TVN_ITEMEXPANDINGW, lazy, TVE_EXPAND}));
    EXPECT_TRUE(Expanded(lazy));
}

TEST_F(TreeInput, TapsOnButtonsTellEveryChangeAndHonourRefusals) {
    Answers()[TVN_ITEMEXPANDINGW] = 1;
    TapButton(a);
    EXPECT_EQ(Notes(), (std::vector<Note>{{TVN_ITEMEXPANDINGW, a, TVE_EXPAND}}));
    EXPECT_FALSE(Expanded(a));
    struct Row {
        UINT action;
        bool expanded;
    } rows[] = {{TVE_EXPAND, true}, {TVE_COLLAPSE, false}, {TVE_EXPAND, true}};
    Answers()[TVN_ITEMEXPANDINGW] = 0;
    for (size_t i = 0; i < std::size(rows); ++i) {
        Notes().clear();
        TapButton(a);
        std::vector<Note> expected = {{TVN_ITEMEXPANDINGW, a, rows[i].action}, {TVN_ITEMEXPANDEDW, a, rows[i].action}};
        EXPECT_EQ(Notes(), expected) << "row " << i;
        EXPECT_EQ(Expanded(a), rows[i].expanded) << "row " << i;
    }
    EXPECT_EQ(Next(nullptr, TVGN_CARET), nullptr);  // a button tap selects nothing
}

TEST_F(TreeInput, KeysMoveTheSelectionAndOpenAndCloseBranches) {
    struct Row {
        UINT key;
        HTREEITEM *caret;
        std::vector<UINT> codes;
    };
    std::vector<Row> rows = {
        {VK_DOWN, &a, {TVN_SELCHANGINGW, TVN_SELCHANGEDW}},  // nothing selected: the first item
        {VK_RIGHT, &a, {TVN_ITEMEXPANDINGW, TVN_ITEMEXPANDEDW}},
        {VK_RIGHT, &a1, {TVN_SELCHANGINGW, TVN_SELCHANGEDW}},
        {VK_RIGHT, &a1, {}},  // no children
        {VK_DOWN, &a2, {TVN_SELCHANGINGW, TVN_SELCHANGEDW}},
        {VK_LEFT, &a, {TVN_SELCHANGINGW, TVN_SELCHANGEDW}},  // closed: to the parent
        {VK_END, &b, {TVN_SELCHANGINGW, TVN_SELCHANGEDW}},
        {VK_DOWN, &b, {}},
        {VK_UP, &a2, {TVN_SELCHANGINGW, TVN_SELCHANGEDW}},
        {VK_HOME, &a, {TVN_SELCHANGINGW, TVN_SELCHANGEDW}},
        {VK_LEFT, &a, {TVN_ITEMEXPANDINGW, TVN_ITEMEXPANDEDW}},  // open: closes
        {VK_LEFT, &a, {}},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        Notes().clear();
        Key(rows[i].key);
        wince::PumpReadyMessages();
        std::vector<UINT> codes;
        for (const Note &n : Notes()) {
            codes.push_back(n.code);
            if (n.code == TVN_SELCHANGINGW || n.code == TVN_SELCHANGEDW) {
                EXPECT_EQ(n.action, UINT{TVC_BYKEYBOARD}) << "row " << i;
            }
        }
        EXPECT_EQ(codes, rows[i].codes) << "row " << i;
        EXPECT_EQ(Next(nullptr, TVGN_CARET), *rows[i].caret) << "row " << i;
    }
    // The parent may keep the selection where it is.
    Answers()[TVN_SELCHANGINGW] = 1;
    Key(VK_DOWN);
    wince::PumpReadyMessages();
    EXPECT_EQ(Next(nullptr, TVGN_CARET), a);
    EXPECT_EQ(State(a) & TVIS_SELECTED, UINT{TVIS_SELECTED});
}

TEST_F(TreeInput, TapsOnLabelsSelectAfterTheClick) {
    Expand(a, TVE_EXPAND);
    Notes().clear();
    Tap(LabelCentre(a1));
    wince::PumpReadyMessages();
    std::vector<Note> expected = {{NM_RECOGNIZEGESTURE, a1}, {NM_CLICK, nullptr},
                                  {TVN_SELCHANGINGW, a1, TVC_BYMOUSE, nullptr}, {TVN_SELCHANGEDW, a1, TVC_BYMOUSE, nullptr}};
    EXPECT_EQ(Notes(), expected);
    EXPECT_EQ(State(a1) & TVIS_SELECTED, UINT{TVIS_SELECTED});

    // A parent that handles the click itself keeps the selection.
    Notes().clear();
    Answers()[NM_CLICK] = 1;
    Tap(LabelCentre(b));
    wince::PumpReadyMessages();
    EXPECT_EQ(Notes(), (std::vector<Note>{{NM_RECOGNIZEGESTURE, b}, {NM_CLICK, nullptr}}));
    EXPECT_EQ(Next(nullptr, TVGN_CARET), a1);

    // Collapsing the branch that holds the selection moves it up.
    Answers().clear();
    Notes().clear();
    TapButton(a);
    expected = {{TVN_ITEMEXPANDINGW, a, TVE_COLLAPSE},
                {TVN_SELCHANGINGW, a, TVC_UNKNOWN, a1},
                {TVN_SELCHANGEDW, a, TVC_UNKNOWN, a1},
                {TVN_ITEMEXPANDEDW, a, TVE_COLLAPSE}};
    EXPECT_EQ(Notes(), expected);
    EXPECT_EQ(Next(nullptr, TVGN_CARET), a);
}

TEST_F(TreeInput, AHoldAsksTheParentThenSelectsForTheContextMenu) {
    struct Row {
        const char *name;
        LRESULT answer;  // to NM_RECOGNIZEGESTURE
        std::vector<Note> notes;
    } rows[] = {
        {"recognised", 0,
         {{NM_RECOGNIZEGESTURE, b}, {TVN_SELCHANGINGW, b, TVC_BYMOUSE}, {TVN_SELCHANGEDW, b, TVC_BYMOUSE}, {GN_CONTEXTMENU, b}}},
        {"declined by the parent: a plain tap", 1,
         {{NM_RECOGNIZEGESTURE, b}, {NM_CLICK, nullptr}, {TVN_SELCHANGINGW, b, TVC_BYMOUSE}, {TVN_SELCHANGEDW, b, TVC_BYMOUSE}}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, 0);
        Notes().clear();
        Answers()[NM_RECOGNIZEGESTURE] = rows[i].answer;
        POINT at = LabelCentre(b);
        wince::PostInputEvent(dialog_test::E{dialog_test::E::kStylusDown, at});
        wince::PumpReadyMessages();  // nobody lifts the stylus: the hold time passes
        wince::PostInputEvent(dialog_test::E{dialog_test::E::kStylusUp, at});
        wince::PumpReadyMessages();
        EXPECT_EQ(Notes(), rows[i].notes) << "row " << i << " " << rows[i].name;
        EXPECT_EQ(Next(nullptr, TVGN_CARET), b) << "row " << i;
    }
}

TEST_F(TreeInput, SelectingAHiddenItemOpensItsBranch) {
    EXPECT_TRUE(SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a2x)));
    std::vector<Note> expected = {{TVN_SELCHANGINGW, a2x, TVC_UNKNOWN, nullptr},
                                  {TVN_ITEMEXPANDINGW, a, TVE_EXPAND},
                                  {TVN_ITEMEXPANDEDW, a, TVE_EXPAND},
                                  {TVN_ITEMEXPANDINGW, a2, TVE_EXPAND},
                                  {TVN_ITEMEXPANDEDW, a2, TVE_EXPAND},
                                  {TVN_SELCHANGEDW, a2x, TVC_UNKNOWN, nullptr}};
    EXPECT_EQ(Notes(), expected);
    EXPECT_TRUE(Expanded(a));
    EXPECT_TRUE(Expanded(a2));
    // Selecting the selected item again is a success that tells nobody.
    Notes().clear();
    EXPECT_TRUE(SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a2x)));
    EXPECT_TRUE(Notes().empty());
    EXPECT_FALSE(SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, LPARAM{0x999}));
    Answers()[TVN_SELCHANGINGW] = 1;
    EXPECT_FALSE(SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b)));
    EXPECT_EQ(Next(nullptr, TVGN_CARET), a2x);
}

}  // namespace
