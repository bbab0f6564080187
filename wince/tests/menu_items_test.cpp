// Menu building and queries: exact results and last errors.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;

struct MenuGuard {
    HMENU menu;
    ~MenuGuard() { DestroyMenu(menu); }
};

std::u16string TextOf(HMENU menu, UINT item, UINT flags) {
    WCHAR buffer[64];
    int n = GetMenuStringW(menu, item, buffer, 64, flags);
    return std::u16string(buffer, n > 0 ? n : 0);
}

TEST(MenuItems, AppendInsertAndReadBack) {
    MenuGuard m{CreatePopupMenu()};
    HMENU sub = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(m.menu, MF_STRING, 10, u"&Open"));
    ASSERT_TRUE(AppendMenuW(m.menu, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(AppendMenuW(m.menu, MF_STRING | MF_GRAYED, 11, u"Delete"));
    ASSERT_TRUE(AppendMenuW(m.menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"More"));
    ASSERT_TRUE(AppendMenuW(sub, MF_STRING | MF_CHECKED, 20, u"Deep"));
    ASSERT_TRUE(InsertMenuW(m.menu, 0, MF_BYPOSITION | MF_STRING, 9, u"First"));
    ASSERT_TRUE(InsertMenuW(m.menu, 11, MF_BYCOMMAND | MF_STRING, 12, u"Before delete"));
    ASSERT_TRUE(InsertMenuW(m.menu, 99, MF_BYPOSITION | MF_STRING, 13, u"Last"));  // past the end appends
    ASSERT_TRUE(InsertMenuW(m.menu, 20, MF_BYCOMMAND | MF_STRING, 21, u"Deeper"));  // lands in the submenu

    struct Row {
        int pos;
        UINT id;
        const char16_t *text;
        bool popup;
    };
    const Row rows[] = {{0, 9, u"First", false},  {1, 10, u"&Open", false}, {2, 0, u"", false},
                        {3, 12, u"Before delete", false}, {4, 11, u"Delete", false}, {5, UINT(-1), u"More", true},
                        {6, 13, u"Last", false}};
    ASSERT_EQ(GetMenuItemCount(m.menu), 7);
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        EXPECT_EQ(GetMenuItemID(m.menu, r.pos), r.id) << "row " << i;
        EXPECT_EQ(TextOf(m.menu, r.pos, MF_BYPOSITION), r.text) << "row " << i;
        EXPECT_EQ(GetSubMenu(m.menu, r.pos) != nullptr, r.popup) << "row " << i;
    }
    EXPECT_EQ(GetSubMenu(m.menu, 5), sub);
    EXPECT_EQ(GetMenuItemCount(sub), 2);
    EXPECT_EQ(GetMenuItemID(sub, 0), 21u);
    EXPECT_EQ(TextOf(m.menu, 20, MF_BYCOMMAND), u"Deep");  // by command searches submenus
    EXPECT_EQ(GetMenuItemID(m.menu, 7), UINT(-1));
    EXPECT_EQ(GetMenuItemID(m.menu, -1), UINT(-1));
}

TEST(MenuItems, StringLengthAndTruncation) {
    MenuGuard m{CreatePopupMenu()};
    AppendMenuW(m.menu, MF_STRING, 1, u"Rename...");
    EXPECT_EQ(GetMenuStringW(m.menu, 1, nullptr, 0, MF_BYCOMMAND), 9);
    WCHAR small[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetMenuStringW(m.menu, 1, small, 5, MF_BYCOMMAND), 4);
    EXPECT_EQ(std::u16string(small), u"Rena");
    SetLastError(kSentinel);
    EXPECT_EQ(GetMenuStringW(m.menu, 2, small, 5, MF_BYCOMMAND), 0);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_MENU_ITEM_NOT_FOUND});
    EXPECT_EQ(small[0], 0);
}

TEST(MenuItems, EnableAndCheckReturnThePreviousState) {
    MenuGuard m{CreatePopupMenu()};
    AppendMenuW(m.menu, MF_STRING, 1, u"a");
    AppendMenuW(m.menu, MF_STRING | MF_GRAYED | MF_CHECKED, 2, u"b");
    struct Row {
        UINT item, flags;
        BOOL enableResult;
    };
    const Row enable[] = {{1, MF_BYCOMMAND | MF_GRAYED, MF_ENABLED},
                          {1, MF_BYCOMMAND | MF_ENABLED, MF_GRAYED},
                          {0, MF_BYPOSITION | MF_DISABLED, MF_ENABLED},
                          {0, MF_BYPOSITION | MF_ENABLED, MF_DISABLED},
                          {2, MF_BYCOMMAND | MF_ENABLED, MF_GRAYED},
                          {7, MF_BYCOMMAND | MF_ENABLED, -1}};
    for (size_t i = 0; i < std::size(enable); ++i)
        EXPECT_EQ(EnableMenuItem(m.menu, enable[i].item, enable[i].flags), enable[i].enableResult) << "row " << i;
    EXPECT_EQ(CheckMenuItem(m.menu, 2, MF_BYCOMMAND | MF_UNCHECKED), DWORD{MF_CHECKED});
    EXPECT_EQ(CheckMenuItem(m.menu, 2, MF_BYCOMMAND | MF_CHECKED), DWORD{MF_UNCHECKED});
    EXPECT_EQ(CheckMenuItem(m.menu, 5, MF_BYPOSITION | MF_CHECKED), DWORD(-1));
}

TEST(MenuItems, ModifyRemoveAndDeleteOwnSubmenus) {
    MenuGuard m{CreatePopupMenu()};
    HMENU kept = CreatePopupMenu(), dropped = CreatePopupMenu(), replaced = CreatePopupMenu();
    AppendMenuW(m.menu, MF_POPUP, reinterpret_cast<UINT_PTR>(kept), u"kept");
    AppendMenuW(m.menu, MF_POPUP, reinterpret_cast<UINT_PTR>(dropped), u"dropped");
    AppendMenuW(m.menu, MF_POPUP, reinterpret_cast<UINT_PTR>(replaced), u"replaced");
    AppendMenuW(m.menu, MF_STRING, 4, u"four");

    EXPECT_TRUE(ModifyMenuW(m.menu, 3, MF_BYPOSITION | MF_STRING | MF_GRAYED, 40, u"forty"));
    EXPECT_EQ(GetMenuItemID(m.menu, 3), 40u);
    EXPECT_EQ(TextOf(m.menu, 40, MF_BYCOMMAND), u"forty");
    EXPECT_EQ(EnableMenuItem(m.menu, 40, MF_BYCOMMAND), MF_GRAYED);

    EXPECT_TRUE(ModifyMenuW(m.menu, 2, MF_BYPOSITION | MF_STRING, 30, u"thirty"));  // the old submenu goes
    EXPECT_EQ(GetMenuItemCount(replaced), -1);
    EXPECT_TRUE(RemoveMenu(m.menu, 0, MF_BYPOSITION));  // the submenu stays
    EXPECT_EQ(GetMenuItemCount(kept), 0);
    EXPECT_TRUE(DeleteMenu(m.menu, 0, MF_BYPOSITION));  // the submenu goes with it
    SetLastError(kSentinel);
    EXPECT_EQ(GetMenuItemCount(dropped), -1);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_MENU_HANDLE});
    EXPECT_EQ(GetMenuItemCount(m.menu), 2);
    SetLastError(kSentinel);
    EXPECT_FALSE(DeleteMenu(m.menu, 5, MF_BYPOSITION));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_MENU_ITEM_NOT_FOUND});
    EXPECT_TRUE(DestroyMenu(kept));
}

TEST(MenuItems, InvalidHandlesFail) {
    HMENU bogus = reinterpret_cast<HMENU>(0x1234);
    HMENU gone = CreateMenu();
    DestroyMenu(gone);
    for (HMENU h : {bogus, gone, static_cast<HMENU>(nullptr)}) {
        SetLastError(kSentinel);
        EXPECT_FALSE(AppendMenuW(h, MF_STRING, 1, u"x"));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_MENU_HANDLE});
        EXPECT_FALSE(DestroyMenu(h));
        EXPECT_EQ(GetMenuItemCount(h), -1);
    }
    MenuGuard m{CreatePopupMenu()};
    SetLastError(kSentinel);
    EXPECT_FALSE(AppendMenuW(m.menu, MF_POPUP, reinterpret_cast<UINT_PTR>(bogus), u"x"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_MENU_HANDLE});
    EXPECT_EQ(GetMenuItemCount(m.menu), 0);
}

TEST(MenuItems, ItemInfoByMask) {
    MenuGuard m{CreatePopupMenu()};
    HMENU sub = CreatePopupMenu();
    AppendMenuW(m.menu, MF_STRING | MF_CHECKED, 7, u"Seven");
    AppendMenuW(m.menu, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(sub), u"Sub");

    MENUITEMINFOW info;
    memset(&info, 0xCC, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_TYPE | MIIM_SUBMENU;
    WCHAR text[16];
    info.dwTypeData = text;
    info.cch = 16;
    ASSERT_TRUE(GetMenuItemInfoW(m.menu, 7, FALSE, &info));
    EXPECT_EQ(info.wID, 7u);
    EXPECT_EQ(info.fState, UINT{MFS_CHECKED});
    EXPECT_EQ(info.fType, UINT{MFT_STRING});
    EXPECT_EQ(info.hSubMenu, nullptr);
    EXPECT_EQ(info.cch, 5u);
    EXPECT_EQ(std::u16string(text), u"Seven");

    info.dwTypeData = nullptr;  // asks for the length only
    info.cch = 0;
    ASSERT_TRUE(GetMenuItemInfoW(m.menu, 1, TRUE, &info));
    EXPECT_EQ(info.cch, 3u);
    EXPECT_EQ(info.hSubMenu, sub);
    EXPECT_EQ(info.fState, UINT{MF_GRAYED});

    MENUITEMINFOW set{};
    set.cbSize = sizeof set;
    set.fMask = MIIM_TYPE | MIIM_ID | MIIM_DATA;
    set.fType = MFT_STRING;
    set.dwTypeData = const_cast<LPWSTR>(u"Eight");
    set.wID = 8;
    set.dwItemData = 0x55;
    ASSERT_TRUE(SetMenuItemInfoW(m.menu, 0, TRUE, &set));
    EXPECT_EQ(TextOf(m.menu, 8, MF_BYCOMMAND), u"Eight");
    MENUITEMINFOW data{};
    data.cbSize = sizeof data;
    data.fMask = MIIM_DATA | MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoW(m.menu, 8, FALSE, &data));
    EXPECT_EQ(data.dwItemData, ULONG_PTR{0x55});
    EXPECT_EQ(data.fState, UINT{MFS_CHECKED});  // untouched by a change of type

    MENUITEMINFOW wrongSize = set;
    wrongSize.cbSize = sizeof wrongSize - 4;
    SetLastError(kSentinel);
    EXPECT_FALSE(SetMenuItemInfoW(m.menu, 0, TRUE, &wrongSize));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    SetLastError(kSentinel);
    EXPECT_FALSE(GetMenuItemInfoW(m.menu, 9, TRUE, &data));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_MENU_ITEM_NOT_FOUND});
}

TEST(MenuItems, TemplatesBuildMenusAndRefuseDamage) {
    // Header, a popup with two items (the second ends the popup), then the bar's last item.
    const WORD good[] = {0, 0, MF_POPUP, 'F', 0, 0, 101, 'O', 0, MF_END | MF_GRAYED, 102, 'X', 0,
                         MF_END, 103, 'H', 0};
    HMENU menu = LoadMenuIndirectW(good);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_EQ(GetMenuItemCount(popup), 2);
    EXPECT_EQ(GetMenuItemID(popup, 1), 102u);
    EXPECT_EQ(EnableMenuItem(popup, 102, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuItemID(menu, 1), 103u);
    DestroyMenu(menu);

    const WORD extended[] = {1, 4, 0, 0};
    SetLastError(kSentinel);
    EXPECT_EQ(LoadMenuIndirectW(extended), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_DATA});
    SetLastError(kSentinel);
    EXPECT_EQ(LoadMenuIndirectW(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

}  // namespace
