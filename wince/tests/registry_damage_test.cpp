// A damaged registry file is never lost: the first rewrite keeps it beside
// the new one, and an import with damage changes nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "device/device.h"
#include "registry/registry.h"
#include "temp_device.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path &path, const std::string &bytes) { std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes; }

int Count(const std::string &text, const std::string &part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class RegistryDamage : public testing_support::DeviceTest {
   protected:
    fs::path File() const { return device.Root() / "registry.reg"; }
    LONG SetDword(const char16_t *key, const char16_t *name, DWORD v) {
        HKEY h = nullptr;
        LONG r = RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, 0, nullptr, &h, nullptr);
        if (r != ERROR_SUCCESS) return r;
        r = RegSetValueExW(h, name, 0, REG_DWORD, reinterpret_cast<BYTE *>(&v), 4);
        RegCloseKey(h);
        return r;
    }
};

// A key header cut short hides the values under it from the reader.
const std::string kDamaged =
    "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\A]\n\"Good\"=\"yes\"\n\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Varnhold\n\"Keep\"=\"important\"\n";

TEST_F(RegistryDamage, TheFirstRewriteKeepsTheDamagedFileBesideIt) {
    WriteFile(File(), kDamaged);
    wince::Device::Select(device.Root());
    testing::internal::CaptureStderr();
    ASSERT_EQ(SetDword(u"Software\\A", u"New", 1), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(u"Software\\A", u"Newer", 2), ERROR_SUCCESS);
    std::string err = testing::internal::GetCapturedStderr();

    fs::path copy = device.Root() / "registry.reg.damaged";
    EXPECT_EQ(ReadFile(copy), kDamaged);  // "Keep"="important" survives there
    EXPECT_EQ(Count(err, "line 6 is damaged"), 1) << err;
    EXPECT_EQ(Count(err, "kept as " + copy.string()), 2) << err;  // the warning, then the rewrite
    EXPECT_FALSE(fs::exists(device.Root() / "registry.reg.damaged.2"));
    wince::registry::ParsedRegistry now = wince::registry::ParseRegText(ReadFile(File()));
    EXPECT_TRUE(now.damagedLines.empty());
    const wince::registry::RegKey *a = now.tree.Find(wince::registry::kLocalMachine, {u"Software", u"A"});
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->FindValue(u"Good") && a->FindValue(u"New") && a->FindValue(u"Newer"));

    // Damaged again: the earlier copy is not overwritten.
    WriteFile(File(), kDamaged + "\"x\"=dword:zz\n");
    wince::Device::Select(device.Root());
    testing::internal::CaptureStderr();
    ASSERT_EQ(SetDword(u"Software\\A", u"Third", 3), ERROR_SUCCESS);
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadFile(copy), kDamaged);
    EXPECT_EQ(ReadFile(device.Root() / "registry.reg.damaged.2"), kDamaged + "\"x\"=dword:zz\n");
    EXPECT_NE(err.find("registry.reg.damaged.2"), std::string::npos) << err;
}

TEST_F(RegistryDamage, ImportWithDamageChangesNothing) {
    ASSERT_EQ(SetDword(u"Software\\A", u"Before", 1), ERROR_SUCCESS);
    const std::string before = ReadFile(File());
    const std::string head = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\A]\n\"Ok\"=\"1\"\n";
    struct Row {
        std::string text;
        int firstDamaged;
    } rows[] = {
        {head + "\"Bad\"=dword:xyz\n\"After\"=\"2\"\n", 5},
        {head + "[-HKEY_LOCAL_MACHINE\\Software\\A]\n[HKEY_LOCAL_MACHINE\\Software\\B\n", 6},
        {"Windows Registry Editor Version 9\n" + head, 1},
        {head + "\"Cut\"=hex:01,02,\\\n", 5},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        fs::path file = device.Root() / "import.reg";
        WriteFile(file, rows[i].text);
        std::vector<int> damaged;
        std::string error;
        EXPECT_FALSE(wince::registry::ImportRegFile(file, &damaged, &error)) << "row " << i;
        ASSERT_FALSE(damaged.empty()) << "row " << i;
        EXPECT_EQ(damaged.front(), rows[i].firstDamaged) << "row " << i;
        EXPECT_NE(error.find("line " + std::to_string(rows[i].firstDamaged)), std::string::npos) << "row " << i << ": " << error;
        EXPECT_NE(error.find("nothing was imported"), std::string::npos) << "row " << i << ": " << error;
        EXPECT_EQ(ReadFile(File()), before) << "row " << i;
    }
    std::string error;
    std::vector<int> damaged;
    EXPECT_FALSE(wince::registry::ImportRegFile(device.Root(), &damaged, &error));
    EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(File()), before);
}

}  // namespace
