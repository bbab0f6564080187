// The typed registry access every part of the product goes through.
#include "config/RegistryKey.h"

#include <gtest/gtest.h>

#include "config/SettingsKeyPath.h"
#include "registry_values.h"
#include "temp_device.h"

namespace rv = registry_values;
using testing_support::DeviceTest;

namespace {

using RegistryKeyTest = DeviceTest;

TEST_F(RegistryKeyTest, ReadingAMissingStringStoresItsDefault) {
    { RegistryKey make(HKEY_LOCAL_MACHINE, SettingsKeyPath, true, true); }
    RegistryKey key(HKEY_LOCAL_MACHINE, SettingsKeyPath, false, false);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_EQ(key.ReadString(u"InstallDir", u""), u"");
    EXPECT_EQ(rv::ReadString(SettingsKeyPath, u"InstallDir"), u"");
    EXPECT_EQ(key.ReadString(u"InstallDir", u"\\Other"), u"");  // now present: the stored text wins
}

TEST_F(RegistryKeyTest, DwordDefaultsAreWrittenBackUnlessAskedNotTo) {
    RegistryKey key(HKEY_LOCAL_MACHINE, u"Software\\Test", true, true);
    EXPECT_EQ(key.ReadDword(u"A", 17), 17u);
    EXPECT_EQ(rv::ReadDword(u"Software\\Test", u"A"), 17u);
    EXPECT_EQ(key.ReadDword(u"B", NoWriteBack), NoWriteBack);
    EXPECT_FALSE(rv::Read(u"Software\\Test", u"B").has_value());
    // The stored type does not matter: four bytes are four bytes.
    const BYTE bytes[4] = {0x78, 0x56, 0x34, 0x12};
    rv::Write(u"Software\\Test", u"C", REG_BINARY, bytes, 4);
    EXPECT_EQ(key.ReadDword(u"C", 0), 0x12345678u);
}

TEST_F(RegistryKeyTest, UnusableNamesAndValuesAreNoOps) {
    RegistryKey key(HKEY_LOCAL_MACHINE, u"Software\\Test", true, true);
    rv::WriteDword(u"Software\\Test", u"", 99);  // the key's default value must stay untouched
    EXPECT_EQ(key.ReadDword(nullptr, 5), 5u);
    EXPECT_FALSE(key.WriteDword(nullptr, 1));
    EXPECT_EQ(key.ReadString(nullptr, u"x"), u"");
    EXPECT_FALSE(key.WriteString(nullptr, u"x"));
    EXPECT_FALSE(key.WriteString(u"V", nullptr));
    EXPECT_EQ(key.ReadString(u"Missing", nullptr), u"");
    EXPECT_FALSE(rv::Read(u"Software\\Test", u"Missing").has_value());
    EXPECT_EQ(rv::ReadDword(u"Software\\Test", u""), 99u);
}

TEST_F(RegistryKeyTest, AKeyThatCannotBeOpenedGivesDefaultsAndRefusesWrites) {
    RegistryKey key(HKEY_LOCAL_MACHINE, u"Software\\Nowhere", false, true);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.ReadDword(u"X", 3), 3u);
    EXPECT_EQ(key.ReadString(u"Y", u"dflt"), u"dflt");
    EXPECT_FALSE(key.WriteDword(u"X", 1));
    EXPECT_FALSE(key.Close());
    HKEY probe = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Nowhere", 0, 0, &probe), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeyTest, StringsAreStoredWithTheirTerminatorAndReadUpToTheFirstNul) {
    RegistryKey key(HKEY_LOCAL_MACHINE, u"Software\\Test", true, false);
    ASSERT_TRUE(key.WriteString(u"S", u"abc"));
    auto v = rv::Read(u"Software\\Test", u"S");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->type, DWORD(REG_SZ));
    EXPECT_EQ(v->data.size(), 8u);
    const char16_t embedded[] = u"ab\0cd";
    rv::Write(u"Software\\Test", u"E", REG_SZ, embedded, sizeof embedded);
    EXPECT_EQ(key.ReadString(u"E", u""), u"ab");
    const BYTE odd[3] = {'x', 0, 'y'};  // no terminator, odd size
    rv::Write(u"Software\\Test", u"O", REG_BINARY, odd, 3);
    EXPECT_EQ(key.ReadString(u"O", u""), std::u16string(u"x") + char16_t(u'y'));
}

TEST_F(RegistryKeyTest, QueryValueReadsRawBytesAndNeverWrites) {
    RegistryKey key(HKEY_LOCAL_MACHINE, u"Software\\Test", true, false);
    const BYTE colour[4] = {1, 2, 3, 4};
    rv::Write(u"Software\\Test", u"Colour", REG_BINARY, colour, 4);
    BYTE out[8] = {};
    DWORD size = sizeof out;
    ASSERT_TRUE(key.QueryValue(u"Colour", out, &size));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(out[3], 4);
    size = 2;
    EXPECT_FALSE(key.QueryValue(u"Colour", out, &size));  // too small
    size = sizeof out;
    EXPECT_FALSE(key.QueryValue(u"Missing", out, &size));
    EXPECT_FALSE(rv::Read(u"Software\\Test", u"Missing").has_value());
}

}  // namespace
