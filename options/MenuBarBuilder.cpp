#include "options/MenuBarBuilder.h"

#include <new>
#include <vector>

#include "appkit/Application.h"
#include "config/LocalizationTable.h"

namespace {

constexpr int kMenuTextLength = 4096;
constexpr int kLabelLength = 255;
constexpr BYTE kDropDownStyle = 0x98;  // drop-down, sized to its text, no arrow
constexpr int kAppend = 0xFFFF;


// The text of a string item, or false for separators and errors.
bool ItemText(HMENU menu, int index, WCHAR *text, int length) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = static_cast<UINT>(length);
    text[0] = 0;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info)) return false;
    return (info.fType & MFT_SEPARATOR) == 0;
}

void SetItemText(HMENU menu, int index, LPCWSTR text) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_TYPE;
    info.fType = MFT_STRING;
    info.dwTypeData = const_cast<LPWSTR>(text);
    SetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info);
}

void TranslateMenuTree(HMENU menu) {
    std::vector<WCHAR> text(kMenuTextLength + 1);
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (ItemText(menu, i, text.data(), kMenuTextLength)) {
            WideString translated = FindTranslation(text.data());
            if (!translated.empty()) SetItemText(menu, i, translated.c_str());
        }
        if (HMENU sub = GetSubMenu(menu, i)) TranslateMenuTree(sub);
    }
}

WideString WithoutAmpersands(const WideString &text) {
    WideString out;
    for (WCHAR c : text)
        if (c != '&') out += c;
    return out;
}

// The popup's items as the bar shows them: no access keys, nothing after a tab.
void CleanPopup(HMENU popup) {
    std::vector<WCHAR> text(kMenuTextLength + 1);
    int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        if (!ItemText(popup, i, text.data(), kMenuTextLength)) continue;
        WideString clean = WithoutAmpersands(text.data());
        size_t tab = clean.find('\t');
        if (tab != WideString::npos) clean.resize(tab);
        SetItemText(popup, i, clean.c_str());
    }
}

}  // namespace

std::unique_ptr<Menu> BuildMenuBar(CommandBar &bar, UINT menuId, int position) {
    HWND hwnd = bar.Handle();
    int count = static_cast<int>(SendMessageW(hwnd, TB_BUTTONCOUNT, 0, 0));
    HMENU menu = LoadMenuW(ProgramInstance(), MAKEINTRESOURCEW(menuId));
    if (menu) TranslateMenuTree(menu);
    int index = position == count ? kAppend : position;
    int items = menu ? GetMenuItemCount(menu) : 0;
    for (int j = 0; j < items; ++j) {
        HMENU popup = GetSubMenu(menu, j);
        if (!popup) break;
        WCHAR text[kLabelLength + 1];
        ItemText(menu, j, text, kLabelLength + 1);
        LPCWSTR label = bar.KeepLabel(WithoutAmpersands(text));
        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = static_cast<int>(FirstBarButtonCommand + j);
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = kDropDownStyle;
        button.iString = reinterpret_cast<INT_PTR>(label);
        SendMessageW(hwnd, TB_INSERTBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
        CleanPopup(popup);
        if (index != kAppend) ++index;
    }
    bar.SetButtonCount(static_cast<int>(SendMessageW(hwnd, TB_BUTTONCOUNT, 0, 0)));
    std::unique_ptr<Menu> object(new (std::nothrow) Menu(menu));
    if (!object) {
        if (menu) DestroyMenu(menu);
        return nullptr;
    }
    Window *owner = bar.Owner();
    if (owner && !owner->MenuObject()) owner->SetMenuObject(object.get());
    return object;
}
