// The item follows its folder on the real file system: change notification
// after the first paint, and the poll of a missing folder.
#include <aygshell.h>
#include <gtest/gtest.h>

#include <functional>
#include <filesystem>
#include <chrono>
#include <set>
#include <thread>

#include "item_user.h"
#include "plugin_fixture.h"
#include "window/clock.h"
#include "window/message_queue.h"
#include "window/window.h"

namespace {

using plugin_testing::PluginTest;

DWORD HeightOf(HWND item, TODAYLISTITEM &record) {
    SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0);
    return record.cyp;
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

// The document names the item drew in its last paint, after taking the
// height it now asks for, as the Today screen does every two seconds.
class LiveRefresh : public item_testing::ItemUserTest {
   protected:
    std::set<std::u16string> Shown() {
        SetWindowPos(item, nullptr, 0, 0, 240, static_cast<int>(ItemHeight()), SWP_NOZORDER);
        InvalidateRect(item, nullptr, TRUE);
        UpdateWindow(item);
        std::set<std::u16string> texts;
        if (wince::Window *w = wince::FromHandle(item))
            for (const wince::DrawnText &t : w->drawnText) texts.insert(t.text);
        return texts;
    }
    bool Shows(const std::u16string &name) { return Shown().count(name) != 0; }
    bool ShowsTextStarting(const std::u16string &prefix) {
        for (const std::u16string &t : Shown())
            if (t.rfind(prefix, 0) == 0) return true;
        return false;
    }
    std::string Listing() {
        std::string out;
        for (const std::u16string &t : Shown()) out += "\"" + std::string(t.begin(), t.end()) + "\" ";
        return out;
    }
    void Move(const std::string &from, const std::string &to) {
        std::filesystem::rename(device.Host("\\My Documents\\" + from), device.Host("\\My Documents\\" + to));
    }
};

TEST_F(LiveRefresh, OutsideChangesShowWithoutTheUser) {
    const struct {
        bool subfolders;
        std::function<void()> change;
        std::u16string appears, disappears;
    } rows[] = {
        {false, [this] { AddDocuments({"new.txt"}); }, u"new", u""},
        {false, [this] { std::filesystem::remove(device.Host("\\My Documents\\old.txt")); }, u"", u"old"},
        {false, [this] { Move("old.txt", "renamed.txt"); }, u"renamed", u"old"},
        {true, [this] { AddDocuments({"sub\\deep.txt"}); }, u"deep", u""},
        {true, [this] { Move("sub\\inner.txt", "sub\\moved.txt"); }, u"moved", u"inner"},
        {true, [this] { Move("sub\\inner.txt", "inner2.txt"); }, u"inner2", u"inner"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        std::filesystem::remove_all(device.Host("\\My Documents"));
        AddDocuments({"keep.txt", "old.txt", "sub\\inner.txt"});
        SetSetting(u"Subfolders", rows[i].subfolders ? 1 : 0);
        Grid(1, 6);
        ShowItem();
        ASSERT_TRUE(Shows(u"keep")) << "row " << i;
        EXPECT_EQ(Shows(u"inner"), rows[i].subfolders) << "row " << i;
        rows[i].change();
        EXPECT_TRUE(PumpUntil([&] {
            std::set<std::u16string> shown = Shown();
            return (rows[i].appears.empty() || shown.count(rows[i].appears)) &&
                   (rows[i].disappears.empty() || !shown.count(rows[i].disappears));
        })) << "row " << i;
        EXPECT_TRUE(Shows(u"keep")) << "row " << i;
    }
}

// The Today screen re-creates its items after the settings changed: the new
// window watches the folder configured now, and the old one is let go.
TEST_F(LiveRefresh, ARecreatedItemWatchesOnlyTheNewlyConfiguredFolder) {
    std::filesystem::remove_all(device.Host("\\My Documents"));
    AddDocuments({"keep.txt"});
    device.WriteHostFile("\\Other\\there.txt", "x");
    Grid(1, 6);
    ShowItem();
    ASSERT_TRUE(Shows(u"keep")) << Listing();  // watched since the first paint
    SetSetting(u"Folder", std::u16string(u"\\Other"));
    DestroyWindow(item);
    record = TODAYLISTITEM{};
    record.fEnabled = TRUE;
    item = CreateItem(record);
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(Shows(u"there")) << Listing();

    // A change in each folder, the old one first; the item hears of the new one only.
    AddDocuments({"stale.txt"});
    device.WriteHostFile("\\Other\\fresh.txt", "x");
    std::vector<std::u16string> heard;
    auto hearsFresh = [&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_FILECHANGEINFO && msg.hwnd == item)
                heard.push_back(
                    reinterpret_cast<const char16_t *>(reinterpret_cast<FILECHANGENOTIFY *>(msg.wParam)->fci.dwItem1));
            DispatchMessageW(&msg);
        }
        for (const std::u16string &path : heard)
            if (path == u"\\Other\\fresh.txt") return true;
        return false;
    };
    // Read the queue here rather than through PumpUntil, which would dispatch the reports unseen.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!hearsFresh() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // lets a late report of the old folder arrive
    EXPECT_TRUE(hearsFresh());
    for (const std::u16string &path : heard)
        EXPECT_EQ(path.rfind(u"\\Other\\", 0), 0u) << std::string(path.begin(), path.end());
    EXPECT_TRUE(Shows(u"fresh")) << Listing();
    EXPECT_FALSE(Shows(u"stale")) << Listing();
}

// An empty folder drops its registration and polls: the next tick finds new
// documents (no paint in between, which would rescan too), and the poll
// goes on since the folder itself did not change.
TEST_F(LiveRefresh, AnEmptyFolderThatGainsADocumentIsFoundByTheNextTick) {
    std::filesystem::create_directories(device.Host("\\My Documents"));
    Grid(1, 6);
    ShowItem();
    const DWORD empty = ItemHeight();
    EXPECT_TRUE(ShowsTextStarting(u"No doc")) << Listing();
    AddDocuments({"first.txt", "second.txt"});
    wince::PumpReadyMessages();
    EXPECT_EQ(ItemHeight(), empty) << "nothing is watched while the folder is empty";
    wince::Clock::Advance(1000);
    wince::PumpReadyMessages();
    EXPECT_GT(ItemHeight(), empty);
    EXPECT_TRUE(Shows(u"first") && Shows(u"second")) << Listing();
    MSG msg;
    wince::Clock::Advance(1000);
    EXPECT_TRUE(PeekMessageW(&msg, item, WM_TIMER, WM_TIMER, PM_NOREMOVE)) << "still polling";
}

}  // namespace
