// The registry file: values round-trip through registry.reg byte for byte,
// the file is written in the registry editor's format, and a damaged file is
// read as far as it can be, with one warning.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "device/device.h"
#include "registry/registry.h"
#include "temp_device.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Utf16(std::u16string_view text, bool terminator = true) {
    Bytes out;
    for (char16_t c : text) out.push_back(static_cast<uint8_t>(c)), out.push_back(static_cast<uint8_t>(c >> 8));
    if (terminator) out.push_back(0), out.push_back(0);
    return out;
}

std::optional<Bytes> Query(HKEY key, const char16_t *name, DWORD *type = nullptr) {
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    Bytes data(size);
    if (RegQueryValueExW(key, name, nullptr, type, data.data(), &size) != ERROR_SUCCESS) return std::nullopt;
    return data;
}

std::string ReadFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class RegistryFile : public testing_support::DeviceTest {
   protected:
    std::filesystem::path File() const { return device.Root() / "registry.reg"; }
    // Drops the process's cached registry: the next call reads the file.
    void Reload() { wince::Device::Select(device.Root()); }
    HKEY Open(const char16_t *path) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key), ERROR_SUCCESS);
        return key;
    }
};

TEST_F(RegistryFile, EveryTypeRoundTripsByteForByte) {
    struct Row {
        const char16_t *name;
        DWORD type;
        Bytes data;
    };
    Bytes big;
    for (int i = 0; i < 300; ++i) big.push_back(static_cast<uint8_t>(i * 7));
    std::vector<Row> rows = {
        {u"String", REG_SZ, Utf16(u"Pelloran \u00e9t\u00e9 \U0001F600")},
        {u"Quotes \"and\" \\slashes\\", REG_SZ, Utf16(u"C:\\Path \"quoted\" ; = [x]")},
        {u"EmptyString", REG_SZ, Utf16(u"")},
        {u"NoBytes", REG_SZ, {}},
        {u"NoTerminator", REG_SZ, Utf16(u"abc", false)},
        {u"OddSize", REG_SZ, {'a', 0, 'b'}},
        {u"EmbeddedNul", REG_SZ, Utf16(std::u16string(u"a\0b", 3))},
        {u"LineBreak", REG_SZ, Utf16(u"one\r\ntwo")},
        {u"LoneSurrogate", REG_SZ, Utf16(u"x\xD800y")},
        {u"Dword", REG_DWORD, {0x0a, 0, 0, 0x80}},
        {u"ShortDword", REG_DWORD, {0x34, 0x12}},
        {u"Binary", REG_BINARY, {0x00, 0xff, 0x10}},
        {u"BigBinary", REG_BINARY, big},
        {u"Multi", REG_MULTI_SZ, Utf16(std::u16string(u"one\0two\0", 8))},
        {u"Expand", REG_EXPAND_SZ, Utf16(u"%windir%\\x")},
        {u"None", REG_NONE, {}},
        {u"Qword", 11, {1, 2, 3, 4, 5, 6, 7, 8}},
        {u"", REG_SZ, Utf16(u"the default")},
    };
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Types", 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (size_t i = 0; i < rows.size(); ++i)
        ASSERT_EQ(RegSetValueExW(key, rows[i].name, 0, rows[i].type, rows[i].data.data(),
                                 static_cast<DWORD>(rows[i].data.size())),
                  ERROR_SUCCESS)
            << "row " << i;
    RegCloseKey(key);
    Reload();
    testing::internal::CaptureStderr();
    key = Open(u"Software\\Types");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // the file we wrote reads without damage
    for (size_t i = 0; i < rows.size(); ++i) {
        DWORD type = 0xDEADBEEF;
        std::optional<Bytes> data = Query(key, rows[i].name, &type);
        ASSERT_TRUE(data) << "row " << i;
        EXPECT_EQ(type, rows[i].type) << "row " << i;
        EXPECT_EQ(*data, rows[i].data) << "row " << i;
        WCHAR name[64];
        DWORD cch = 64;
        ASSERT_EQ(RegEnumValueW(key, static_cast<DWORD>(i), name, &cch, nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(std::u16string(name), rows[i].name) << "row " << i << ": values keep their order";
    }
    RegCloseKey(key);
    // Malformed strings and short dwords are written as hex so they survive.
    std::string text = ReadFile(File());
    EXPECT_NE(text.find("\"NoTerminator\"=hex(1):61,00,62,00,63,00\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"ShortDword\"=hex(4):34,12\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Dword\"=dword:8000000a\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Quotes \\\"and\\\" \\\\slashes\\\\\"=\"C:\\\\Path \\\"quoted\\\" ; = [x]\"\n"),
              std::string::npos)
        << text;
}

TEST_F(RegistryFile, WrittenInTheRegistryEditorFormat) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Varnhold\\Pelloran", 0, nullptr, 0, 0, nullptr, &key, nullptr);
    const std::u16string folder = u"\\My Documents";
    RegSetValueExW(key, u"Folder", 0, REG_SZ, reinterpret_cast<const BYTE *>(folder.c_str()), 28);
    DWORD columns = 10;
    RegSetValueExW(key, u"Columns", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&columns), 4);
    Bytes blob(40, 0xab);
    RegSetValueExW(key, u"Blob", 0, REG_BINARY, blob.data(), 40);
    Bytes multi = Utf16(std::u16string(u"a\0b\0", 4), false);
    RegSetValueExW(key, nullptr, 0, REG_MULTI_SZ, multi.data(), static_cast<DWORD>(multi.size()));
    HKEY empty = nullptr, other = nullptr;
    RegCreateKeyExW(key, u"empty", 0, nullptr, 0, 0, nullptr, &empty, nullptr);
    RegCreateKeyExW(HKEY_CURRENT_USER, u"Other", 0, nullptr, 0, 0, nullptr, &other, nullptr);
    for (HKEY h : {key, empty, other}) RegCloseKey(h);
    EXPECT_EQ(ReadFile(File()),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_USER\\Other]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnhold]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnhold\\Pelloran]\n"
              "\"Folder\"=\"\\\\My Documents\"\n"
              "\"Columns\"=dword:0000000a\n"
              "\"Blob\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\n"
              "  ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab\n"
              "@=hex(7):61,00,00,00,62,00,00,00\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnhold\\Pelloran\\empty]\n"
              "\n");
    // Opening an existing key writes nothing.
    auto before = std::filesystem::last_write_time(File());
    std::filesystem::last_write_time(File(), before - std::chrono::seconds(10));
    before = std::filesystem::last_write_time(File());
    DWORD disposition = 0;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Varnhold", 0, nullptr, 0, 0, nullptr, &key, &disposition);
    EXPECT_EQ(disposition, DWORD{REG_OPENED_EXISTING_KEY});
    EXPECT_EQ(std::filesystem::last_write_time(File()), before);
    RegCloseKey(key);
}

TEST_F(RegistryFile, ReadsUtf16WithBomAndAbbreviatedRoots) {
    std::u16string text =
        u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKLM\\Software\\Wide]\r\n\"Name\"=\"\u00e9\u4e2d\"\r\n"
        u"; a comment\r\n@=dword:00000002\r\n";
    std::string bytes;
    for (char16_t c : text) bytes += static_cast<char>(c & 0xff), bytes += static_cast<char>(c >> 8);
    WriteFile(File(), bytes);
    Reload();
    testing::internal::CaptureStderr();
    HKEY key = Open(u"Software\\Wide");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(Query(key, u"Name"), Utf16(u"\u00e9\u4e2d"));
    EXPECT_EQ(Query(key, nullptr), (Bytes{2, 0, 0, 0}));
    RegCloseKey(key);
}

TEST_F(RegistryFile, DamagedFilesAreReadAsFarAsTheyCanBe) {
    const std::string head = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\D]\n\"Good\"=\"yes\"\n";
    struct Row {
        std::string tail;  // after line 4
        int firstDamaged;
        std::vector<const char16_t *> present, absent;
    } rows[] = {
        {"\"Long\"=hex:01,02,03,\\\n  04,05,\\\n", 5, {}, {u"Long"}},            // cut in a hex continuation
        {"\"Long\"=hex:01,02,\\\n[HKEY_LOCAL_MACHINE\\Software\\D]\n\"After\"=\"x\"\n", 5, {u"After"}, {u"Long"}},
        {"\"Cut\"=\"abc", 5, {}, {u"Cut"}},                                       // cut in a quoted string
        {"\"Open\"=\"abc\n\"After\"=dword:00000001\n", 5, {u"After"}, {u"Open"}},  // unterminated string
        {std::string("\x00\xff\x13garbage\x01\x02\n\xc3\x28\x80\n\"After\"=\"x\"\n", 29), 5, {u"After"}, {}},
        {"[HKEY_LOCAL_MACHINE\\Software\\E\n\"Lost\"=\"x\"\n", 5, {}, {u"Lost"}},  // section without "]"
        {"\"Big\"=dword:000000001\n\"Bad\"=dword:0000000g\n\"After\"=dword:1\n", 5, {u"After"}, {u"Big", u"Bad"}},
        {"\"Bin\"=hex:01,0g,03\n\"Short\"=hex:1,2\n\"After\"=hex:\n", 5, {u"After"}, {u"Bin", u"Short"}},
        {"\"Latin\"=\"Caf\xe9\"\n", 5, {u"Latin"}, {}},  // not UTF-8: read as Latin-1
        {"\"Name\"\n\"x\"=str:1\n\"After\"=-\n", 5, {}, {u"Name", u"x"}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        WriteFile(File(), head + rows[i].tail);
        Reload();
        testing::internal::CaptureStderr();
        HKEY key = Open(u"Software\\D");
        HKEY again = Open(u"Software\\D");  // the same damage is not reported twice
        std::string warning = testing::internal::GetCapturedStderr();
        EXPECT_NE(warning.find("registry.reg: line " + std::to_string(rows[i].firstDamaged) + " is damaged"),
                  std::string::npos)
            << warning;
        EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
        EXPECT_EQ(Query(key, u"Good"), Utf16(u"yes"));
        for (const char16_t *name : rows[i].present) EXPECT_TRUE(Query(key, name)) << "missing a readable value";
        for (const char16_t *name : rows[i].absent) EXPECT_FALSE(Query(key, name)) << "used a damaged value";
        if (i == 8) {
            EXPECT_EQ(Query(key, u"Latin"), Utf16(u"Caf\u00e9"));
        }
        // Writing back keeps every readable value and leaves a clean file.
        DWORD one = 1;
        ASSERT_EQ(RegSetValueExW(key, u"New", 0, REG_DWORD, reinterpret_cast<BYTE *>(&one), 4), ERROR_SUCCESS);
        wince::registry::ParsedRegistry parsed = wince::registry::ParseRegText(ReadFile(File()));
        EXPECT_TRUE(parsed.damagedLines.empty());
        const wince::registry::RegKey *d = parsed.tree.Find(wince::registry::kLocalMachine, {u"Software", u"D"});
        ASSERT_TRUE(d);
        EXPECT_TRUE(d->FindValue(u"Good"));
        EXPECT_TRUE(d->FindValue(u"New"));
        for (const char16_t *name : rows[i].present) EXPECT_TRUE(d->FindValue(name));
        RegCloseKey(key);
        RegCloseKey(again);
    }
}

TEST_F(RegistryFile, MissingOrEmptyFileIsAnEmptyRegistry) {
    testing::internal::CaptureStderr();
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software", 0, 0, &key), ERROR_FILE_NOT_FOUND);
    WriteFile(File(), "");
    Reload();
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software", 0, 0, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(RegistryFile, ImportMergesAndHonoursDeletions) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Merge\\Old", 0, nullptr, 0, 0, nullptr, &key, nullptr);
    RegCloseKey(key);
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Merge", 0, nullptr, 0, 0, nullptr, &key, nullptr);
    DWORD v = 1;
    for (const char16_t *name : {u"Keep", u"Drop"}) RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<BYTE *>(&v), 4);
    std::filesystem::path import = device.Root() / "import.reg";
    WriteFile(import,
              "Windows Registry Editor Version 5.00\n\n[-HKEY_LOCAL_MACHINE\\Software\\Merge\\Old]\n\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Merge]\n\"Drop\"=-\n\"Added\"=\"new\"\n\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Merge\\New]\n");
    std::vector<int> damaged = {99};
    std::string error;
    ASSERT_TRUE(wince::registry::ImportRegFile(import, &damaged, &error)) << error;
    EXPECT_TRUE(damaged.empty());
    EXPECT_TRUE(Query(key, u"Keep"));
    EXPECT_FALSE(Query(key, u"Drop"));
    EXPECT_EQ(Query(key, u"Added"), Utf16(u"new"));
    HKEY sub = nullptr;
    EXPECT_EQ(RegOpenKeyExW(key, u"Old", 0, 0, &sub), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(key, u"New", 0, 0, &sub), ERROR_SUCCESS);
    RegCloseKey(sub);
    RegCloseKey(key);

    std::filesystem::path exported = device.Root() / "export.reg";
    ASSERT_TRUE(wince::registry::ExportRegFile(exported, u"HKLM\\software\\merge", &error)) << error;
    EXPECT_EQ(ReadFile(exported),
              "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Merge]\n\"Keep\"=dword:00000001\n"
              "\"Added\"=\"new\"\n\n[HKEY_LOCAL_MACHINE\\Software\\Merge\\New]\n\n");
    EXPECT_FALSE(wince::registry::ExportRegFile(exported, u"HKLM\\Missing", &error));
    EXPECT_FALSE(wince::registry::ImportRegFile(device.Root() / "none.reg", &damaged, &error));
}

}  // namespace
