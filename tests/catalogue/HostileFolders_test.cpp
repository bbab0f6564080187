// Folders a user or another program can leave behind on a device: very
// many files, folders the scan may not read, folder links that lead back
// up. The scan ends, lists what it can and never crashes.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "catalogue/Rescan.h"
#include "core/unicode.h"
#include "item/ItemWindow.h"
#include "scan_fixture.h"

namespace fs = std::filesystem;

namespace {

// Root reads every folder whatever its mode. Permission bits only bite
// once the calling thread gives up the capabilities that override them;
// capabilities belong to a thread, so the rest of the process keeps them.
class PermissionBitsApply {
   public:
    PermissionBitsApply() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        if (syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        dropped_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~PermissionBitsApply() {
        if (dropped_) syscall(SYS_capset, &header_, saved_);
    }
    bool Active() const { return dropped_ || geteuid() != 0; }

   private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool dropped_ = false;
};

class HostileFolders : public catalogue_testing::ScanTest {
   protected:
    void SetUp() override {
        ScanTest::SetUp();
        itemWindow.settings.SetShowAll(true);
    }
    // How often each document path was listed.
    static std::map<std::string, int> Counted() {
        std::map<std::string, int> seen;
        for (const std::string &path : Listed()) ++seen[path];
        return seen;
    }
    fs::path Docs() const { return device.Host("\\My Documents"); }
};

TEST_F(HostileFolders, AHundredThousandDocuments) {
    // Memory holds the files when it can: a disk makes this test slow.
    std::error_code ec;
    testing_support::TempDevice bulk(fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm")
                                                                      : fs::temp_directory_path());
    const fs::path docs = bulk.Host("\\My Documents");
    fs::create_directories(docs);
    constexpr int kFiles = 100000;
    for (int i = 0; i < kFiles; ++i) std::ofstream(docs / ("doc" + std::to_string(i) + ".txt"));
    Rescan(window);
    const DocumentCatalogue &list = itemWindow.catalogue;
    ASSERT_EQ(list.Count(), kFiles);
    EXPECT_EQ(list.Capacity(), kFiles) << "grown in steps of 32, and 100,000 is a multiple of 32";
    int outOfOrder = 0;
    for (int i = 1; i < kFiles; ++i)
        if (lstrcmpiW(list.Entry(i - 1)->name.c_str(), list.Entry(i)->name.c_str()) > 0) ++outOfOrder;
    EXPECT_EQ(outOfOrder, 0);
    EXPECT_EQ(list.Entry(0)->name, u"doc0");
    EXPECT_EQ(list.Entry(kFiles - 1)->name, u"doc99999");
}

TEST_F(HostileFolders, FoldersThatCannotBeReadAreSkipped) {
    device.WriteHostFile("\\My Documents\\top.txt", "x");
    device.WriteHostFile("\\My Documents\\open\\seen.txt", "x");
    device.WriteHostFile("\\My Documents\\locked\\hidden.txt", "x");
    device.WriteHostFile("\\My Documents\\open\\deeper\\also.txt", "x");
    const fs::path locked = Docs() / "locked", deeper = Docs() / "open" / "deeper";
    const struct {
        bool subfolders;
        std::vector<fs::path> unreadable;
        std::map<std::string, int> expected;
    } rows[] = {
        {true,
         {locked},
         {{"\\My Documents\\open\\deeper\\also.txt", 1},
          {"\\My Documents\\open\\seen.txt", 1},
          {"\\My Documents\\top.txt", 1}}},
        {false, {locked}, {{"\\My Documents\\top.txt", 1}}},
        {true, {locked, deeper}, {{"\\My Documents\\open\\seen.txt", 1}, {"\\My Documents\\top.txt", 1}}},
        {true, {Docs()}, {}},  // the configured folder itself
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        itemWindow.settings.SetSubfolders(rows[i].subfolders);
        for (const fs::path &folder : rows[i].unreadable) fs::permissions(folder, fs::perms::none);
        bool scanned = false;
        {
            PermissionBitsApply asAUser;
            if (asAUser.Active()) {
                Rescan(window);
                scanned = true;
            }
        }
        for (const fs::path &folder : rows[i].unreadable) fs::permissions(folder, fs::perms::owner_all);
        if (!scanned) GTEST_SKIP() << "cannot give up the right to read every folder here";
        EXPECT_EQ(Counted(), rows[i].expected) << "row " << i;
    }
}

TEST_F(HostileFolders, FolderLinksThatLeadBackUpAreNotFollowed) {
    device.WriteHostFile("\\My Documents\\a.txt", "x");
    device.WriteHostFile("\\My Documents\\sub\\b.txt", "x");
    device.WriteHostFile("\\Elsewhere\\c.txt", "x");
    fs::create_directory_symlink("..", Docs() / "sub" / "up");
    fs::create_directory_symlink(".", Docs() / "sub" / "here");
    fs::create_directory_symlink("../My Documents", device.Host("\\Elsewhere") / "docs");
    fs::create_directory_symlink("../Elsewhere", Docs() / "away");
    itemWindow.settings.SetSubfolders(true);
    Rescan(window);
    // "away" is an ordinary folder to the scan; inside it "docs" leads back.
    const std::map<std::string, int> expected = {
        {"\\My Documents\\a.txt", 1}, {"\\My Documents\\away\\c.txt", 1}, {"\\My Documents\\sub\\b.txt", 1}};
    EXPECT_EQ(Counted(), expected);
}

}  // namespace
