// FindFirstFileW / FindNextFileW / FindClose: patterns, entries and names
// that are not valid UTF-8.
#include <windows.h>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/unicode.h"
#include "temp_device.h"

namespace fs = std::filesystem;

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;

class FileFind : public testing_support::DeviceTest {
   protected:
    // Every name FindFirstFileW/FindNextFileW return, in their order, and
    // the last error of the first failing call.
    std::vector<std::u16string> List(const std::u16string &pattern, DWORD &error) {
        std::vector<std::u16string> names;
        WIN32_FIND_DATAW data;
        SetLastError(kSentinel);
        HANDLE find = FindFirstFileW(pattern.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            error = GetLastError();
            return names;
        }
        do {
            names.emplace_back(data.cFileName);
            SetLastError(kSentinel);
        } while (FindNextFileW(find, &data));
        error = GetLastError();
        // Past the end it stays at the end.
        EXPECT_FALSE(FindNextFileW(find, &data));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_FILES});
        EXPECT_TRUE(FindClose(find));
        return names;
    }
};

std::u16string Joined(std::vector<std::u16string> names) {
    std::sort(names.begin(), names.end());
    std::u16string out;
    for (const auto &name : names) out += (out.empty() ? u"" : u"|") + name;
    return out;
}

TEST_F(FileFind, WildcardPatterns) {
    for (const char *name : {"a.txt", "B.TXT", "abc", "abc.doc", "readme", "Readme.md", "x.tar.gz", ".hidden"}) {
        device.WriteHostFile(std::string("\\w\\") + name, "");
    }
    fs::create_directory(device.Host("\\w\\sub"));
    const std::u16string all = u".hidden|B.TXT|Readme.md|a.txt|abc|abc.doc|readme|sub|x.tar.gz";
    struct Row {
        std::u16string pattern;
        std::u16string expected;  // sorted names joined by "|"; empty: ERROR_FILE_NOT_FOUND
    } rows[] = {
        {u"*", all},
        {u"*.*", all},
        {u"*.txt", u"B.TXT|a.txt"},
        {u"*.TxT", u"B.TXT|a.txt"},
        {u"?.txt", u"B.TXT|a.txt"},
        {u"??.txt", u""},
        {u"abc.*", u"abc|abc.doc"},
        {u"README.*", u"Readme.md|readme"},
        {u"*.gz", u"x.tar.gz"},
        {u"x.*", u"x.tar.gz"},
        {u"a*", u"a.txt|abc|abc.doc"},
        {u"*C*", u"abc|abc.doc"},
        {u"*a*b*c*", u"abc|abc.doc"},
        {u"a?c", u"abc"},
        {u"SUB", u"sub"},
        {u"README", u"readme"},
        {u"zzz", u""},
        {u"*.zzz", u""},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        DWORD error = kSentinel;
        auto names = List(u"\\W\\" + rows[i].pattern, error);
        EXPECT_EQ(wince::ToUtf8(Joined(names)), wince::ToUtf8(rows[i].expected)) << "row " << i;
        EXPECT_EQ(error, rows[i].expected.empty() ? DWORD{ERROR_FILE_NOT_FOUND} : DWORD{ERROR_NO_MORE_FILES})
            << "row " << i;
    }
}

TEST_F(FileFind, FailuresAndHandles) {
    device.WriteHostFile("\\a.txt", "x");
    fs::create_directory(device.Host("\\empty"));
    struct Row {
        const char16_t *path;
        DWORD error;
    } rows[] = {
        {u"\\missing\\*", ERROR_PATH_NOT_FOUND}, {u"\\empty\\*", ERROR_FILE_NOT_FOUND},
        {u"\\a.txt\\*", ERROR_PATH_NOT_FOUND},   {u"\\..\\*", ERROR_ACCESS_DENIED},
        {u"\\", ERROR_FILE_NOT_FOUND},           {u"\\empty\\", ERROR_FILE_NOT_FOUND},
        {u"\\b<d\\*", ERROR_INVALID_NAME},       {nullptr, ERROR_INVALID_PARAMETER},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        WIN32_FIND_DATAW data;
        data.dwOID = kSentinel;
        SetLastError(kSentinel);
        EXPECT_EQ(FindFirstFileW(rows[i].path, &data), INVALID_HANDLE_VALUE) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
        EXPECT_EQ(data.dwOID, kSentinel) << "row " << i;  // untouched on failure
    }
    SetLastError(kSentinel);
    EXPECT_EQ(FindFirstFileW(u"\\*", nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});

    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(u"\\*", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    HANDLE file = CreateFileW(u"\\a.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    SetLastError(kSentinel);
    EXPECT_FALSE(CloseHandle(find));  // only FindClose releases a find handle
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    SetLastError(kSentinel);
    EXPECT_FALSE(FindClose(file));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    SetLastError(kSentinel);
    EXPECT_FALSE(FindNextFileW(file, &data));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    EXPECT_TRUE(FindClose(find));
    SetLastError(kSentinel);
    EXPECT_FALSE(FindClose(find));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    EXPECT_TRUE(CloseHandle(file));
}

TEST_F(FileFind, EntryRecords) {
    device.WriteHostFile("\\e\\plain.txt", "12345");
    device.WriteHostFile("\\e\\.profile", "");
    device.WriteHostFile("\\e\\locked.txt", "");
    fs::permissions(device.Host("\\e\\locked.txt"), fs::perms::owner_write, fs::perm_options::remove);
    fs::create_directory(device.Host("\\e\\Folder"));
    fs::create_directory_symlink("/etc", device.Host("\\e\\escape"));
    fs::create_symlink("plain.txt", device.Host("\\e\\alias.txt"));
    struct Row {
        std::u16string name;
        DWORD attributes;
        DWORD sizeLow;
    } rows[] = {
        {u".profile", FILE_ATTRIBUTE_HIDDEN, 0},  {u"Folder", FILE_ATTRIBUTE_DIRECTORY, 0},
        {u"alias.txt", FILE_ATTRIBUTE_NORMAL, 5}, {u"locked.txt", FILE_ATTRIBUTE_READONLY, 0},
        {u"plain.txt", FILE_ATTRIBUTE_NORMAL, 5},
    };  // "escape" leads outside the device and is not listed
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(u"\\e\\*.*", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    std::vector<WIN32_FIND_DATAW> entries;
    do entries.push_back(data);
    while (FindNextFileW(find, &data));
    FindClose(find);
    ASSERT_EQ(entries.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(std::u16string(entries[i].cFileName), rows[i].name) << "row " << i;
        EXPECT_EQ(entries[i].dwFileAttributes, rows[i].attributes) << "row " << i;
        EXPECT_EQ(entries[i].nFileSizeLow, rows[i].sizeLow) << "row " << i;
        EXPECT_EQ(entries[i].nFileSizeHigh, 0u) << "row " << i;
        EXPECT_EQ(entries[i].dwOID, 0u) << "row " << i;
    }
}

// Links between folders: one that leads back up the way the listing came
// is left out, so a walk through subfolders ends; any other is a folder.
TEST_F(FileFind, FolderLinksThatCloseALoopAreLeftOut) {
    fs::create_directories(device.Host("\\t\\a\\b"));
    fs::create_directories(device.Host("\\t\\c"));
    fs::create_directory_symlink(".", device.Host("\\t\\a\\self"));
    fs::create_directory_symlink("..", device.Host("\\t\\a\\b\\parent"));
    fs::create_directory_symlink("../../..", device.Host("\\t\\a\\b\\root"));
    fs::create_directory_symlink("../c", device.Host("\\t\\a\\sibling"));
    fs::create_directory_symlink("../a", device.Host("\\t\\c\\back"));
    const struct {
        const char16_t *pattern;
        const char16_t *names;
    } rows[] = {
        {u"\\t\\a\\*", u"b|sibling"},
        {u"\\t\\a\\b\\*", u""},
        {u"\\t\\c\\*", u"back"},                // c is not on the way to c
        {u"\\t\\c\\back\\*", u"b"},           // a reached through c: both links lead up
        {u"\\t\\a\\sibling\\*", u""},         // c reached through a: "back" leads up
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        DWORD error = 0;
        EXPECT_EQ(Joined(List(rows[i].pattern, error)), rows[i].names) << "row " << i;
    }
    // Each kept link is still a folder.
    EXPECT_EQ(GetFileAttributesW(u"\\t\\a\\sibling"), DWORD{FILE_ATTRIBUTE_DIRECTORY});
}

TEST_F(FileFind, EntriesThatVanishAreSkipped) {
    for (const char *name : {"1", "2", "3"}) device.WriteHostFile(std::string("\\v\\") + name, name);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(u"\\v\\*", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::u16string(data.cFileName), u"1");
    fs::remove(device.Host("\\v\\2"));
    ASSERT_TRUE(FindNextFileW(find, &data));
    EXPECT_EQ(std::u16string(data.cFileName), u"3");
    SetLastError(kSentinel);
    EXPECT_FALSE(FindNextFileW(find, &data));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_FILES});
    FindClose(find);
}

TEST_F(FileFind, NamesThatAreNotUtf8RoundTrip) {
    device.WriteHostFile("\\raw\\bad\xff\xfe.txt", "raw bytes");
    device.WriteHostFile("\\raw\\caf\xc3\xa9", "valid");
    DWORD error;
    auto names = List(u"\\raw\\*", error);
    ASSERT_EQ(names.size(), 2u);
    const std::u16string bad = u"bad\xDCFF\xDCFE.txt";
    EXPECT_EQ(names[0], bad);
    EXPECT_EQ(names[1], u"caf\u00e9");
    // Open, rename and delete through the name the listing gave.
    HANDLE h = CreateFileW((u"\\raw\\" + bad).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char buffer[16];
    DWORD done = 0;
    EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "raw bytes");
    CloseHandle(h);
    EXPECT_TRUE(MoveFileW((u"\\raw\\" + bad).c_str(), u"\\raw\\still\xDCFF"));
    EXPECT_TRUE(fs::exists(device.Host("\\raw\\still\xff")));
    EXPECT_EQ(GetFileAttributesW(u"\\RAW\\STILL\xDCFF"), DWORD{FILE_ATTRIBUTE_NORMAL});
    EXPECT_TRUE(DeleteFileW(u"\\raw\\still\xDCFF"));
    EXPECT_FALSE(fs::exists(device.Host("\\raw\\still\xff")));
    // A host name the device could never spell is listed but refused by name.
    device.WriteHostFile("\\raw\\a:b", "");
    names = List(u"\\raw\\a*", error);
    ASSERT_EQ(names.size(), 1u);
    SetLastError(kSentinel);
    EXPECT_EQ(CreateFileW(names[0].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_NAME});
}

}  // namespace
