// FindResourceW, LoadStringW and the binary formats wince-rc writes: the
// expected bytes are written out here field by field from the Win32 formats.
#include <cstring>

#include "module_fixture.h"
#include "testmodule/resource.h"

namespace {

using module_testing::kSentinel;
using module_testing::Loaded;
using module_testing::ModuleTest;

// Little-endian fields, written by hand in the tests below.
struct Bytes {
    std::vector<uint8_t> v;
    Bytes &W(uint16_t x) { return v.push_back(x & 0xFF), v.push_back(x >> 8), *this; }
    Bytes &D(uint32_t x) { return W(x & 0xFFFF).W(x >> 16); }
    Bytes &S(const std::u16string &s) {
        for (char16_t c : s) W(c);
        return W(0);
    }
};

std::vector<uint8_t> ResourceOf(HMODULE m, LPCWSTR name, LPCWSTR type) {
    HRSRC found = FindResourceW(m, name, type);
    if (!found) return {};
    auto *data = static_cast<const uint8_t *>(LockResource(LoadResource(m, found)));
    return std::vector<uint8_t>(data, data + SizeofResource(m, found));
}

class Resource : public ModuleTest {
   protected:
    void SetUp() override {
        ModuleTest::SetUp();
        module = LoadLibraryW(u"\\Windows\\testmodule.dll");
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
        ModuleTest::TearDown();
    }
    HMODULE module = nullptr;
};

TEST_F(Resource, SmallDialogTemplate) {
    Bytes e;
    e.D(0x80C000C0).D(0).W(4).W(10).W(20).W(80).W(40);  // DS_MODALFRAME|WS_POPUP|WS_CAPTION|DS_SETFONT, 4 items
    e.W(0).W(0).S(u"Hi").W(8).S(u"Tahoma");               // no menu, no class, caption, font
    // offset 44, already DWORD-aligned
    e.D(0x50020000).D(0).W(2).W(3).W(20).W(8).W(IDC_LABEL).W(0xFFFF).W(0x0082).S(u"A").W(0);  // LTEXT
    e.D(0x50810080).D(0).W(24).W(2).W(40).W(12).W(IDC_EDIT).W(0xFFFF).W(0x0081).S(u"").W(0);  // EDITTEXT
    e.W(0);                                                                                     // pad 98 -> 100
    e.D(0x50000000).D(0).W(2).W(20).W(30).W(14).W(IDOK).W(0xFFFF).W(0x0080).S(u"Go").W(0);     // NOT WS_TABSTOP
    e.W(0);                                                                                     // pad 130 -> 132
    e.D(0x50800000).D(0x200).W(40).W(20).W(30).W(14).W(IDC_CUSTOM).S(u"MyClass").S(u"").W(0);
    EXPECT_EQ(ResourceOf(module, MAKEINTRESOURCEW(IDD_SMALL), RT_DIALOG), e.v);
    EXPECT_EQ(e.v.size(), 170u);
}

// Each control statement's class and implied styles, in the order of IDD_ALL.
TEST_F(Resource, ControlStatementDefaults) {
    const uint32_t child = WS_CHILD | WS_VISIBLE;
    struct Row {
        uint16_t atom;
        uint32_t style;
    } rows[] = {
        {0x82, child | SS_LEFT | WS_GROUP},
        {0x82, child | SS_CENTER | WS_GROUP},
        {0x82, child | SS_RIGHT | WS_GROUP},
        {0x81, child | ES_LEFT | WS_BORDER | WS_TABSTOP},
        {0x80, child | BS_PUSHBUTTON | WS_TABSTOP},
        {0x80, child | BS_DEFPUSHBUTTON | WS_TABSTOP},
        {0x80, child | BS_CHECKBOX | WS_TABSTOP},
        {0x80, child | BS_AUTOCHECKBOX | WS_TABSTOP},
        {0x80, child | BS_RADIOBUTTON | WS_TABSTOP},
        {0x80, child | BS_AUTORADIOBUTTON | WS_TABSTOP},
        {0x80, child | BS_GROUPBOX},
        {0x82, child | SS_ICON},
        {0x85, child | CBS_DROPDOWNLIST | WS_TABSTOP},  // CBS_SIMPLE | CBS_DROPDOWNLIST
        {0x83, child | LBS_NOTIFY | WS_BORDER},
        {0x84, child | 0},  // SBS_HORZ
        {0x80, child | BS_AUTOCHECKBOX},  // CONTROL: only what is written
    };
    std::vector<uint8_t> t = ResourceOf(module, MAKEINTRESOURCEW(IDD_ALL), RT_DIALOG);
    ASSERT_GT(t.size(), 24u);
    auto word = [&](size_t at) { return static_cast<uint16_t>(t[at] | (t[at + 1] << 8)); };
    auto skipText = [&](size_t at) {
        if (word(at) == 0xFFFF) return at + 4;
        while (word(at)) at += 2;
        return at + 2;
    };
    EXPECT_EQ(word(8), std::size(rows));
    EXPECT_EQ(uint32_t(word(0) | (word(2) << 16)), uint32_t(WS_POPUP | WS_BORDER | WS_SYSMENU));  // no STYLE given
    size_t at = skipText(skipText(18) /* menu */) /* class */;
    at = skipText(at);  // caption
    for (size_t i = 0; i < std::size(rows); ++i) {
        at = (at + 3) & ~size_t{3};
        ASSERT_LT(at + 22, t.size()) << "row " << i;
        EXPECT_EQ(uint32_t(word(at) | (word(at + 2) << 16)), rows[i].style) << "row " << i;
        EXPECT_EQ(word(at + 16), i + 1) << "row " << i;
        EXPECT_EQ(word(at + 18), 0xFFFF) << "row " << i;
        EXPECT_EQ(word(at + 20), rows[i].atom) << "row " << i;
        at += 22;
        if (i == 11) {
            EXPECT_EQ(word(at + 2), IDI_TWO);  // the icon's name as an ordinal
        }
        at = skipText(at);
        at += 2 + word(at);  // creation data
    }
    EXPECT_EQ(at, t.size());
}

TEST_F(Resource, MenuTemplate) {
    Bytes e;
    e.W(0).W(0);                                                   // MENUITEMTEMPLATEHEADER
    e.W(MF_POPUP).S(u"&File");                                     //
    e.W(0).W(IDM_OPEN).S(u"&Open");                                //
    e.W(0).W(0).S(u"");                                            // SEPARATOR
    e.W(MF_GRAYED | MF_END).W(IDM_EXIT).S(u"E&xit");               // last of the popup
    e.W(MF_CHECKED | MF_END).W(IDM_HELP).S(u"&Help");              // last of the bar
    EXPECT_EQ(ResourceOf(module, MAKEINTRESOURCEW(IDR_MENU), RT_MENU), e.v);
    // The template read back as a menu: a popup and an item on the bar.
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MENU));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    HMENU file = GetSubMenu(menu, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(GetMenuItemID(file, 0), UINT{IDM_OPEN});
    EXPECT_EQ(GetMenuItemID(file, 2), UINT{IDM_EXIT});
    EXPECT_EQ(EnableMenuItem(file, IDM_EXIT, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(CheckMenuItem(menu, IDM_HELP, MF_BYCOMMAND), DWORD{MF_CHECKED});
    DestroyMenu(menu);
}

TEST_F(Resource, FindResourceByIdNameAndErrors) {
    EXPECT_EQ(ResourceOf(module, u"README", RT_RCDATA), (std::vector<uint8_t>{'a', 'b', 0x43, 0x44, 0x45, 0x46, 0x47, 0x48}));
    EXPECT_NE(FindResourceW(module, u"readme", RT_RCDATA), nullptr);  // names ignore case
    EXPECT_NE(FindResourceW(module, u"#100", MAKEINTRESOURCEW(5)), nullptr);
    EXPECT_NE(FindResourceW(module, u"#400", u"#14"), nullptr);
    struct Row {
        HMODULE module;
        LPCWSTR name, type;
        DWORD error;
    } rows[] = {
        {module, MAKEINTRESOURCEW(999), RT_DIALOG, ERROR_RESOURCE_NAME_NOT_FOUND},
        {module, u"NOSUCH", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
        {module, MAKEINTRESOURCEW(IDD_SMALL), RT_ACCELERATOR, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {module, u"README", u"CUSTOM", ERROR_RESOURCE_TYPE_NOT_FOUND},
        {module, u"README", nullptr, ERROR_INVALID_PARAMETER},
        {reinterpret_cast<HMODULE>(0x7770000), u"README", RT_RCDATA, ERROR_INVALID_HANDLE},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(kSentinel);
        EXPECT_EQ(FindResourceW(rows[i].module, rows[i].name, rows[i].type), nullptr) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
    }
    // An HRSRC belongs to its module.
    HRSRC dialog = FindResourceW(module, MAKEINTRESOURCEW(IDD_SMALL), RT_DIALOG);
    SetLastError(kSentinel);
    EXPECT_EQ(SizeofResource(GetModuleHandleW(nullptr), dialog), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_RESOURCE_DATA_NOT_FOUND});
    EXPECT_FALSE(FreeResource(LoadResource(module, dialog)));
}

TEST_F(Resource, LoadStringCopiesTruncatesAndPoints) {
    struct Row {
        UINT id;
        int size;
        int result;
        std::u16string text;
    } rows[] = {
        {IDS_GREETING, 64, 13, u"Hello, device"},
        {IDS_GREETING, 14, 13, u"Hello, device"},
        {IDS_GREETING, 13, 12, u"Hello, devic"},
        {IDS_GREETING, 1, 0, u""},
        {IDS_QUOTES, 64, 12, u"Say \"hi\"\tnow"},
        {IDS_FAR, 64, 8, u"Block 19"},
        {3, 64, 0, u""},     // a free slot of a block that exists
        {5000, 64, 0, u""},  // a block that does not
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        WCHAR buffer[80];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        EXPECT_EQ(LoadStringW(module, rows[i].id, buffer, rows[i].size), rows[i].result) << "row " << i;
        EXPECT_EQ(std::u16string(buffer), rows[i].text) << "row " << i;
        EXPECT_EQ(buffer[rows[i].size], u'#') << "row " << i;
    }
    const WCHAR *direct = nullptr;
    EXPECT_EQ(LoadStringW(module, IDS_GREETING, reinterpret_cast<LPWSTR>(&direct), 0), 13);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(std::u16string(direct, 13), u"Hello, device");
    // The program's own strings, through GetModuleHandle(NULL) and NULL itself.
    WCHAR buffer[40];
    EXPECT_EQ(LoadStringW(GetModuleHandleW(nullptr), 7, buffer, 40), 16);
    EXPECT_EQ(std::u16string(buffer), u"From the program");
    EXPECT_EQ(LoadStringW(nullptr, 7, buffer, 40), 16);
    EXPECT_EQ(LoadStringW(module, 7, buffer, 40), 0);
}

}  // namespace
