// The item follows its folder on the real file system: change notification
// after the first paint, and the poll of a missing folder.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <filesystem>
#include <thread>

#include "plugin_fixture.h"
#include "window/clock.h"
#include "window/message_queue.h"

namespace {

using plugin_testing::PluginTest;

DWORD HeightOf(HWND item, TODAYLISTITEM &record) {
    SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0);
    return record.cyp;
}

// Lets inotify deliver and the item react, for at most two seconds.
bool PumpUntil(const std::function<bool()> &done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
        wince::PumpReadyMessages();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

TEST_F(PluginTest, ChangesFromOutsideRescanAfterTheFirstPaint) {
    device.WriteHostFile("\\My Documents\\one.txt", "x");
    ASSERT_TRUE(Load());
    TODAYLISTITEM record{};
    record.fEnabled = TRUE;
    HWND item = CreateItem(record);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(HeightOf(item, record), 20u);  // one row of two columns
    SetWindowPos(item, nullptr, 0, 0, 240, 20, SWP_NOZORDER);  // the first paint registers
    wince::PumpReadyMessages();
    device.WriteHostFile("\\My Documents\\two.txt", "x");
    device.WriteHostFile("\\My Documents\\three.psw", "x");
    EXPECT_TRUE(PumpUntil([&] { return HeightOf(item, record) == 36u; })) << record.cyp;
    std::filesystem::remove(device.Host("\\My Documents\\three.psw"));
    EXPECT_TRUE(PumpUntil([&] { return HeightOf(item, record) == 20u; })) << record.cyp;
}

TEST_F(PluginTest, AMissingFolderIsFoundWithinASecondOfAppearing) {
    std::filesystem::remove_all(device.Host("\\My Documents"));
    ASSERT_TRUE(Load());
    TODAYLISTITEM record{};
    record.fEnabled = TRUE;
    HWND item = CreateItem(record);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(HeightOf(item, record), 20u);
    for (const char *name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
        device.WriteHostFile(std::string("\\My Documents\\") + name, "x");
    wince::Clock::Advance(999);
    wince::PumpReadyMessages();
    EXPECT_EQ(HeightOf(item, record), 20u) << "not yet polled";
    wince::Clock::Advance(1);
    wince::PumpReadyMessages();
    EXPECT_EQ(HeightOf(item, record), 54u);  // three rows of two
}

}  // namespace
