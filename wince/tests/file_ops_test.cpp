// Deleting, moving and copying files, folders and attributes.
#include <windows.h>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "temp_device.h"

namespace fs = std::filesystem;

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;

class FileOps : public testing_support::DeviceTest {
   protected:
    std::string HostText(const std::string &devicePath) const {
        std::ifstream in(device.Host(devicePath), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool Exists(const std::string &devicePath) const { return fs::exists(fs::symlink_status(device.Host(devicePath))); }
    void ReadOnly(const std::string &devicePath) const {
        fs::permissions(device.Host(devicePath), fs::perms::owner_write, fs::perm_options::remove);
    }
};

TEST_F(FileOps, Deleting) {
    device.WriteHostFile("\\d\\a.txt", "a");
    device.WriteHostFile("\\d\\locked.txt", "b");
    device.WriteHostFile("\\d\\open.txt", "c");
    ReadOnly("\\d\\locked.txt");
    HANDLE open = CreateFileW(u"\\d\\open.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    struct Row {
        const char16_t *path;
        BOOL result;
        DWORD error;
        const char *gone;  // the host file the call removes
    } rows[] = {
        {u"\\D\\A.TXT", TRUE, kSentinel, "\\d\\a.txt"},
        {u"\\d\\a.txt", FALSE, ERROR_FILE_NOT_FOUND, nullptr},
        {u"\\nowhere\\a.txt", FALSE, ERROR_PATH_NOT_FOUND, nullptr},
        {u"\\d", FALSE, ERROR_ACCESS_DENIED, nullptr},
        {u"\\", FALSE, ERROR_ACCESS_DENIED, nullptr},
        {u"\\d\\locked.txt", FALSE, ERROR_ACCESS_DENIED, nullptr},
        {u"\\d\\open.txt", FALSE, ERROR_SHARING_VIOLATION, nullptr},
        {u"\\..\\registry.reg", FALSE, ERROR_ACCESS_DENIED, nullptr},
        {nullptr, FALSE, ERROR_INVALID_PARAMETER, nullptr},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(kSentinel);
        EXPECT_EQ(DeleteFileW(rows[i].path), rows[i].result) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
        if (rows[i].gone) {
            EXPECT_FALSE(Exists(rows[i].gone)) << "row " << i;
        }
    }
    EXPECT_TRUE(Exists("\\d\\locked.txt"));
    EXPECT_TRUE(Exists("\\d\\open.txt"));
    CloseHandle(open);
    EXPECT_TRUE(DeleteFileW(u"\\d\\open.txt"));
}

TEST_F(FileOps, MoveFileNeverReplaces) {
    device.WriteHostFile("\\m\\src.txt", "source");
    device.WriteHostFile("\\m\\dst.txt", "destination");
    device.WriteHostFile("\\m\\doc.txt", "case");
    device.WriteHostFile("\\m\\dir\\inner.txt", "inner");
    device.WriteHostFile("\\m\\open.txt", "open");
    fs::create_directory(device.Host("\\m\\folder"));
    HANDLE open = CreateFileW(u"\\m\\open.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    struct Row {
        const char16_t *from, *to;
        BOOL result;
        DWORD error;
        const char *present;  // a host file that holds the moved object afterwards
    } rows[] = {
        {u"\\m\\src.txt", u"\\m\\dst.txt", FALSE, ERROR_ALREADY_EXISTS, "\\m\\src.txt"},
        {u"\\m\\src.txt", u"\\M\\DST.TXT", FALSE, ERROR_ALREADY_EXISTS, "\\m\\src.txt"},
        {u"\\m\\src.txt", u"\\m\\folder", FALSE, ERROR_ALREADY_EXISTS, "\\m\\src.txt"},
        {u"\\m\\src.txt", u"\\m\\moved.txt", TRUE, kSentinel, "\\m\\moved.txt"},
        {u"\\m\\doc.txt", u"\\m\\DOC.txt", TRUE, kSentinel, "\\m\\DOC.txt"},  // letter case only
        {u"\\m\\DOC.txt", u"\\m\\DOC.txt", TRUE, kSentinel, "\\m\\DOC.txt"},
        {u"\\m\\dir", u"\\m\\folder\\dir2", TRUE, kSentinel, "\\m\\folder\\dir2\\inner.txt"},
        {u"\\m\\folder", u"\\m\\folder\\dir2\\inside", FALSE, ERROR_ACCESS_DENIED, "\\m\\folder"},
        {u"\\m\\missing.txt", u"\\m\\x.txt", FALSE, ERROR_FILE_NOT_FOUND, nullptr},
        {u"\\m\\moved.txt", u"\\m\\nowhere\\x.txt", FALSE, ERROR_PATH_NOT_FOUND, "\\m\\moved.txt"},
        {u"\\m\\moved.txt", u"\\..\\x.txt", FALSE, ERROR_ACCESS_DENIED, "\\m\\moved.txt"},
        {u"\\m\\moved.txt", u"\\", FALSE, ERROR_ACCESS_DENIED, "\\m\\moved.txt"},
        {u"\\m\\open.txt", u"\\m\\closed.txt", FALSE, ERROR_SHARING_VIOLATION, "\\m\\open.txt"},
        {u"\\m\\moved.txt", nullptr, FALSE, ERROR_INVALID_PARAMETER, "\\m\\moved.txt"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(kSentinel);
        EXPECT_EQ(MoveFileW(rows[i].from, rows[i].to), rows[i].result) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
        if (rows[i].present) {
            EXPECT_TRUE(Exists(rows[i].present)) << "row " << i;
        }
    }
    EXPECT_EQ(HostText("\\m\\dst.txt"), "destination");
    EXPECT_EQ(HostText("\\m\\moved.txt"), "source");
    EXPECT_FALSE(Exists("\\m\\doc.txt"));
    CloseHandle(open);
}

// One thread keeps making the destination while another moves files onto
// it: each move either lands or is refused, and no file is ever lost.
TEST_F(FileOps, MoveRacingWithCreationLosesNothing) {
    fs::create_directories(device.Host("\\race\\a"));
    fs::create_directories(device.Host("\\race\\b"));
    const std::string dst = device.Host("\\race\\dst").string();
    std::atomic<bool> stop{false};
    std::atomic<int> made{0};
    std::thread creator([&] {
        for (int j = 0; !stop; ++j) {
            int fd = open(dst.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd < 0) continue;
            std::string text = "B" + std::to_string(j);
            EXPECT_EQ(write(fd, text.data(), text.size()), ssize_t(text.size()));
            close(fd);
            ++made;
            std::string aside = device.Host("\\race\\b\\" + std::to_string(j)).string();
            renameat2(AT_FDCWD, dst.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE);
        }
    });
    constexpr int kMoves = 300;
    int refused = 0;
    for (int i = 0; i < kMoves; ++i) {
        device.WriteHostFile("\\race\\src", "A" + std::to_string(i));
        const std::u16string keep = u"\\race\\a\\" + std::u16string(1, u'0' + i % 10) + u"_" +
                                    std::u16string(1, u'a' + i / 10 % 26) + std::u16string(1, u'a' + i / 260);
        SetLastError(kSentinel);
        if (MoveFileW(u"\\race\\src", u"\\race\\dst")) {
            MoveFileW(u"\\race\\dst", keep.c_str());  // may lose the race to the creator: it then holds the file
        } else {
            EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS}) << "move " << i;
            ++refused;
            EXPECT_TRUE(MoveFileW(u"\\race\\src", keep.c_str())) << "move " << i;
        }
    }
    stop = true;
    creator.join();
    std::map<std::string, int> seen;
    for (const auto &entry : fs::recursive_directory_iterator(device.Host("\\race"))) {
        if (entry.is_regular_file())
            ++seen[HostText("\\race\\" + fs::relative(entry.path(), device.Host("\\race")).string())];
    }
    size_t files = 0;
    for (const auto &[text, count] : seen) {
        EXPECT_EQ(count, 1) << text;
        files += count;
    }
    for (int i = 0; i < kMoves; ++i) EXPECT_EQ(seen.count("A" + std::to_string(i)), 1u) << i;
    EXPECT_EQ(files, size_t(kMoves + made.load()));
    RecordProperty("refused", refused);
}

TEST_F(FileOps, Copying) {
    device.WriteHostFile("\\c\\src.txt", "source");
    device.WriteHostFile("\\c\\old.txt", "old");
    device.WriteHostFile("\\c\\locked.txt", "locked");
    ReadOnly("\\c\\locked.txt");
    fs::create_directory(device.Host("\\c\\folder"));
    const struct timespec times[2] = {{1600000000, 0}, {1600000000, 0}};
    utimensat(AT_FDCWD, device.Host("\\c\\src.txt").c_str(), times, 0);
    struct Row {
        const char16_t *from, *to;
        BOOL failIfExists;
        BOOL result;
        DWORD error;
        const char *check;  // host file and its expected text
        const char *text;
    } rows[] = {
        {u"\\c\\SRC.txt", u"\\c\\new.txt", TRUE, TRUE, kSentinel, "\\c\\new.txt", "source"},
        {u"\\c\\src.txt", u"\\c\\OLD.txt", TRUE, FALSE, ERROR_FILE_EXISTS, "\\c\\old.txt", "old"},
        {u"\\c\\src.txt", u"\\c\\OLD.txt", FALSE, TRUE, kSentinel, "\\c\\old.txt", "source"},
        {u"\\c\\src.txt", u"\\c\\locked.txt", FALSE, FALSE, ERROR_ACCESS_DENIED, "\\c\\locked.txt", "locked"},
        {u"\\c\\src.txt", u"\\c\\src.txt", FALSE, FALSE, ERROR_SHARING_VIOLATION, "\\c\\src.txt", "source"},
        {u"\\c\\src.txt", u"\\c\\folder", FALSE, FALSE, ERROR_ACCESS_DENIED, nullptr, nullptr},
        {u"\\c\\folder", u"\\c\\f2", FALSE, FALSE, ERROR_ACCESS_DENIED, nullptr, nullptr},
        {u"\\c\\missing", u"\\c\\x", FALSE, FALSE, ERROR_FILE_NOT_FOUND, nullptr, nullptr},
        {u"\\c\\src.txt", u"\\nowhere\\x", FALSE, FALSE, ERROR_PATH_NOT_FOUND, nullptr, nullptr},
        {u"\\c\\src.txt", u"\\..\\x", FALSE, FALSE, ERROR_ACCESS_DENIED, nullptr, nullptr},
        {nullptr, u"\\c\\x", FALSE, FALSE, ERROR_INVALID_PARAMETER, nullptr, nullptr},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(kSentinel);
        EXPECT_EQ(CopyFileW(rows[i].from, rows[i].to, rows[i].failIfExists), rows[i].result) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
        if (rows[i].check) {
            EXPECT_EQ(HostText(rows[i].check), rows[i].text) << "row " << i;
        }
    }
    // The copy keeps the last write time, and no temporary file stays behind.
    struct stat st;
    ASSERT_EQ(stat(device.Host("\\c\\new.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1600000000);
    for (const auto &entry : fs::directory_iterator(device.Host("\\c"))) {
        EXPECT_NE(entry.path().filename().string().rfind(".~", 0), 0u) << entry.path();
    }
    // A source opened without read sharing cannot be copied.
    HANDLE h = CreateFileW(u"\\c\\src.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetLastError(kSentinel);
    EXPECT_FALSE(CopyFileW(u"\\c\\src.txt", u"\\c\\y.txt", TRUE));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    CloseHandle(h);
}

TEST_F(FileOps, Directories) {
    device.WriteHostFile("\\dirs\\file.txt", "");
    device.WriteHostFile("\\dirs\\full\\x", "");
    struct Row {
        bool create;
        const char16_t *path;
        BOOL result;
        DWORD error;
    } rows[] = {
        {true, u"\\dirs\\new", TRUE, kSentinel},
        {true, u"\\dirs\\new", FALSE, ERROR_ALREADY_EXISTS},
        {true, u"\\DIRS\\NEW\\", FALSE, ERROR_ALREADY_EXISTS},
        {true, u"\\dirs\\file.txt", FALSE, ERROR_ALREADY_EXISTS},
        {true, u"\\dirs\\trailing\\", TRUE, kSentinel},
        {true, u"\\dirs\\missing\\x", FALSE, ERROR_PATH_NOT_FOUND},
        {true, u"\\dirs\\a:b", FALSE, ERROR_INVALID_NAME},
        {true, u"\\", FALSE, ERROR_ALREADY_EXISTS},
        {true, nullptr, FALSE, ERROR_INVALID_PARAMETER},
        {false, u"\\dirs\\NEW", TRUE, kSentinel},
        {false, u"\\dirs\\new", FALSE, ERROR_FILE_NOT_FOUND},
        {false, u"\\dirs\\trailing\\", TRUE, kSentinel},
        {false, u"\\dirs\\full", FALSE, ERROR_DIR_NOT_EMPTY},
        {false, u"\\dirs\\file.txt", FALSE, ERROR_DIRECTORY},
        {false, u"\\dirs\\missing\\x", FALSE, ERROR_PATH_NOT_FOUND},
        {false, u"\\", FALSE, ERROR_ACCESS_DENIED},
        {false, u"\\dirs\\..", FALSE, ERROR_ACCESS_DENIED},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(kSentinel);
        BOOL result = rows[i].create ? CreateDirectoryW(rows[i].path, nullptr) : RemoveDirectoryW(rows[i].path);
        EXPECT_EQ(result, rows[i].result) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
    }
    EXPECT_TRUE(fs::exists(device.Host("\\dirs\\full\\x")));
    EXPECT_FALSE(fs::exists(device.Host("\\dirs\\new")));
}

TEST_F(FileOps, Attributes) {
    device.WriteHostFile("\\at\\plain.txt", "");
    device.WriteHostFile("\\at\\.hidden", "");
    device.WriteHostFile("\\at\\locked.txt", "");
    ReadOnly("\\at\\locked.txt");
    fs::create_directory(device.Host("\\at\\.Folder"));
    ReadOnly("\\at\\.Folder");
    struct Row {
        const char16_t *path;
        DWORD attributes;
        DWORD error;  // when attributes is INVALID_FILE_ATTRIBUTES
    } rows[] = {
        {u"\\at\\PLAIN.TXT", FILE_ATTRIBUTE_NORMAL, 0},
        {u"\\at\\.hidden", FILE_ATTRIBUTE_HIDDEN, 0},
        {u"\\at\\locked.txt", FILE_ATTRIBUTE_READONLY, 0},
        {u"\\at\\.folder\\", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, 0},
        {u"\\at", FILE_ATTRIBUTE_DIRECTORY, 0},
        {u"\\", FILE_ATTRIBUTE_DIRECTORY, 0},
        {u"\\at\\missing", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
        {u"\\missing\\x", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        {u"\\at\\plain.txt\\", INVALID_FILE_ATTRIBUTES, ERROR_INVALID_NAME},
        {nullptr, INVALID_FILE_ATTRIBUTES, ERROR_INVALID_PARAMETER},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(kSentinel);
        EXPECT_EQ(GetFileAttributesW(rows[i].path), rows[i].attributes) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].attributes == INVALID_FILE_ATTRIBUTES ? rows[i].error : kSentinel)
            << "row " << i;
    }

    // Read-only maps to the owner's write permission, both ways.
    EXPECT_TRUE(SetFileAttributesW(u"\\at\\plain.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesW(u"\\at\\plain.txt"), DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_EQ(fs::status(device.Host("\\at\\plain.txt")).permissions() & fs::perms::owner_write, fs::perms::none);
    SetLastError(kSentinel);
    EXPECT_EQ(CreateFileW(u"\\at\\plain.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_TRUE(SetFileAttributesW(u"\\at\\plain.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesW(u"\\at\\plain.txt"), DWORD{FILE_ATTRIBUTE_NORMAL});
    EXPECT_TRUE(DeleteFileW(u"\\at\\plain.txt"));
    struct Bad {
        const char16_t *path;
        DWORD attributes, error;
    } bad[] = {
        {u"\\at\\missing", FILE_ATTRIBUTE_NORMAL, ERROR_FILE_NOT_FOUND},
        {u"\\at\\.hidden", 0x00010000, ERROR_INVALID_PARAMETER},
        {nullptr, FILE_ATTRIBUTE_NORMAL, ERROR_INVALID_PARAMETER},
    };
    for (size_t i = 0; i < std::size(bad); ++i) {
        SetLastError(kSentinel);
        EXPECT_FALSE(SetFileAttributesW(bad[i].path, bad[i].attributes)) << "row " << i;
        EXPECT_EQ(GetLastError(), bad[i].error) << "row " << i;
    }
}

}  // namespace
