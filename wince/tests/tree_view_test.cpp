// Tree view geometry and looks: hit testing, item rectangles and scrolling,
// the pixels of lines, buttons and the selection with the fixed font, and
// the items the window dump reports.
#include <nlohmann/json.hpp>

#include "tree_support.h"
#include "window/dump.h"

namespace {

using namespace tree_test;
using dialog_test::ScreenPixel;
using Json = nlohmann::json;

class TreeView : public TreeTest {
   protected:
    // a (open) with a1, b (closed) with b1.
    void MakeSmallTree(DWORD style) {
        MakeTree(style);
        a = Insert(TVI_ROOT, TVI_LAST, u"a");
        a1 = Insert(a, TVI_LAST, u"a1");
        b = Insert(TVI_ROOT, TVI_LAST, u"b");
        b1 = Insert(b, TVI_LAST, u"b1");
        SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a));
        height = static_cast<int>(SendMessageW(tree, TVM_GETITEMHEIGHT, 0, 0));
        indent = static_cast<int>(SendMessageW(tree, TVM_GETINDENT, 0, 0));
        Notes().clear();
    }
    COLORREF Pixel(int x, int y) {
        UpdateWindow(tree);
        POINT p = OnScreen(POINT{x, y});
        return ScreenPixel(p.x, p.y);
    }
    HTREEITEM a{}, a1{}, b{}, b1{};
    int height = 0, indent = 0;
};

TEST_F(TreeView, HitTestFlags) {
    MakeSmallTree(kLinesAndButtons);
    RECT client;
    GetClientRect(tree, &client);
    RECT labelA = ItemRect(a, TRUE), labelA1 = ItemRect(a1, TRUE);
    int midA = height / 2, midA1 = height + height / 2;
    struct Row {
        POINT pt;
        UINT flags;
        HTREEITEM *item;
    } rows[] = {
        {{labelA.left + 1, midA}, TVHT_ONITEMLABEL, &a},
        {{labelA.right + 2, midA}, TVHT_ONITEMRIGHT, &a},
        {{indent / 2, midA}, TVHT_ONITEMBUTTON, &a},
        {{indent / 2, midA1}, TVHT_ONITEMINDENT, &a1},  // the parent's column, not a1's button
        {{indent + indent / 2, midA1}, TVHT_ONITEMINDENT, &a1},  // a leaf shows no button
        {{labelA1.left, midA1}, TVHT_ONITEMLABEL, &a1},
        {{10, 3 * height + 1}, TVHT_NOWHERE, nullptr},  // below the last shown row
        {{-1, 5}, TVHT_TOLEFT, nullptr},
        {{5, -1}, TVHT_ABOVE, nullptr},
        {{client.right + 3, client.bottom}, TVHT_TORIGHT | TVHT_BELOW, nullptr},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        TVHITTESTINFO info{rows[i].pt, 0xDEAD, reinterpret_cast<HTREEITEM>(uintptr_t{0xBEEF})};
        HTREEITEM expected = rows[i].item ? *rows[i].item : nullptr;
        EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info))),
                  expected)
            << "row " << i;
        EXPECT_EQ(info.flags, rows[i].flags) << "row " << i;
        EXPECT_EQ(info.hItem, expected) << "row " << i;
    }
    // With an image list the image lies between the button and the label.
    HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK, 1, 1);
    SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), images);
    RECT withImage = ItemRect(a, TRUE);
    EXPECT_GE(withImage.left, labelA.left + 16);
    TVHITTESTINFO info{{withImage.left - 8, midA}, 0, nullptr};
    SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.flags, UINT{TVHT_ONITEMICON});
    EXPECT_EQ(info.hItem, a);
    SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    ImageList_Destroy(images);
}

TEST_F(TreeView, ItemRectsAndScrollingKeepTheSelectionInView) {
    MakeTree(kLinesAndButtons, RECT{0, 0, 120, 100});
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 12; ++i) {
        std::u16string text = u"item" + std::u16string(1, char16_t(u'A' + i));
        items.push_back(Insert(TVI_ROOT, TVI_LAST, text.c_str()));
    }
    HTREEITEM hidden = Insert(items[0], TVI_LAST, u"child");
    int h = static_cast<int>(SendMessageW(tree, TVM_GETITEMHEIGHT, 0, 0));
    int visible = static_cast<int>(SendMessageW(tree, TVM_GETVISIBLECOUNT, 0, 0));
    ASSERT_GT(h, 0);
    EXPECT_EQ(visible, 100 / h);
    ASSERT_LT(visible, 12);
    EXPECT_TRUE(GetWindowLongW(tree, GWL_STYLE) & WS_VSCROLL);  // more rows than fit
    RECT client;
    GetClientRect(tree, &client);
    RECT r = ItemRect(items[1], FALSE);
    EXPECT_EQ(r.top, h);
    EXPECT_EQ(r.bottom, 2 * h);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, client.right);
    EXPECT_EQ(ItemRect(hidden, FALSE).top, -1);  // inside a closed branch: no rectangle

    struct Step {
        const char *name;
        std::function<void()> act;
        int first;  // index of the first shown item
    };
    int last = 11;
    std::vector<Step> steps = {
        {"selecting the last item", [&] { SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(items[last])); },
         last - visible + 1},
        {"a line up", [&] { SendMessageW(tree, WM_VSCROLL, SB_LINEUP, 0); }, last - visible},
        {"to the top", [&] { SendMessageW(tree, WM_VSCROLL, SB_TOP, 0); }, 0},
        {"a key moves the caret back into view",
         [&] {
             SendMessageW(tree, WM_KEYDOWN, VK_UP, 0);
         },
         last - 1 - visible + 1},
        {"a page down past the end", [&] { SendMessageW(tree, WM_VSCROLL, SB_PAGEDOWN, 0); }, 12 - visible},
        {"first visible chosen", [&] { SendMessageW(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, LPARAM(items[2])); }, 2},
        {"ensure visible of a shown item does not scroll",
         [&] { EXPECT_EQ(SendMessageW(tree, TVM_ENSUREVISIBLE, 0, LPARAM(items[3])), 0); }, 2},
        {"ensure visible scrolls", [&] { EXPECT_NE(SendMessageW(tree, TVM_ENSUREVISIBLE, 0, LPARAM(items[0])), 0); },
         0},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].act();
        HTREEITEM first = Next(nullptr, TVGN_FIRSTVISIBLE);
        EXPECT_EQ(first, items[static_cast<size_t>(steps[i].first)]) << "step " << i << " " << steps[i].name;
        EXPECT_EQ(ItemRect(items[0], FALSE).top, -steps[i].first * h) << "step " << i << " " << steps[i].name;
        SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, -1, 0};
        GetScrollInfo(tree, SB_VERT, &si);
        EXPECT_EQ(si.nPos, steps[i].first) << "step " << i << " " << steps[i].name;
    }
    // Rows that fit again take the bar away.
    SendMessageW(tree, TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
    Insert(TVI_ROOT, TVI_LAST, u"alone");
    EXPECT_FALSE(GetWindowLongW(tree, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(TreeView, LinesButtonsAndSelectionPixels) {
    MakeSmallTree(kLinesAndButtons);
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a1));
    SetFocus(tree);
    wince::PumpReadyMessages();
    const COLORREF window = GetSysColor(COLOR_WINDOW), ink = GetSysColor(COLOR_WINDOWTEXT),
                   line = GetSysColor(COLOR_GRAYTEXT), highlight = GetSysColor(COLOR_HIGHLIGHT);
    int midA = height / 2, midA1 = height + height / 2, midB = 2 * height + height / 2;
    int col0 = indent / 2, col1 = indent + indent / 2, box = 9;
    struct Row {
        const char *name;
        int x, y;
        COLORREF color;
    } rows[] = {
        {"a's button, frame corner", col0 - box / 2, midA - box / 2, line},
        {"a's button, minus", col0 - 2, midA, ink},
        {"a's button, no upright: it is open", col0, midA - 2, window},
        {"a's button, inside", col0 - 2, midA - 2, window},
        {"b's button, upright of the plus", col0, midB - 2, ink},
        {"b's button, minus bar of the plus", col0 + 2, midB, ink},
        {"a1's joint, a dot", col1, midA1 - (midA1 & 1), line},
        {"a1's horizontal line, dotted on", col1 + 2 + (col1 & 1), midA1, line},
        {"a1's horizontal line, dotted off", col1 + 3 + (col1 & 1), midA1, window},
        {"the root line passing a1", col0, height + 2 + (height & 1), line},
        {"no line below the last item", col0, 3 * height - 1, window},
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(Pixel(rows[i].x, rows[i].y), rows[i].color) << "row " << i << " " << rows[i].name;

    // The selection: highlighted while the tree has the focus, gone without
    // it, and kept in a quieter colour with TVS_SHOWSELALWAYS.
    RECT label = ItemRect(a1, TRUE);
    struct Case {
        bool focused;
        DWORD extra;
        COLORREF fill;
    } cases[] = {{true, 0, highlight}, {false, 0, window}, {false, TVS_SHOWSELALWAYS, GetSysColor(COLOR_BTNFACE)}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        SetWindowLongW(tree, GWL_STYLE, static_cast<LONG>(WS_CHILD | WS_VISIBLE | kLinesAndButtons | cases[i].extra));
        SetFocus(cases[i].focused ? tree : parent);
        InvalidateRect(tree, nullptr, TRUE);
        wince::PumpReadyMessages();
        EXPECT_EQ(Pixel(label.left, label.top), cases[i].fill) << "case " << i;
        EXPECT_EQ(Pixel(label.right - 1, label.bottom - 1), cases[i].fill) << "case " << i;
        EXPECT_EQ(Pixel(label.right, label.top), window) << "case " << i;
    }
}

TEST_F(TreeView, GeometryFollowsTheDevicesDpi) {
    struct Row {
        int dpi;
        int indent, box;
    } rows[] = {{96, 16, 9}, {192, 32, 19}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        UseDpi(rows[i].dpi);
        if (tree) DestroyWindow(tree);
        MakeSmallTree(kLinesAndButtons);
        EXPECT_EQ(indent, rows[i].indent) << "row " << i;
        // The button's frame: its top corners, and the window colour just
        // outside them.
        int top = height / 2 - rows[i].box / 2, left = indent / 2 - rows[i].box / 2, right = left + rows[i].box - 1;
        const COLORREF frame = GetSysColor(COLOR_GRAYTEXT), window = GetSysColor(COLOR_WINDOW);
        EXPECT_EQ(Pixel(left, top), frame) << "row " << i;
        EXPECT_EQ(Pixel(right, top), frame) << "row " << i;
        EXPECT_EQ(Pixel(left - 1, top), window) << "row " << i;
        EXPECT_EQ(Pixel(right + 1, top), window) << "row " << i;
        EXPECT_EQ(Pixel(left, top - 1), window) << "row " << i;
    }
}

TEST_F(TreeView, WithoutLinesAtTheRootTopItemsHaveNoButton) {
    MakeSmallTree(TVS_HASBUTTONS | TVS_HASLINES);
    RECT labelA = ItemRect(a, TRUE), labelA1 = ItemRect(a1, TRUE);
    EXPECT_EQ(labelA.left, 0);
    EXPECT_EQ(labelA1.left, indent);
    TVHITTESTINFO info{{2, height / 2}, 0, nullptr};
    SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.flags, UINT{TVHT_ONITEMLABEL});
}

TEST_F(TreeView, DumpReportsItemsInDisplayOrderAndTheirLabels) {
    MakeSmallTree(kLinesAndButtons);
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a1));
    wince::PumpReadyMessages();
    Json dump = Json::parse(wince::WindowDumpJson());
    const Json *found = nullptr;
    std::function<void(const Json &)> find = [&](const Json &windows) {
        for (const Json &w : windows) {
            if (w["class"] == "SysTreeView32") found = &w;
            find(w["children"]);
        }
    };
    find(dump["windows"]);
    ASSERT_NE(found, nullptr);
    const Json &items = (*found)["items"];
    struct Row {
        const char *text;
        int level;
        bool expanded, selected, hasButton, shown;
        HTREEITEM *item;
    } rows[] = {
        {"a", 0, true, false, true, true, &a},
        {"a1", 1, false, true, false, true, &a1},
        {"b", 0, false, false, true, true, &b},
        {"b1", 1, false, false, false, false, &b1},
    };
    ASSERT_EQ(items.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Json &it = items[i];
        EXPECT_EQ(it["text"], rows[i].text) << "row " << i;
        EXPECT_EQ(it["level"], rows[i].level) << "row " << i;
        EXPECT_EQ(it["expanded"], rows[i].expanded) << "row " << i;
        EXPECT_EQ(it["selected"], rows[i].selected) << "row " << i;
        EXPECT_EQ(it["hasButton"], rows[i].hasButton) << "row " << i;
        RECT expected{};
        if (rows[i].shown) {
            expected = ItemRect(*rows[i].item, TRUE);
            MapWindowPoints(tree, nullptr, reinterpret_cast<POINT *>(&expected), 2);
        }
        EXPECT_EQ(it["rect"], Json::array({expected.left, expected.top, expected.right, expected.bottom}))
            << "row " << i;
    }
    // A tap at the middle of a reported label chooses that item.
    const Json &rb = items[2]["rect"];
    dialog_test::Tap(POINT{(rb[0].get<int>() + rb[2].get<int>()) / 2, (rb[1].get<int>() + rb[3].get<int>()) / 2});
    wince::PumpReadyMessages();
    EXPECT_EQ(Next(nullptr, TVGN_CARET), b);
}

}  // namespace
