// Conformance of the registry functions: exact return codes, sizes and
// out-parameters, as the device gives them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_device.h"

namespace {

const DWORD kSentinel = 0xDEADBEEF;
HKEY const kBadKey = reinterpret_cast<HKEY>(uintptr_t{0x1234567});

class RegistryApi : public testing_support::DeviceTest {
   protected:
    HKEY Create(HKEY parent, const char16_t *path) {
        HKEY key = nullptr;
        DWORD disposition = kSentinel;
        EXPECT_EQ(RegCreateKeyExW(parent, path, 0, nullptr, 0, 0, nullptr, &key, &disposition), ERROR_SUCCESS);
        return key;
    }
    void SetString(HKEY key, const char16_t *name, const std::u16string &text) {
        ASSERT_EQ(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * 2)),
                  ERROR_SUCCESS);
    }
    void SetDword(HKEY key, const char16_t *name, DWORD v) {
        ASSERT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&v), 4), ERROR_SUCCESS);
    }
};

TEST_F(RegistryApi, CreateAndOpenDispositions) {
    HKEY key = reinterpret_cast<HKEY>(uintptr_t{1});
    DWORD disposition = kSentinel;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Varnhold", 0, 0, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Varnhold\\Pelloran", 0, nullptr, 0, 0, nullptr, &key,
                              &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD{REG_CREATED_NEW_KEY});
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    disposition = kSentinel;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\varnhold\\PELLORAN", 0, nullptr, 0, 0, nullptr, &key,
                              &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD{REG_OPENED_EXISTING_KEY});
    // Intermediate keys were made, one level at a time, with the case they were given.
    HKEY middle = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\VARNHOLD", 0, 0, &middle), ERROR_SUCCESS);
    WCHAR name[32];
    DWORD cch = 32;
    ASSERT_EQ(RegEnumKeyExW(middle, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name), u"Pelloran");
    EXPECT_EQ(cch, 8u);
    // NULL and "" open a new handle to the same key.
    HKEY same1 = nullptr, same2 = nullptr;
    ASSERT_EQ(RegOpenKeyExW(key, nullptr, 0, 0, &same1), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExW(key, u"", 0, 0, &same2), ERROR_SUCCESS);
    EXPECT_NE(same1, key);
    SetDword(same1, u"Seen", 7);
    DWORD v = 0, cb = 4;
    EXPECT_EQ(RegQueryValueExW(same2, u"seen", nullptr, nullptr, reinterpret_cast<BYTE *>(&v), &cb), ERROR_SUCCESS);
    EXPECT_EQ(v, 7u);
    for (HKEY h : {key, middle, same1, same2}) EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryApi, ArgumentsAreValidatedFirst) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Test"), unused = nullptr;
    DWORD size = kSentinel, type = kSentinel, reserved = 0;
    BYTE data[4];
    WCHAR name[8];
    struct Row {
        LONG actual, expected;
    } rows[] = {
        {RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, 0, nullptr), ERROR_INVALID_PARAMETER},
        {RegCreateKeyExW(HKEY_CURRENT_USER, u"x", 0, nullptr, 0, 0, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER},
        {RegOpenKeyExW(kBadKey, u"Software", 0, 0, &unused), ERROR_INVALID_HANDLE},
        {RegQueryValueExW(kBadKey, u"x", nullptr, &type, nullptr, &size), ERROR_INVALID_HANDLE},
        {RegQueryValueExW(key, u"x", nullptr, &type, data, nullptr), ERROR_INVALID_PARAMETER},
        {RegQueryValueExW(key, u"x", &reserved, &type, nullptr, &size), ERROR_INVALID_PARAMETER},
        {RegSetValueExW(key, u"x", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER},
        {RegSetValueExW(kBadKey, u"x", 0, REG_BINARY, data, 4), ERROR_INVALID_HANDLE},
        {RegSetValueExW(key, u"line\nbreak", 0, REG_BINARY, data, 4), ERROR_INVALID_PARAMETER},
        {RegDeleteValueW(kBadKey, u"x"), ERROR_INVALID_HANDLE},
        {RegDeleteKeyW(key, nullptr), ERROR_INVALID_PARAMETER},
        {RegDeleteKeyW(kBadKey, u"x"), ERROR_INVALID_HANDLE},
        {RegEnumKeyExW(key, 0, nullptr, &size, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER},
        {RegEnumKeyExW(key, 0, name, nullptr, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER},
        {RegEnumKeyExW(kBadKey, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE},
        {RegEnumValueW(key, 0, nullptr, &size, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER},
        {RegEnumValueW(kBadKey, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE},
        {RegQueryInfoKeyW(kBadKey, nullptr, nullptr, nullptr, &size, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr),
         ERROR_INVALID_HANDLE},
        {RegFlushKey(kBadKey), ERROR_INVALID_HANDLE},
        {RegFlushKey(key), ERROR_SUCCESS},
        {RegCloseKey(kBadKey), ERROR_INVALID_HANDLE},
        {RegCreateKeyExW(HKEY_CURRENT_USER, u"a\\\\b", 0, nullptr, 0, 0, nullptr, &unused, nullptr), ERROR_BAD_PATHNAME},
    };
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(rows[i].actual, rows[i].expected) << "row " << i;
    EXPECT_EQ(type, kSentinel);  // failed calls leave the out-parameters alone
}

TEST_F(RegistryApi, QueryValueSizesAndErrors) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Query");
    SetString(key, u"Greeting", u"hello");  // 12 bytes with the terminator
    SetString(key, nullptr, u"default");    // the default value
    DWORD type = kSentinel, size = kSentinel;
    // Size only.
    EXPECT_EQ(RegQueryValueExW(key, u"GREETING", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD{REG_SZ});
    EXPECT_EQ(size, 12u);
    // Buffer too small: nothing copied, the needed size returned.
    BYTE buffer[32];
    memset(buffer, 0xAB, sizeof buffer);
    size = 11;
    type = kSentinel;
    EXPECT_EQ(RegQueryValueExW(key, u"Greeting", nullptr, &type, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(buffer[0], 0xAB);
    // Exact size.
    size = 12;
    EXPECT_EQ(RegQueryValueExW(key, u"Greeting", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t *>(buffer)), u"hello");
    EXPECT_EQ(buffer[12], 0xAB);
    // NULL and "" both name the default value.
    for (const char16_t *name : {static_cast<const char16_t *>(nullptr), u""}) {
        size = sizeof buffer;
        EXPECT_EQ(RegQueryValueExW(key, name, nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
        EXPECT_EQ(std::u16string(reinterpret_cast<char16_t *>(buffer)), u"default");
    }
    // Existence check with neither buffer nor size.
    EXPECT_EQ(RegQueryValueExW(key, u"Greeting", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    size = kSentinel;
    type = kSentinel;
    EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(size, kSentinel);
    EXPECT_EQ(type, kSentinel);
    EXPECT_EQ(RegDeleteValueW(key, u"greeting"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, u"Greeting"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key, u"Greeting", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(RegistryApi, NamesIgnoreCaseAndKeepTheirCase) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Case");
    SetDword(key, u"MixedCase", 1);
    SetDword(key, u"MIXEDCASE", 2);  // the same value: its name keeps the first spelling
    SetDword(key, u"\u00c9t\u00e9", 3);
    SetDword(key, u"\u00e9T\u00c9", 4);
    WCHAR name[16];
    DWORD cch = 16, v = 0, cb = 4;
    ASSERT_EQ(RegEnumValueW(key, 0, name, &cch, nullptr, nullptr, reinterpret_cast<BYTE *>(&v), &cb), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name), u"MixedCase");
    EXPECT_EQ(v, 2u);
    cch = 16, cb = 4;
    ASSERT_EQ(RegEnumValueW(key, 1, name, &cch, nullptr, nullptr, reinterpret_cast<BYTE *>(&v), &cb), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name), u"\u00c9t\u00e9");
    EXPECT_EQ(v, 4u);
    cch = 16;
    EXPECT_EQ(RegEnumValueW(key, 2, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryApi, EnumerationOrder) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Enum");
    for (const char16_t *sub : {u"delta", u"Bravo", u"alpha", u"Charlie", u"_under", u"10"}) RegCloseKey(Create(key, sub));
    for (const char16_t *value : {u"zeta", u"Alpha", u"mid"}) SetDword(key, value, 0);
    // Subkeys sorted ignoring case.
    const char16_t *expectedKeys[] = {u"10", u"alpha", u"Bravo", u"Charlie", u"delta", u"_under"};
    for (DWORD i = 0; i < std::size(expectedKeys); ++i) {
        WCHAR name[16];
        DWORD cch = 16;
        ASSERT_EQ(RegEnumKeyExW(key, i, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS) << "row " << i;
        EXPECT_EQ(std::u16string(name), expectedKeys[i]) << "row " << i;
        EXPECT_EQ(cch, std::u16string(expectedKeys[i]).size()) << "row " << i;
    }
    WCHAR name[16];
    DWORD cch = 16;
    EXPECT_EQ(RegEnumKeyExW(key, 6, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    // Too small a buffer: the length without the terminator.
    cch = 7;
    EXPECT_EQ(RegEnumKeyExW(key, 3, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(cch, 7u);
    // Values in the order they were made.
    const char16_t *expectedValues[] = {u"zeta", u"Alpha", u"mid"};
    for (DWORD i = 0; i < 3; ++i) {
        cch = 16;
        DWORD type = kSentinel, size = kSentinel;
        ASSERT_EQ(RegEnumValueW(key, i, name, &cch, nullptr, &type, nullptr, &size), ERROR_SUCCESS) << "row " << i;
        EXPECT_EQ(std::u16string(name), expectedValues[i]) << "row " << i;
        EXPECT_EQ(type, DWORD{REG_DWORD}) << "row " << i;
        EXPECT_EQ(size, 4u) << "row " << i;
    }
    cch = 4;  // "zeta" needs 5 with the terminator
    EXPECT_EQ(RegEnumValueW(key, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(cch, 4u);
    cch = 16;
    BYTE data[2];
    DWORD size = 2;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &cch, nullptr, nullptr, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);

    DWORD subKeys = kSentinel, maxSubKey = kSentinel, values = kSentinel, maxName = kSentinel, maxData = kSentinel;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxName,
                               &maxData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 6u);
    EXPECT_EQ(maxSubKey, 7u);  // "Charlie"
    EXPECT_EQ(values, 3u);
    EXPECT_EQ(maxName, 5u);  // "Alpha"
    EXPECT_EQ(maxData, 4u);
    RegCloseKey(key);
}

TEST_F(RegistryApi, DeleteKeyTakesItsSubkeys) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Tree\\Branch\\Leaf");
    SetDword(key, u"Depth", 3);
    HKEY branch = Create(HKEY_LOCAL_MACHINE, u"Software\\Tree\\Branch");
    HKEY tree = Create(HKEY_LOCAL_MACHINE, u"Software\\Tree");
    EXPECT_EQ(RegDeleteKeyW(tree, u"Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(tree, u"BRANCH"), ERROR_SUCCESS);
    HKEY opened = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Tree\\Branch\\Leaf", 0, 0, &opened), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Tree\\Branch", 0, 0, &opened), ERROR_FILE_NOT_FOUND);
    DWORD subKeys = kSentinel;
    EXPECT_EQ(RegQueryInfoKeyW(tree, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 0u);

    // Handles to the deleted keys: every operation reports the deletion, even
    // after a key of the same name is made again.
    HKEY again = Create(HKEY_LOCAL_MACHINE, u"Software\\Tree\\Branch\\Leaf");
    DWORD v = 1, size = 4, cch = 8;
    WCHAR name[8];
    for (HKEY gone : {key, branch}) {
        EXPECT_EQ(RegQueryValueExW(gone, u"Depth", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
        EXPECT_EQ(RegSetValueExW(gone, u"x", 0, REG_DWORD, reinterpret_cast<BYTE *>(&v), 4), ERROR_KEY_DELETED);
        EXPECT_EQ(RegDeleteValueW(gone, u"x"), ERROR_KEY_DELETED);
        EXPECT_EQ(RegEnumKeyExW(gone, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
        EXPECT_EQ(RegEnumValueW(gone, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
        EXPECT_EQ(RegOpenKeyExW(gone, nullptr, 0, 0, &opened), ERROR_KEY_DELETED);
        EXPECT_EQ(RegCreateKeyExW(gone, u"sub", 0, nullptr, 0, 0, nullptr, &opened, nullptr), ERROR_KEY_DELETED);
        EXPECT_EQ(RegFlushKey(gone), ERROR_KEY_DELETED);
        EXPECT_EQ(RegCloseKey(gone), ERROR_SUCCESS);
    }
    EXPECT_EQ(RegQueryValueExW(again, u"Depth", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    // An empty subkey deletes the handle's own key; a root cannot go.
    EXPECT_EQ(RegDeleteKeyW(again, u""), ERROR_SUCCESS);
    EXPECT_EQ(RegFlushKey(again), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u""), ERROR_ACCESS_DENIED);
    for (HKEY h : {again, tree}) RegCloseKey(h);
}

TEST_F(RegistryApi, ValuesAreStoredExactlyAsGiven) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Exact");
    const BYTE shortDword[2] = {0x34, 0x12};
    ASSERT_EQ(RegSetValueExW(key, u"Short", 0, REG_DWORD, shortDword, 2), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    BYTE out[8];
    DWORD type = kSentinel, size = sizeof out;
    ASSERT_EQ(RegQueryValueExW(key, u"Short", nullptr, &type, out, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD{REG_DWORD});
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(out[0], 0x34);
    EXPECT_EQ(out[1], 0x12);
    size = kSentinel;
    ASSERT_EQ(RegQueryValueExW(key, u"Empty", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD{REG_BINARY});
    EXPECT_EQ(size, 0u);
    // Values set on a root key directly.
    SetDword(HKEY_CURRENT_USER, u"RootValue", 9);
    size = 4;
    EXPECT_EQ(RegQueryValueExW(HKEY_CURRENT_USER, u"rootvalue", nullptr, nullptr, out, &size), ERROR_SUCCESS);
    RegCloseKey(key);
}

}  // namespace
