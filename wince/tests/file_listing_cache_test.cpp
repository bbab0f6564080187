// Listings kept between FindFirstFile calls: every outside change shows in
// the next listing exactly as it would without the cache, also when the
// folder's modification time cannot tell; during a walk, a millisecond later.
#include <windows.h>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/unicode.h"
#include "file/listing_cache.h"
#include "temp_device.h"

namespace fs = std::filesystem;

namespace {

class ListingCache : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        DeviceTest::SetUp();
        wince::DropListingCache();
    }

    // Every record of a pattern, one line each, with what a caller sees.
    std::string Records(const std::u16string &pattern) {
        std::string out;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW(pattern.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return "error " + std::to_string(GetLastError());
        do {
            out += wince::ToUtf8(data.cFileName) + " attr=" + std::to_string(data.dwFileAttributes) +
                   " size=" + std::to_string(data.nFileSizeLow) +
                   " written=" + std::to_string(data.ftLastWriteTime.dwLowDateTime) +
                   " created=" + std::to_string(data.ftCreationTime.dwLowDateTime) + "\n";
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return out;
    }

    // The folder's modification time put back, as if the change had come
    // within the same tick of a coarse clock.
    struct KeepTime {
        fs::path folder;
        struct stat before {};
        explicit KeepTime(fs::path f) : folder(std::move(f)) { stat(folder.c_str(), &before); }
        ~KeepTime() {
            timespec times[2] = {before.st_atim, before.st_mtim};
            utimensat(AT_FDCWD, folder.c_str(), times, 0);
        }
    };
};

void Append(const fs::path &file, const std::string &bytes) {
    std::ofstream(file, std::ios::app) << bytes;
}

TEST_F(ListingCache, OutsideChangesShowInTheNextListing) {
    const fs::path a = device.Host("\\c\\a"), b = device.Host("\\c\\b");
    const struct {
        const char *what;
        std::function<void()> change;
        bool visible = true;  // false: the records stay as they were
    } rows[] = {
        {"file created", [&] { std::ofstream(a / "new.txt") << "n"; }},
        {"file deleted", [&] { fs::remove(a / "one.txt"); }},
        {"file renamed", [&] { fs::rename(a / "one.txt", a / "uno.txt"); }},
        {"file moved to the other folder", [&] { fs::rename(a / "one.txt", b / "one.txt"); }},
        {"file grown", [&] { Append(a / "one.txt", "more"); }},
        {"file truncated", [&] { fs::resize_file(a / "two.txt", 0); }},
        {"file made read-only",
         [&] { fs::permissions(a / "one.txt", fs::perms::owner_write, fs::perm_options::remove); }},
        {"file created, folder time kept",
         [&] {
             KeepTime keep(a);
             std::ofstream(a / "same-tick.txt") << "x";
         }},
        {"file deleted and another made, folder time kept",
         [&] {
             KeepTime keep(a);
             fs::remove(a / "one.txt");
             std::ofstream(a / "One.txt") << "other";
         }},
        {"file replaced by one of the same name",
         [&] {
             std::ofstream(a / "spare") << "longer text";
             fs::rename(a / "spare", a / "one.txt");
         }},
        {"subfolder removed and made again",
         [&] {
             fs::remove_all(a / "sub");
             fs::create_directory(a / "sub");
             std::ofstream(a / "sub" / "inner.txt") << "again";
         }},
        {"folder renamed away and made again",
         [&] {
             fs::rename(a, device.Host("\\c\\old"));
             fs::create_directory(a);
             std::ofstream(a / "fresh.txt") << "f";
         }},
        {"parent renamed and made again",
         [&] {
             fs::rename(device.Host("\\c"), device.Host("\\gone"));
             fs::create_directories(a / "sub");
             std::ofstream(a / "sub" / "inner.txt") << "new parent";
         }},
        {"folder swapped with its sibling",
         [&] {
             fs::rename(a, device.Host("\\c\\swap"));
             fs::rename(b, a);
             fs::rename(device.Host("\\c\\swap"), b);
         }},
        {"parent swapped with another of the same shape",
         [&] {
             fs::create_directories(device.Host("\\other\\a\\sub"));
             fs::create_directories(device.Host("\\other\\b"));
             std::ofstream(device.Host("\\other\\a\\sub\\inner.txt")) << "other tree";
             fs::rename(device.Host("\\c"), device.Host("\\gone"));
             fs::rename(device.Host("\\other"), device.Host("\\c"));
         }},
        {"file with a second name grown through it", [&] { Append(device.Host("\\c\\elsewhere"), "grown"); }},
        {"link target grown", [&] { Append(b / "target.txt", "grown"); }},
        {"folder renamed to another case", [&] { fs::rename(a, device.Host("\\c\\A")); }, false},
        {"folder replaced by a link that leads outside",
         [&] {
             fs::remove_all(a);
             fs::create_directory_symlink("/etc", a);
         }},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        fs::remove_all(device.Host("\\c"));
        fs::remove_all(device.Host("\\gone"));
        fs::create_directories(a / "sub");
        fs::create_directories(b);
        std::ofstream(a / "one.txt") << "1";
        std::ofstream(a / "two.txt") << "22";
        std::ofstream(a / "sub" / "inner.txt") << "333";
        std::ofstream(b / "target.txt") << "t";
        fs::create_symlink("../b/target.txt", a / "link.txt");
        fs::create_hard_link(a / "two.txt", device.Host("\\c\\elsewhere"));
        const std::vector<std::u16string> patterns = {u"\\c\\a\\*.*", u"\\c\\a\\*.txt", u"\\c\\a\\sub\\*",
                                                      u"\\c\\b\\*"};
        std::vector<std::string> before;
        for (const auto &p : patterns) before.push_back(Records(p));
        for (const auto &p : patterns) Records(p);  // served from the cache now
        ASSERT_GT(wince::CachedListingEntries(), 0u) << rows[i].what;

        rows[i].change();
        std::vector<std::string> cached;
        for (const auto &p : patterns) cached.push_back(Records(p));
        wince::DropListingCache();
        std::vector<std::string> fresh;
        for (const auto &p : patterns) fresh.push_back(Records(p));
        if (rows[i].visible) {
            EXPECT_NE(fresh, before) << rows[i].what << ": the change is not visible at all";
        }
        for (size_t p = 0; p < patterns.size(); ++p)
            EXPECT_EQ(cached[p], fresh[p]) << rows[i].what << ", " << wince::ToUtf8(patterns[p]);
    }
}

// A folder read from the host for this listing: a change before the next
// FindNextFileW shows in the records still to come.
TEST_F(ListingCache, ChangesDuringAFreshListing) {
    const fs::path d = device.Host("\\m");
    for (const char *name : {"1", "2", "3"}) device.WriteHostFile(std::string("\\m\\") + name, name);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(u"\\m\\*", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    Append(d / "2", "grown");
    fs::remove(d / "3");
    ASSERT_TRUE(FindNextFileW(find, &data));
    EXPECT_EQ(std::u16string(data.cFileName), u"2");
    EXPECT_EQ(data.nFileSizeLow, 6u);
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(FindNextFileW(find, &data));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_FILES});
    FindClose(find);
}

// Entries that the watch cannot vouch for are asked of the host each time,
// and the platform's own changes invalidate like any other.
TEST_F(ListingCache, ThePlatformsOwnChangesShow) {
    device.WriteHostFile("\\p\\a.txt", "a");
    Records(u"\\p\\*");
    HANDLE h = CreateFileW(u"\\p\\b.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, "bbbb", 4, &written, nullptr);
    CloseHandle(h);
    ASSERT_TRUE(MoveFileW(u"\\p\\a.txt", u"\\p\\c.txt"));
    std::string cached = Records(u"\\p\\*");
    wince::DropListingCache();
    EXPECT_EQ(cached, Records(u"\\p\\*"));
    EXPECT_NE(cached.find("b.txt attr=128 size=4"), std::string::npos) << cached;
    EXPECT_EQ(cached.find("a.txt"), std::string::npos) << cached;
}

// A subfolder of a listed folder is mapped from its parent's mapping: every
// kind of name answers as the full mapping from the root does.
TEST_F(ListingCache, SubfoldersOfAListedFolderMapAsFromTheRoot) {
    const fs::path a = device.Host("\\c\\a");
    fs::create_directories(a / "sub");
    fs::create_directories(a / "Mixed");
    fs::create_directories(device.Host("\\c\\b"));
    std::ofstream(a / "sub" / "inner.txt") << "1";
    std::ofstream(a / "Mixed" / "m.txt") << "22";
    std::ofstream(a / "file.txt") << "333";
    std::ofstream(device.Host("\\c\\b\\t.txt")) << "t";
    fs::create_directory_symlink("/etc", a / "out");
    fs::create_directory_symlink("../b", a / "in");
    const std::u16string paths[] = {u"\\c\\a\\sub\\*",  u"\\c\\a\\SUB\\*.txt", u"\\c\\a\\mixed\\*",
                                    u"\\c\\a\\out\\*",  u"\\c\\a\\in\\*",      u"\\c\\a\\file.txt\\*",
                                    u"\\c\\a\\none\\*", u"\\c\\a\\sub\\x?z",   u"\\c\\a\\a<b\\*"};
    for (const std::u16string &path : paths) {
        wince::DropListingCache();
        const std::string fromRoot = Records(path);
        Records(u"\\c\\a\\*");  // the parent listed, so its mapping is watched
        Records(u"\\c\\a\\*");
        EXPECT_EQ(Records(path), fromRoot) << wince::ToUtf8(path);
    }
}

}  // namespace

// While a walk is going on (a find handle open), a find may answer from what
// the watches said within the last millisecond: the program's own changes
// still show at once, one made outside the platform a millisecond later.
TEST_F(ListingCache, ChangesWhileAWalkIsGoingOn) {
    const fs::path w = device.Host("\\w");
    auto handle = [](const char16_t *name, DWORD disposition) {
        return CreateFileW(name, GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr);
    };
    const struct {
        const char *what;
        std::function<void()> change;
        bool outside;
    } rows[] = {
        {"file made by the program", [&] { CloseHandle(handle(u"\\w\\new.txt", CREATE_NEW)); }, false},
        {"file written by the program",
         [&] {
             HANDLE h = handle(u"\\w\\a.txt", OPEN_EXISTING);
             DWORD written = 0;
             WriteFile(h, "longer", 6, &written, nullptr);
             CloseHandle(h);
         },
         false},
        {"file deleted by the program", [] { DeleteFileW(u"\\w\\b.txt"); }, false},
        {"file renamed by the program", [] { MoveFileW(u"\\w\\a.txt", u"\\w\\c.txt"); }, false},
        {"file made read-only by the program", [] { SetFileAttributesW(u"\\w\\a.txt", FILE_ATTRIBUTE_READONLY); },
         false},
        {"folder made by the program", [] { CreateDirectoryW(u"\\w\\sub", nullptr); }, false},
        {"file made outside", [&] { std::ofstream(w / "outside.txt") << "o"; }, true},
        {"file deleted outside", [&] { fs::remove(w / "b.txt"); }, true},
    };
    for (const auto &row : rows) {
        fs::remove_all(w);
        device.WriteHostFile("\\w\\a.txt", "a");
        device.WriteHostFile("\\w\\b.txt", "bb");
        wince::DropListingCache();
        WIN32_FIND_DATAW data;
        HANDLE walk = FindFirstFileW(u"\\*", &data);
        ASSERT_NE(walk, INVALID_HANDLE_VALUE);
        const std::string before = Records(u"\\w\\*");
        Records(u"\\w\\*");  // served from the cache now
        row.change();
        if (row.outside) usleep(2000);
        const std::string seen = Records(u"\\w\\*");
        FindClose(walk);
        wince::DropListingCache();
        EXPECT_NE(seen, before) << row.what;
        EXPECT_EQ(seen, Records(u"\\w\\*")) << row.what;
    }
}

// A walk keeps a few folders open for the next find of the same listing,
// never one per folder walked.
TEST_F(ListingCache, AWalkKeepsFewFoldersOpen) {
    for (int i = 0; i < 100; ++i) device.WriteHostFile("\\t\\f" + std::to_string(i) + "\\a.txt", "a");
    auto openDescriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    Records(u"\\t\\*");
    const auto before = openDescriptors();
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < 100; ++i) {
            const std::u16string folder = u"\\t\\f" + wince::FromUtf8(std::to_string(i));
            EXPECT_NE(Records(folder + u"\\*.txt").find("a.txt"), std::string::npos);
            EXPECT_NE(Records(folder + u"\\*.*").find("a.txt"), std::string::npos);
        }
    EXPECT_LE(openDescriptors() - before, 16);
    wince::DropListingCache();
    EXPECT_LT(openDescriptors(), before);
}
