// CreateFileW dispositions and sharing, and I/O through file handles.
#include <windows.h>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "file/errors.h"
#include "temp_device.h"

namespace fs = std::filesystem;

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;
constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

class FileIo : public testing_support::DeviceTest {
   protected:
    std::string HostText(const std::string &devicePath) const {
        std::ifstream in(device.Host(devicePath), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(FileIo, CreationDispositions) {
    struct Row {
        DWORD access, disposition;
        enum { Missing, Existing, ReadOnly } state;
        bool opens;
        DWORD lastError;
        const char *contentAfter;  // nullptr: no file afterwards
    } rows[] = {
        {kReadWrite, CREATE_NEW, Row::Missing, true, ERROR_SUCCESS, ""},
        {kReadWrite, CREATE_NEW, Row::Existing, false, ERROR_FILE_EXISTS, "old"},
        {kReadWrite, CREATE_ALWAYS, Row::Missing, true, ERROR_SUCCESS, ""},
        {kReadWrite, CREATE_ALWAYS, Row::Existing, true, ERROR_ALREADY_EXISTS, ""},
        {GENERIC_READ, CREATE_ALWAYS, Row::Existing, true, ERROR_ALREADY_EXISTS, ""},
        {kReadWrite, CREATE_ALWAYS, Row::ReadOnly, false, ERROR_ACCESS_DENIED, "old"},
        {kReadWrite, OPEN_EXISTING, Row::Missing, false, ERROR_FILE_NOT_FOUND, nullptr},
        {kReadWrite, OPEN_EXISTING, Row::Existing, true, ERROR_SUCCESS, "old"},
        {GENERIC_READ, OPEN_EXISTING, Row::ReadOnly, true, ERROR_SUCCESS, "old"},
        {GENERIC_WRITE, OPEN_EXISTING, Row::ReadOnly, false, ERROR_ACCESS_DENIED, "old"},
        {kReadWrite, OPEN_ALWAYS, Row::Missing, true, ERROR_SUCCESS, ""},
        {kReadWrite, OPEN_ALWAYS, Row::Existing, true, ERROR_ALREADY_EXISTS, "old"},
        {kReadWrite, TRUNCATE_EXISTING, Row::Missing, false, ERROR_FILE_NOT_FOUND, nullptr},
        {kReadWrite, TRUNCATE_EXISTING, Row::Existing, true, ERROR_SUCCESS, ""},
        {GENERIC_READ, TRUNCATE_EXISTING, Row::Existing, false, ERROR_INVALID_PARAMETER, "old"},
        {kReadWrite, 0, Row::Existing, false, ERROR_INVALID_PARAMETER, "old"},
        {kReadWrite, 6, Row::Missing, false, ERROR_INVALID_PARAMETER, nullptr},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        const std::string name = "\\My Documents\\row" + std::to_string(i) + ".txt";
        if (row.state != Row::Missing) device.WriteHostFile(name, "old");
        if (row.state == Row::ReadOnly)
            fs::permissions(device.Host(name), fs::perms::owner_write, fs::perm_options::remove);
        const std::string number = std::to_string(i);
        std::u16string wide = u"\\my documents\\ROW" + std::u16string(number.begin(), number.end()) + u".TXT";
        SetLastError(kSentinel);
        HANDLE h = CreateFileW(wide.c_str(), row.access, 0, nullptr, row.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, row.opens) << "row " << i;
        EXPECT_EQ(GetLastError(), row.lastError) << "row " << i;
        if (h != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(h)) << "row " << i;
        }
        // A file made by the call takes the spelling asked for; an existing one keeps its own.
        const std::string hostName =
            row.state == Row::Missing ? "\\My Documents\\ROW" + std::to_string(i) + ".TXT" : name;
        EXPECT_EQ(fs::exists(device.Host(hostName)), row.contentAfter != nullptr) << "row " << i;
        if (row.contentAfter) {
            EXPECT_EQ(HostText(hostName), row.contentAfter) << "row " << i;
        }
    }
}

TEST_F(FileIo, OpenRefusals) {
    device.WriteHostFile("\\file.txt", "x");
    mkfifo(device.Host("\\fifo").c_str(), 0666);
    struct Row {
        const char16_t *path;
        DWORD disposition;
        DWORD error;
    } rows[] = {
        {u"\\My Documents", OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {u"\\my documents\\", OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {u"\\My Documents", CREATE_ALWAYS, ERROR_ACCESS_DENIED},
        {u"\\", OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {u"\\fifo", OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {u"\\missing\\a.txt", CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {u"\\file.txt\\a.txt", CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {u"\\new\\", CREATE_ALWAYS, ERROR_INVALID_NAME},
        {u"\\a*.txt", CREATE_ALWAYS, ERROR_INVALID_NAME},
        {nullptr, OPEN_EXISTING, ERROR_INVALID_PARAMETER},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(kSentinel);
        HANDLE h = CreateFileW(rows[i].path, GENERIC_READ, FILE_SHARE_READ, nullptr, rows[i].disposition, 0, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
    }
}

TEST_F(FileIo, SharingModesBetweenHandles) {
    device.WriteHostFile("\\shared.txt", "data");
    constexpr DWORD R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
    struct Row {
        DWORD firstAccess, firstShare, secondAccess, secondShare;
        bool secondOpens;
    } rows[] = {
        {R, SR, R, SR, true},
        {R, SR, W, SR, false},  // the first handle does not share writing
        {R, SR | SW, W, SR, true},
        {R, SR | SW, R, 0, false},  // the second would deny the first's reading
        {W, 0, R, SR | SW, false},
        {W, SW, W, SW, true},
        {W, SR | SW, R, SR, false},  // the second would deny the first's writing
        {R | W, SR | SW, R | W, SR | SW, true},
        {0, 0, R | W, 0, true},  // a handle without data access takes no part
        {R, 0, 0, 0, true},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        HANDLE first =
            CreateFileW(u"\\shared.txt", row.firstAccess, row.firstShare, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(first, INVALID_HANDLE_VALUE) << "row " << i;
        SetLastError(kSentinel);
        HANDLE second =
            CreateFileW(u"\\SHARED.TXT", row.secondAccess, row.secondShare, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, row.secondOpens) << "row " << i;
        EXPECT_EQ(GetLastError(), row.secondOpens ? DWORD{ERROR_SUCCESS} : DWORD{ERROR_SHARING_VIOLATION})
            << "row " << i;
        if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
        EXPECT_TRUE(CloseHandle(first)) << "row " << i;
        // Once the first handle is closed nothing stands in the way.
        second = CreateFileW(u"\\shared.txt", row.secondAccess, row.secondShare, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(second, INVALID_HANDLE_VALUE) << "row " << i;
        CloseHandle(second);
    }
    // A refused CREATE_ALWAYS must not have truncated the file.
    HANDLE reader = CreateFileW(u"\\shared.txt", R, SR, nullptr, OPEN_EXISTING, 0, nullptr);
    SetLastError(kSentinel);
    EXPECT_EQ(CreateFileW(u"\\shared.txt", W, SR, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    EXPECT_EQ(HostText("\\shared.txt"), "data");
    CloseHandle(reader);
}

TEST_F(FileIo, ReadWriteSeekAndSize) {
    HANDLE h = CreateFileW(u"\\io.bin", kReadWrite, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD done = kSentinel;
    ASSERT_TRUE(WriteFile(h, "hello world", 11, &done, nullptr));
    EXPECT_EQ(done, 11u);
    DWORD high = kSentinel;
    EXPECT_EQ(GetFileSize(h, &high), 11u);
    EXPECT_EQ(high, 0u);
    char buffer[32] = {};
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_BEGIN), 0u);
    ASSERT_TRUE(ReadFile(h, buffer, 5, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "hello");
    ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), " world");
    done = kSentinel;
    EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &done, nullptr));  // at the end: success, nothing read
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(SetFilePointer(h, -5, nullptr, FILE_END), 6u);
    ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "world");
    SetLastError(kSentinel);
    EXPECT_EQ(SetFilePointer(h, -100, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NEGATIVE_SEEK});
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 11u);  // unmoved by the failure
    SetLastError(kSentinel);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, 3), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(SetFilePointer(h, 5, nullptr, FILE_BEGIN), 5u);
    EXPECT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(GetFileSize(h, nullptr), 5u);
    EXPECT_EQ(SetFilePointer(h, 8, nullptr, FILE_BEGIN), 8u);
    ASSERT_TRUE(WriteFile(h, "!", 1, &done, nullptr));
    EXPECT_TRUE(FlushFileBuffers(h));
    EXPECT_EQ(HostText("\\io.bin"), std::string("hello\0\0\0!", 9));
    EXPECT_TRUE(CloseHandle(h));

    // Calls on handles that do not allow them.
    HANDLE reader =
        CreateFileW(u"\\io.bin", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE writer =
        CreateFileW(u"\\io.bin", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    HANDLE closed = CreateFileW(u"\\io.bin", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    CloseHandle(closed);
    struct Row {
        BOOL result;
        DWORD error;
    };
    auto call = [&](auto f) {
        SetLastError(kSentinel);
        BOOL r = f();
        return Row{r, GetLastError()};
    };
    Row rows[][2] = {
        {call([&] { return WriteFile(reader, "x", 1, &done, nullptr); }), {FALSE, ERROR_ACCESS_DENIED}},
        {call([&] { return ReadFile(writer, buffer, 1, &done, nullptr); }), {FALSE, ERROR_ACCESS_DENIED}},
        {call([&] { return SetEndOfFile(reader); }), {FALSE, ERROR_ACCESS_DENIED}},
        {call([&] { return FlushFileBuffers(reader); }), {FALSE, ERROR_ACCESS_DENIED}},
        {call([&] { return ReadFile(reader, buffer, 1, nullptr, nullptr); }), {FALSE, ERROR_INVALID_PARAMETER}},
        {call([&] { return ReadFile(reader, nullptr, 1, &done, nullptr); }), {FALSE, ERROR_INVALID_PARAMETER}},
        {call([&] { return ReadFile(closed, buffer, 1, &done, nullptr); }), {FALSE, ERROR_INVALID_HANDLE}},
        {call([&] { return WriteFile(INVALID_HANDLE_VALUE, "x", 1, &done, nullptr); }), {FALSE, ERROR_INVALID_HANDLE}},
        {call([&] { return CloseHandle(closed); }), {FALSE, ERROR_INVALID_HANDLE}},
        {call([&] { return GetFileSize(closed, nullptr) == INVALID_FILE_SIZE; }), {TRUE, ERROR_INVALID_HANDLE}},
        {call([&] { return GetFileTime(closed, nullptr, nullptr, nullptr); }), {FALSE, ERROR_INVALID_HANDLE}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(rows[i][0].result, rows[i][1].result) << "row " << i;
        EXPECT_EQ(rows[i][0].error, rows[i][1].error) << "row " << i;
    }
    CloseHandle(reader);
    CloseHandle(writer);
}

TEST_F(FileIo, SizesBeyondFourGigabytes) {
    device.WriteHostFile("\\big.bin", "");
    ASSERT_EQ(truncate(device.Host("\\big.bin").c_str(), 0x140000003ll), 0);  // sparse
    HANDLE h = CreateFileW(u"\\big.bin", kReadWrite, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD high = kSentinel;
    EXPECT_EQ(GetFileSize(h, &high), 0x40000003u);
    EXPECT_EQ(high, 1u);
    LONG moveHigh = 1;
    EXPECT_EQ(SetFilePointer(h, 2, &moveHigh, FILE_BEGIN), 2u);
    EXPECT_EQ(moveHigh, 1);
    DWORD done;
    ASSERT_TRUE(WriteFile(h, "Z", 1, &done, nullptr));
    moveHigh = -2;  // high -2, low -3: back by 2^32 + 3 in one signed 64-bit distance
    EXPECT_EQ(SetFilePointer(h, -3, &moveHigh, FILE_CURRENT), 0u);
    EXPECT_EQ(moveHigh, 0);
    SetLastError(kSentinel);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);  // does not fit in 32 bits
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(u"\\big.bin", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.nFileSizeHigh, 1u);
    EXPECT_EQ(data.nFileSizeLow, 0x40000003u);
    FindClose(find);
    // A low part that reads as INVALID_FILE_SIZE is a success with NO_ERROR.
    ASSERT_EQ(truncate(device.Host("\\big.bin").c_str(), 0xFFFFFFFFll), 0);
    SetLastError(kSentinel);
    EXPECT_EQ(GetFileSize(h, &high), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), DWORD{NO_ERROR});
    EXPECT_EQ(high, 0u);
    CloseHandle(h);
}

TEST_F(FileIo, FileTimesAsFiletime) {
    device.WriteHostFile("\\dated.txt", "x");
    const struct timespec times[2] = {{1600000000, 0}, {1700000000, 123456789}};  // access, write
    ASSERT_EQ(utimensat(AT_FDCWD, device.Host("\\dated.txt").c_str(), times, 0), 0);
    HANDLE h = CreateFileW(u"\\dated.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME access = {kSentinel, kSentinel}, write = {kSentinel, kSentinel};
    ASSERT_TRUE(GetFileTime(h, nullptr, &access, &write));
    CloseHandle(h);
    auto ticks = [](FILETIME ft) { return (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime; };
    EXPECT_EQ(ticks(write), 133444736001234567ull);   // 2023-11-14 22:13:20.1234567 UTC
    EXPECT_EQ(ticks(access), 132444736000000000ull);  // 2020-09-13 12:26:40 UTC
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(u"\\dated.txt", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ticks(data.ftLastWriteTime), 133444736001234567ull);
    EXPECT_EQ(ticks(data.ftLastAccessTime), 132444736000000000ull);
    FindClose(find);
}

TEST_F(FileIo, ReadOnlyAttributeAtCreation) {
    HANDLE h =
        CreateFileW(u"\\made-readonly.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_READONLY, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD done;
    EXPECT_TRUE(WriteFile(h, "abc", 3, &done, nullptr));  // the creating handle still writes
    CloseHandle(h);
    EXPECT_EQ(GetFileAttributesW(u"\\made-readonly.txt"), DWORD{FILE_ATTRIBUTE_READONLY});
    SetLastError(kSentinel);
    EXPECT_EQ(CreateFileW(u"\\made-readonly.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(HostText("\\made-readonly.txt"), "abc");
}

}  // namespace
