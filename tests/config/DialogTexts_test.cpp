// Dialog texts and string-table texts through the translation table.
#include "config/LocalizationTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "temp_device.h"

namespace {

// An in-memory dialog: a static "Open", an empty edit box and a combo box.
std::vector<WORD> Template() {
    std::vector<WORD> t;
    auto dword = [&](DWORD v) { t.push_back(LOWORD(v)), t.push_back(HIWORD(v)); };
    auto text = [&](const char16_t *s) {
        for (; *s; ++s) t.push_back(*s);
        t.push_back(0);
    };
    auto align = [&] {
        if (t.size() % 2) t.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION), dword(0);
    t.push_back(3), t.push_back(0), t.push_back(0), t.push_back(100), t.push_back(60);
    t.push_back(0), t.push_back(0);
    text(u"Options");
    const struct {
        DWORD style;
        WORD id;
        WORD atom;
        const char16_t *text;
    } items[] = {{WS_CHILD | WS_VISIBLE, 10, 0x0082, u"Open"},
                 {WS_CHILD | WS_VISIBLE | WS_BORDER, 11, 0x0081, u""},
                 {WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 12, 0x0085, u""}};
    for (const auto &item : items) {
        align();
        dword(item.style), dword(0);
        t.push_back(5), t.push_back(5), t.push_back(40), t.push_back(12), t.push_back(item.id);
        t.push_back(0xFFFF), t.push_back(item.atom);
        text(item.text);
        t.push_back(0);
    }
    return t;
}

class DialogTextsTest : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        setenv("WINCE_PROGRAM", "\\Program Files\\Test\\test.exe", 1);
        LocalizationTable::Release();
    }
    void TearDown() override {
        LocalizationTable::Release();
        unsetenv("WINCE_PROGRAM");
    }
};

TEST_F(DialogTextsTest, TitleDirectChildrenAndComboItemsAreTranslated) {
    device.WriteHostFile("\\Program Files\\Test\\localization.txt",
                         "|x\nOptions|R\xE9glages\nOpen|Ouvrir\nDelete|Supprimer\n");
    ASSERT_TRUE(LoadTranslations(u"\\localization.txt"));
    std::vector<WORD> t = Template();
    HWND dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATE>(t.data()), nullptr,
                                             [](HWND, UINT, WPARAM, LPARAM) -> BOOL { return FALSE; }, 0);
    ASSERT_NE(dialog, nullptr);
    HWND combo = GetDlgItem(dialog, 12);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Open"));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Keep"));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Delete"));
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    TranslateDialogTexts(dialog);
    WCHAR text[64];
    GetWindowTextW(dialog, text, 64);
    EXPECT_EQ(std::u16string(text), u"R\u00e9glages");
    GetDlgItemTextW(dialog, 10, text, 64);
    EXPECT_EQ(std::u16string(text), u"Ouvrir");
    GetDlgItemTextW(dialog, 11, text, 64);
    EXPECT_EQ(std::u16string(text), u"x");  // an empty text has a translation of its own
    const char16_t *items[] = {u"Ouvrir", u"Keep", u"Supprimer"};
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::u16string(text), items[i]) << "item " << i;
    }
    DestroyWindow(dialog);
    TranslateDialogTexts(dialog);  // a window that no longer exists: nothing happens
    TranslateDialogTexts(nullptr);
}

}  // namespace
