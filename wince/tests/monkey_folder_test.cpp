// The monkey's record of the documents: its own changes keep it true, a
// file lost behind its back is named, the programs' traced deletes and
// moves are taken in, and a resync takes the folder as it is.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "script/monkey_folder.h"
#include "temp_device.h"

namespace fs = std::filesystem;

namespace {

class MonkeyFolderTest : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        for (const char *name : {"\\My Documents\\a.txt", "\\My Documents\\Work\\b.doc", "\\My Documents\\c.pxl"})
            device.WriteHostFile(name, "x");
    }
    fs::path Documents() const { return device.Host("\\My Documents"); }
    fs::path Trace() const { return device.Host("\\trace.jsonl"); }
};

TEST_F(MonkeyFolderTest, ItsOwnChangesKeepEveryKnownFile) {
    wince::MonkeyFolder folder(Documents(), Trace());
    std::mt19937_64 random(7);
    for (int i = 0; i < 300; ++i) {
        std::string what = folder.Change(random);
        ASSERT_EQ(folder.Missing(), "") << "after change " << i << ": " << what;
    }
}

TEST_F(MonkeyFolderTest, LossesBehindItsBackAreNamedUntilTracedOrResynced) {
    const struct {
        const char *what;
        std::string trace;  // a line a program traced, or none
        bool resync;
        const char *missing;
    } rows[] = {
        {"deleted outside", "", false, "a.txt"},
        {"deleted by a program", R"({"event":"DeleteFile","path":"\\My Documents\\a.txt","result":true})", false, ""},
        {"a failed delete traced", R"({"event":"DeleteFile","path":"\\My Documents\\a.txt","result":false})", false,
         "a.txt"},
        {"moved by a program", R"({"event":"MoveFile","from":"\\My Documents\\a.txt","to":"\\Temp\\a.txt","result":true})",
         false, ""},
        {"deleted in a started program, then resynced", "", true, ""},
    };
    for (const auto &row : rows) {
        device.WriteHostFile("\\My Documents\\a.txt", "x");
        fs::remove(Trace());
        wince::MonkeyFolder folder(Documents(), Trace());
        fs::remove(Documents() / "a.txt");
        if (!row.trace.empty()) std::ofstream(Trace()) << row.trace << "\n";
        folder.FollowTrace();
        if (row.resync) folder.Resync();
        EXPECT_EQ(folder.Missing(), row.missing) << row.what;
    }
}

}  // namespace
