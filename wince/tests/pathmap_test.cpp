// Device paths to host paths: confinement to fs/, case-insensitive lookup,
// name rules and the way back.
#include <windows.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/unicode.h"
#include "device/pathmap.h"
#include "temp_device.h"

namespace fs = std::filesystem;

namespace {

class PathMap : public testing_support::DeviceTest {
   protected:
    std::string Fs(const std::string &relative = "") const {
        return relative.empty() ? (device.Root() / "fs").string() : (device.Root() / "fs" / relative).string();
    }
};

TEST_F(PathMap, MapsDevicePathsToHostPaths) {
    device.WriteHostFile("\\My Documents\\Report.txt", "x");
    struct Row {
        std::u16string path;
        bool forCreate;
        DWORD error;
        const char *host;  // relative to fs/ when the mapping succeeds
        bool exists;
    } rows[] = {
        {u"\\My Documents\\Report.txt", false, ERROR_SUCCESS, "My Documents/Report.txt", true},
        {u"\\my documents\\REPORT.TXT", false, ERROR_SUCCESS, "My Documents/Report.txt", true},
        {u"/My Documents/Report.txt", false, ERROR_SUCCESS, "My Documents/Report.txt", true},
        {u"My Documents\\Report.txt", false, ERROR_SUCCESS, "My Documents/Report.txt", true},
        {u"\\.\\My Documents\\\\.\\Report.txt", false, ERROR_SUCCESS, "My Documents/Report.txt", true},
        {u"\\", false, ERROR_SUCCESS, "", true},
        {u"\\My Documents\\", false, ERROR_SUCCESS, "My Documents", true},
        {u"\\My Documents\\Report.txt\\", false, ERROR_INVALID_NAME, nullptr, false},
        {u"\\My Documents\\missing.txt", false, ERROR_FILE_NOT_FOUND, nullptr, false},
        {u"\\missing\\a.txt", false, ERROR_PATH_NOT_FOUND, nullptr, false},
        {u"\\My Documents\\Report.txt\\x", false, ERROR_PATH_NOT_FOUND, nullptr, false},
        {u"", false, ERROR_PATH_NOT_FOUND, nullptr, false},
        {u"\\my documents\\New.txt", true, ERROR_SUCCESS, "My Documents/New.txt", false},
        {u"\\MY DOCUMENTS\\report.TXT", true, ERROR_SUCCESS, "My Documents/Report.txt", true},
        {u"\\missing\\New.txt", true, ERROR_PATH_NOT_FOUND, nullptr, false},
        {u"\\etc\\passwd", false, ERROR_PATH_NOT_FOUND, nullptr, false},  // host absolute paths stay in fs/
        {u"\\..\\x", false, ERROR_ACCESS_DENIED, nullptr, false},
        {u"\\My Documents\\..\\..\\x", true, ERROR_ACCESS_DENIED, nullptr, false},
        {u"..", true, ERROR_ACCESS_DENIED, nullptr, false},
        {u"\\My Documents\\..", false, ERROR_ACCESS_DENIED, nullptr, false},
        {u"\\a<b", true, ERROR_INVALID_NAME, nullptr, false},
        {u"\\a>b", true, ERROR_INVALID_NAME, nullptr, false},
        {u"\\C:\\x", true, ERROR_INVALID_NAME, nullptr, false},
        {u"\\a\"b", true, ERROR_INVALID_NAME, nullptr, false},
        {u"\\a|b", true, ERROR_INVALID_NAME, nullptr, false},
        {u"\\a?b", false, ERROR_INVALID_NAME, nullptr, false},
        {u"\\a*b", false, ERROR_INVALID_NAME, nullptr, false},
        {u"\\a\x01"
         u"b",
         true, ERROR_INVALID_NAME, nullptr, false},
        {u"\\tab\there", true, ERROR_INVALID_NAME, nullptr, false},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        wince::HostPath out;
        DWORD error =
            row.forCreate ? wince::MapNewPath(row.path.c_str(), out) : wince::MapExistingPath(row.path.c_str(), out);
        EXPECT_EQ(error, row.error) << "row " << i;
        if (error != ERROR_SUCCESS || !row.host) continue;
        EXPECT_EQ(out.path, Fs(row.host)) << "row " << i;
        EXPECT_EQ(out.exists, row.exists) << "row " << i;
        EXPECT_EQ(out.isRoot, std::string(row.host).empty()) << "row " << i;
    }
}

TEST_F(PathMap, NameAndPathLengthLimits) {
    fs::create_directory(Fs(std::string(100, 'd')));
    const std::u16string dir = u"\\" + std::u16string(100, u'd') + u"\\";
    struct Row {
        std::u16string path;
        DWORD error;
    } rows[] = {
        {u"\\" + std::u16string(255, u'a'), ERROR_SUCCESS},
        {u"\\" + std::u16string(256, u'a'), ERROR_FILENAME_EXCED_RANGE},
        {dir + std::u16string(157, u'b'), ERROR_SUCCESS},                      // 259 characters
        {dir + std::u16string(158, u'b'), ERROR_FILENAME_EXCED_RANGE},         // 260: no room for the terminator
        {u"\\" + std::u16string(200, u'\u00e9'), ERROR_FILENAME_EXCED_RANGE},  // 400 bytes on the host
        {u"\\" + std::u16string(127, u'\u00e9'), ERROR_SUCCESS},               // 254 bytes
        {u"\\lone\xD800", ERROR_INVALID_NAME},
        {u"\\host byte \xDCFF", ERROR_SUCCESS},
        {u"\\alias \xDCC3\xDCA9", ERROR_INVALID_NAME},  // these two bytes spell "\u00e9" on the host
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        wince::HostPath out;
        EXPECT_EQ(wince::MapNewPath(rows[i].path.c_str(), out), rows[i].error) << "row " << i;
        SetLastError(0xDEADBEEF);
        HANDLE h = CreateFileW(rows[i].path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, rows[i].error == ERROR_SUCCESS) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
}

TEST_F(PathMap, LinksMustStayInsideTheDevice) {
    device.WriteHostFile("\\My Documents\\Report.txt", "inside");
    std::ofstream(device.Root() / "outside.txt") << "secret";
    fs::create_directory_symlink("/etc", Fs("etc-link"));
    fs::create_symlink(device.Root() / "outside.txt", Fs("outside-link"));
    fs::create_symlink(device.Root() / "made-outside.txt", Fs("dangling-out"));
    fs::create_symlink("loop", Fs("loop"));
    fs::create_symlink("ping", Fs("pong"));
    fs::create_symlink("pong", Fs("ping"));
    fs::create_directory_symlink("My Documents", Fs("docs"));
    fs::create_symlink("My Documents/Report.txt", Fs("report-link"));
    struct Row {
        std::u16string path;
        DWORD attributesError;  // of GetFileAttributesW; 0: it succeeds
        DWORD createError;      // of CreateFileW with OPEN_ALWAYS
    } rows[] = {
        {u"\\etc-link", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {u"\\etc-link\\passwd", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {u"\\ETC-LINK\\new.txt", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {u"\\outside-link", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {u"\\dangling-out", ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED},
        {u"\\loop", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {u"\\loop\\x", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {u"\\ping", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {u"\\docs\\report.txt", ERROR_SUCCESS, ERROR_SUCCESS},
        {u"\\report-link", ERROR_SUCCESS, ERROR_SUCCESS},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(0xDEADBEEF);
        DWORD attributes = GetFileAttributesW(rows[i].path.c_str());
        if (rows[i].attributesError == ERROR_SUCCESS) {
            EXPECT_EQ(attributes, DWORD{FILE_ATTRIBUTE_NORMAL}) << "row " << i;
        } else {
            EXPECT_EQ(attributes, INVALID_FILE_ATTRIBUTES) << "row " << i;
            EXPECT_EQ(GetLastError(), rows[i].attributesError) << "row " << i;
        }
        SetLastError(0xDEADBEEF);
        HANDLE h = CreateFileW(rows[i].path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, rows[i].createError == ERROR_SUCCESS) << "row " << i;
        EXPECT_EQ(GetLastError(),
                  rows[i].createError == ERROR_SUCCESS ? DWORD{ERROR_ALREADY_EXISTS} : rows[i].createError)
            << "row " << i;
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    EXPECT_FALSE(fs::exists(device.Root() / "made-outside.txt"));
    EXPECT_FALSE(fs::exists("/etc/new.txt"));
    // Deleting a link inside the device removes the link, not what it names.
    EXPECT_TRUE(DeleteFileW(u"\\report-link"));
    EXPECT_TRUE(fs::exists(Fs("My Documents/Report.txt")));
}

TEST_F(PathMap, CaseVariantsPreferTheExactSpelling) {
    for (const char *name : {"readme.txt", "ReadMe.txt", "README.TXT", "\xc3\x84rger.txt", "\xd0\x96uk"}) {
        device.WriteHostFile(std::string("\\") + name, name);
    }
    struct Row {
        std::u16string path;
        const char *host;
    } rows[] = {
        {u"\\readme.txt", "readme.txt"},           {u"\\ReadMe.txt", "ReadMe.txt"},
        {u"\\README.TXT", "README.TXT"},           {u"\\Readme.Txt", "README.TXT"},  // first in byte order
        {u"\\\u00e4RGER.TXT", "\xc3\x84rger.txt"}, {u"\\\u0436UK", "\xd0\x96uk"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        wince::HostPath out;
        ASSERT_EQ(wince::MapExistingPath(rows[i].path.c_str(), out), DWORD{ERROR_SUCCESS}) << "row " << i;
        EXPECT_EQ(out.path, Fs(rows[i].host)) << "row " << i;
    }
}

TEST_F(PathMap, HostPathsBackToDevicePaths) {
    struct Row {
        std::string host;
        bool ok;
        std::u16string device;
    } rows[] = {
        {Fs(), true, u"\\"},
        {Fs() + "/", true, u"\\"},
        {Fs("My Documents/a.txt"), true, u"\\My Documents\\a.txt"},
        {Fs("bad\xff.txt"), true, u"\\bad\xDCFF.txt"},
        {Fs("a/../../x"), false, u""},
        {device.Root().string(), false, u""},
        {"/etc/passwd", false, u""},
        {Fs() + "x", false, u""},  // a sibling whose name starts like fs
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        std::u16string out = u"sentinel";
        EXPECT_EQ(wince::HostToDevicePath(rows[i].host, out), rows[i].ok) << "row " << i;
        if (rows[i].ok) {
            EXPECT_EQ(out, rows[i].device) << "row " << i;
        }
    }
}

}  // namespace
