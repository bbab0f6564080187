// Shell change notification on the real file system of a test device:
// registration rules, the records WM_FILECHANGEINFO carries, folders below
// the watched one, coalesced writes, and what happens to records when a
// registration or its window goes.
#include <windows.h>

#include <aygshell.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/unicode.h"
#include "shell/change_notify.h"
#include "temp_device.h"
#include "window/message_queue.h"

namespace {

namespace fs = std::filesystem;

struct Seen {
    HWND hwnd;
    LONG event;
    std::u16string item1, item2;
    DWORD attributes;
    ULONG size;
    bool wellFormed;  // cbSize, dwRefCount, uFlags and lParam as the device passes them
};

std::vector<Seen> seen;
bool receiverFrees = true;

LRESULT CALLBACK Receiver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_FILECHANGEINFO) return DefWindowProcW(hwnd, msg, wParam, lParam);
    auto *n = reinterpret_cast<FILECHANGENOTIFY *>(wParam);
    const FILECHANGEINFO &f = n->fci;
    Seen s{hwnd, f.wEventId, {}, {}, f.dwAttributes, f.nFileSize, false};
    if (f.dwItem1) s.item1 = reinterpret_cast<const char16_t *>(f.dwItem1);
    if (f.dwItem2) s.item2 = reinterpret_cast<const char16_t *>(f.dwItem2);
    s.wellFormed =
        n->dwRefCount == 1 && f.cbSize == sizeof(FILECHANGEINFO) && f.uFlags == SHCNF_PATH && lParam == f.wEventId;
    seen.push_back(s);
    if (receiverFrees) SHChangeNotifyFree(n);
    return 0;
}

std::string Show(const std::vector<Seen> &list) {
    std::string out;
    for (const Seen &s : list) {
        char head[32];
        snprintf(head, sizeof head, "[0x%lx ", static_cast<unsigned long>(s.event));
        out += head + wince::ToUtf8(s.item1) + (s.item2.empty() ? "" : " -> " + wince::ToUtf8(s.item2)) + "] ";
    }
    return out;
}

class ShellNotifyTest : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Receiver;
        wc.lpszClassName = u"ChangeReceiver";
        RegisterClassW(&wc);
        window = NewWindow();
        fs::create_directories(device.Host("\\Docs\\Sub"));
        fs::create_directories(device.Host("\\Other"));
        seen.clear();
        receiverFrees = true;
    }
    void TearDown() override {
        for (HWND h : windows)
            if (IsWindow(h)) DestroyWindow(h);
        UnregisterClassW(u"ChangeReceiver", nullptr);
        wince::PumpReadyMessages();
        EXPECT_EQ(wince::LiveChangeRecords(), 0u);
    }
    HWND NewWindow() {
        HWND h = CreateWindowExW(0, u"ChangeReceiver", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        windows.push_back(h);
        return h;
    }
    BOOL Register(HWND hwnd, const char16_t *folder, bool recursive, DWORD mask = SHCNE_ALLEVENTS) {
        SHCHANGENOTIFYENTRY entry{mask, const_cast<LPTSTR>(folder), recursive};
        return SHChangeNotifyRegister(hwnd, &entry);
    }
    // Pumps until an event for the item arrives, for at most two seconds.
    bool WaitFor(LONG event, const std::u16string &item, HWND hwnd = nullptr) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        for (;;) {
            wince::PumpReadyMessages();
            for (const Seen &s : seen)
                if (s.event == event && s.item1 == item && (!hwnd || s.hwnd == hwnd)) return true;
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    // A change after everything the test did: once it arrives, inotify has
    // handed over all that came before, so what is missing was not reported.
    void Settle(HWND hwnd = nullptr) {
        std::string name = "\\Docs\\marker" + std::to_string(markers++);
        device.WriteHostFile(name, "");
        ASSERT_TRUE(WaitFor(SHCNE_CREATE, wince::FromUtf8(name), hwnd)) << Show(seen);
    }
    bool SeenItem(const std::u16string &item) const {
        for (const Seen &s : seen)
            if (s.item1 == item || s.item2 == item) return true;
        return false;
    }
    void Write(const std::string &devicePath, const std::string &bytes, bool append = false) {
        std::ofstream(device.Host(devicePath), append ? std::ios::app : std::ios::trunc) << bytes;
    }

    HWND window = nullptr;
    std::vector<HWND> windows;
    int markers = 0;
};

TEST_F(ShellNotifyTest, RegistrationChecksItsArguments) {
    device.WriteHostFile("\\Docs\\file.txt", "x");
    struct Row {
        bool goodWindow, entry;
        const char16_t *folder;
        BOOL result;
        DWORD error;
    } rows[] = {
        {true, false, nullptr, FALSE, ERROR_INVALID_PARAMETER},
        {true, true, nullptr, FALSE, ERROR_INVALID_PARAMETER},
        {true, true, u"\\Missing", FALSE, ERROR_FILE_NOT_FOUND},
        {true, true, u"\\Missing\\Deeper", FALSE, ERROR_PATH_NOT_FOUND},
        {true, true, u"\\Docs\\file.txt", FALSE, ERROR_DIRECTORY},
        {false, true, u"\\Docs", FALSE, ERROR_INVALID_WINDOW_HANDLE},
        {true, true, u"\\docs\\SUB", TRUE, 0xBEEF},
        {true, true, u"\\", TRUE, 0xBEEF},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        SHCHANGENOTIFYENTRY entry{SHCNE_ALLEVENTS, const_cast<LPTSTR>(r.folder), FALSE};
        SetLastError(0xBEEF);
        BOOL ok =
            SHChangeNotifyRegister(r.goodWindow ? window : reinterpret_cast<HWND>(0x7777), r.entry ? &entry : nullptr);
        EXPECT_EQ(ok, r.result) << "row " << i;
        EXPECT_EQ(GetLastError(), r.error) << "row " << i;
    }
    SetLastError(0xBEEF);
    EXPECT_TRUE(SHChangeNotifyDeregister(window));
    EXPECT_EQ(GetLastError(), 0xBEEFu);
    EXPECT_FALSE(SHChangeNotifyDeregister(window));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ShellNotifyTest, EachChangeIsOneMessageWithTheDeviceRecord) {
    ASSERT_TRUE(Register(window, u"\\Docs", false));
    struct Row {
        std::function<void()> act;
        LONG event;
        std::u16string item1, item2;
        DWORD attributes;
        ULONG size;
    } rows[] = {
        {[&] { Write("\\Docs\\a.txt", "hello"); }, SHCNE_CREATE, u"\\Docs\\a.txt", u"", FILE_ATTRIBUTE_NORMAL, 5},
        {[&] { Write("\\Docs\\a.txt", "!!", true); }, SHCNE_UPDATEITEM, u"\\Docs\\a.txt", u"", FILE_ATTRIBUTE_NORMAL,
         7},
        {[] { SetFileAttributesW(u"\\Docs\\a.txt", FILE_ATTRIBUTE_READONLY); }, SHCNE_ATTRIBUTES, u"\\Docs\\a.txt", u"",
         FILE_ATTRIBUTE_READONLY, 7},
        {[] { MoveFileW(u"\\Docs\\a.txt", u"\\Docs\\b.txt"); }, SHCNE_RENAMEITEM, u"\\Docs\\a.txt", u"\\Docs\\b.txt",
         FILE_ATTRIBUTE_READONLY, 7},
        {[] { SetFileAttributesW(u"\\Docs\\b.txt", FILE_ATTRIBUTE_NORMAL); }, SHCNE_ATTRIBUTES, u"\\Docs\\b.txt", u"",
         FILE_ATTRIBUTE_NORMAL, 7},
        {[] { DeleteFileW(u"\\Docs\\b.txt"); }, SHCNE_DELETE, u"\\Docs\\b.txt", u"", 0, 0},
        {[] { CreateDirectoryW(u"\\Docs\\New", nullptr); }, SHCNE_MKDIR, u"\\Docs\\New", u"", FILE_ATTRIBUTE_DIRECTORY,
         0},
        {[] { MoveFileW(u"\\Docs\\New", u"\\Docs\\Old"); }, SHCNE_RENAMEFOLDER, u"\\Docs\\New", u"\\Docs\\Old",
         FILE_ATTRIBUTE_DIRECTORY, 0},
        {[] { RemoveDirectoryW(u"\\Docs\\Old"); }, SHCNE_RMDIR, u"\\Docs\\Old", u"", FILE_ATTRIBUTE_DIRECTORY, 0},
        // Moved out of the watched folder: gone; moved in: new.
        {[] { MoveFileW(u"\\Docs\\Sub", u"\\Other\\Sub"); }, SHCNE_RMDIR, u"\\Docs\\Sub", u"", FILE_ATTRIBUTE_DIRECTORY,
         0},
        {[] { MoveFileW(u"\\Other\\Sub", u"\\Docs\\Back"); }, SHCNE_MKDIR, u"\\Docs\\Back", u"",
         FILE_ATTRIBUTE_DIRECTORY, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        seen.clear();
        r.act();
        ASSERT_TRUE(WaitFor(r.event, r.item1)) << "row " << i << ": " << Show(seen);
        wince::PumpReadyMessages();
        ASSERT_EQ(seen.size(), 1u) << "row " << i << ": " << Show(seen);
        const Seen &s = seen[0];
        EXPECT_EQ(s.hwnd, window) << "row " << i;
        EXPECT_TRUE(s.wellFormed) << "row " << i;
        EXPECT_EQ(wince::ToUtf8(s.item2), wince::ToUtf8(r.item2)) << "row " << i;
        EXPECT_EQ(s.attributes, r.attributes) << "row " << i;
        EXPECT_EQ(s.size, r.size) << "row " << i;
    }
}

TEST_F(ShellNotifyTest, OneWriteSessionPostsOnceOrAtItsEnd) {
    Write("\\Docs\\log.txt", "");
    ASSERT_TRUE(Register(window, u"\\Docs", false));
    // Two hundred writes before anyone looks: one message.
    HANDLE file = CreateFileW(u"\\Docs\\log.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    for (int i = 0; i < 200; ++i) {
        DWORD written = 0;
        WriteFile(file, "line\n", 5, &written, nullptr);
    }
    Settle();
    EXPECT_EQ(seen.size(), 2u) << Show(seen);
    EXPECT_EQ(seen[0].event, SHCNE_UPDATEITEM);
    // Writing on while the file stays open says nothing more until it closes.
    seen.clear();
    DWORD written = 0;
    WriteFile(file, "more\n", 5, &written, nullptr);
    Settle();
    EXPECT_EQ(seen.size(), 1u) << Show(seen);
    seen.clear();
    CloseHandle(file);
    ASSERT_TRUE(WaitFor(SHCNE_UPDATEITEM, u"\\Docs\\log.txt")) << Show(seen);
    EXPECT_EQ(seen.size(), 1u) << Show(seen);
    EXPECT_EQ(seen[0].size, 1005u);
}

TEST_F(ShellNotifyTest, SubfoldersAreReportedOnlyWhenRecursive) {
    for (bool recursive : {false, true}) {
        ASSERT_TRUE(Register(window, u"\\Docs", recursive));
        seen.clear();
        std::string name = recursive ? "\\Docs\\Sub\\r.txt" : "\\Docs\\Sub\\n.txt";
        Write(name, "x");
        Settle();
        EXPECT_EQ(SeenItem(wince::FromUtf8(name)), recursive) << "recursive " << recursive << ": " << Show(seen);
    }
}

TEST_F(ShellNotifyTest, FoldersMadeLaterAreWatchedWhenRecursive) {
    ASSERT_TRUE(Register(window, u"\\Docs", true));
    CreateDirectoryW(u"\\Docs\\Later", nullptr);
    ASSERT_TRUE(WaitFor(SHCNE_MKDIR, u"\\Docs\\Later")) << Show(seen);
    Write("\\Docs\\Later\\f.txt", "x");
    EXPECT_TRUE(WaitFor(SHCNE_CREATE, u"\\Docs\\Later\\f.txt")) << Show(seen);

    // A folder and its content made before anyone looked.
    fs::create_directories(device.Host("\\Docs\\Fast\\Deep"));
    Write("\\Docs\\Fast\\Deep\\g.txt", "x");
    EXPECT_TRUE(WaitFor(SHCNE_CREATE, u"\\Docs\\Fast\\Deep\\g.txt")) << Show(seen);

    // A renamed folder is watched under its new name.
    ASSERT_TRUE(MoveFileW(u"\\Docs\\Later", u"\\Docs\\Moved"));
    ASSERT_TRUE(WaitFor(SHCNE_RENAMEFOLDER, u"\\Docs\\Later")) << Show(seen);
    Write("\\Docs\\Moved\\h.txt", "x");
    EXPECT_TRUE(WaitFor(SHCNE_CREATE, u"\\Docs\\Moved\\h.txt")) << Show(seen);

    // A folder that went and came back under the same name is watched again.
    fs::remove_all(device.Host("\\Docs\\Moved"));
    ASSERT_TRUE(WaitFor(SHCNE_RMDIR, u"\\Docs\\Moved")) << Show(seen);
    CreateDirectoryW(u"\\Docs\\Moved", nullptr);
    ASSERT_TRUE(WaitFor(SHCNE_MKDIR, u"\\Docs\\Moved")) << Show(seen);
    seen.clear();
    Write("\\Docs\\Moved\\i.txt", "x");
    EXPECT_TRUE(WaitFor(SHCNE_CREATE, u"\\Docs\\Moved\\i.txt")) << Show(seen);
    Settle();
    EXPECT_EQ(seen.size(), 2u) << Show(seen);
}

TEST_F(ShellNotifyTest, LinksInsideTheDeviceAreNotFollowedRoundInALoop) {
    fs::create_directory_symlink("..", device.Host("\\Docs\\Sub\\up"));
    ASSERT_TRUE(Register(window, u"\\Docs", true));
    Write("\\Docs\\Sub\\x.txt", "x");
    Settle();
    int creates = 0;
    for (const Seen &s : seen) creates += s.event == SHCNE_CREATE && s.item1.find(u"x.txt") != std::u16string::npos;
    EXPECT_EQ(creates, 1) << Show(seen);
}

TEST_F(ShellNotifyTest, NamesThatAreNotUtf8KeepTheirLosslessSpelling) {
    ASSERT_TRUE(Register(window, u"\\Docs", false));
    std::string hostName = std::string("bad\xff") + ".txt";
    int fd = open((device.Host("\\Docs") / hostName).c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    close(fd);
    std::u16string expected = u"\\Docs\\" + wince::FromHostBytes(hostName);
    ASSERT_TRUE(WaitFor(SHCNE_CREATE, expected)) << Show(seen);
    // The reported name opens the file it names.
    ASSERT_TRUE(DeleteFileW(expected.c_str()));
    EXPECT_TRUE(WaitFor(SHCNE_DELETE, expected)) << Show(seen);
}

TEST_F(ShellNotifyTest, EventMaskAndTheRootFolder) {
    ASSERT_TRUE(Register(window, u"\\", false, SHCNE_CREATE));
    device.WriteHostFile("\\top.txt", "x");
    ASSERT_TRUE(WaitFor(SHCNE_CREATE, u"\\top.txt")) << Show(seen);
    seen.clear();
    DeleteFileW(u"\\top.txt");
    device.WriteHostFile("\\after.txt", "x");
    ASSERT_TRUE(WaitFor(SHCNE_CREATE, u"\\after.txt")) << Show(seen);
    EXPECT_EQ(seen.size(), 1u) << Show(seen);
}

TEST_F(ShellNotifyTest, DeregisteringAndReRegisteringStopTheOldMessages) {
    HWND witness = NewWindow();
    ASSERT_TRUE(Register(witness, u"\\Docs", false));
    ASSERT_TRUE(Register(window, u"\\Docs", false));
    // What changed while registered is still reported.
    Write("\\Docs\\before.txt", "x");
    ASSERT_TRUE(SHChangeNotifyDeregister(window));
    EXPECT_TRUE(WaitFor(SHCNE_CREATE, u"\\Docs\\before.txt", window)) << Show(seen);
    Write("\\Docs\\after.txt", "x");
    ASSERT_TRUE(WaitFor(SHCNE_CREATE, u"\\Docs\\after.txt", witness)) << Show(seen);
    Settle(witness);
    for (const Seen &s : seen) EXPECT_FALSE(s.hwnd == window && s.item1 == u"\\Docs\\after.txt");

    // A second registration replaces the first.
    ASSERT_TRUE(Register(window, u"\\Docs", false));
    ASSERT_TRUE(Register(window, u"\\Other", false));
    seen.clear();
    Write("\\Docs\\ignored.txt", "x");
    Write("\\Other\\wanted.txt", "x");
    ASSERT_TRUE(WaitFor(SHCNE_CREATE, u"\\Other\\wanted.txt", window)) << Show(seen);
    Settle(witness);
    for (const Seen &s : seen) EXPECT_FALSE(s.hwnd == window && s.item1 == u"\\Docs\\ignored.txt") << Show(seen);
}

TEST_F(ShellNotifyTest, ADestroyedWindowLosesItsRegistrationAndItsRecords) {
    receiverFrees = false;  // a receiver that never frees: its records are released with it
    ASSERT_TRUE(Register(window, u"\\Docs", false));
    Write("\\Docs\\one.txt", "x");
    ASSERT_TRUE(WaitFor(SHCNE_CREATE, u"\\Docs\\one.txt", window));
    Write("\\Docs\\two.txt", "x");
    // Queued for the window but not yet retrieved.
    MSG m;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!PeekMessageW(&m, window, WM_FILECHANGEINFO, WM_FILECHANGEINFO, PM_NOREMOVE) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(wince::LiveChangeRecords(), 2u);  // one delivered and kept, one waiting
    HWND gone = window;
    DestroyWindow(window);
    EXPECT_EQ(wince::LiveChangeRecords(), 0u);

    receiverFrees = true;
    HWND witness = NewWindow();
    ASSERT_TRUE(Register(witness, u"\\Docs", false));
    seen.clear();
    Write("\\Docs\\three.txt", "x");
    ASSERT_TRUE(WaitFor(SHCNE_CREATE, u"\\Docs\\three.txt", witness));
    Settle(witness);
    for (const Seen &s : seen) EXPECT_NE(s.hwnd, gone) << Show(seen);
    SetLastError(0xBEEF);
    EXPECT_FALSE(SHChangeNotifyDeregister(gone));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ShellNotifyTest, AnOverflowingQueueAsksForTheFolderToBeReadAgain) {
    int limit = 0;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> limit;
    if (limit <= 0 || limit > 200000) GTEST_SKIP() << "inotify queue limit " << limit;
    Write("\\Docs\\a", "");
    Write("\\Docs\\b", "");
    ASSERT_TRUE(Register(window, u"\\Docs", false));
    std::string a = device.Host("\\Docs\\a").string(), b = device.Host("\\Docs\\b").string();
    // Alternating files, so that inotify cannot merge neighbouring events.
    for (int i = 0; i <= limit / 2 + 8; ++i) {
        chmod(a.c_str(), i % 2 ? 0644 : 0600);
        chmod(b.c_str(), i % 2 ? 0644 : 0600);
    }
    ASSERT_TRUE(WaitFor(SHCNE_UPDATEDIR, u"\\Docs")) << Show(seen);
    Settle();
    int updates = 0, attributes = 0;
    for (const Seen &s : seen) {
        updates += s.event == SHCNE_UPDATEDIR;
        attributes += s.event == SHCNE_ATTRIBUTES;
    }
    EXPECT_EQ(updates, 1);
    EXPECT_LE(attributes, 4);  // merged per file, not one per chmod
}

}  // namespace

// Whoever is told of a change may look at once: a find right after the
// message lists it, also while a walk is going on.
TEST_F(ShellNotifyTest, AFindRightAfterTheMessageListsTheChange) {
    ASSERT_TRUE(Register(window, u"\\Docs", false));
    device.WriteHostFile("\\Docs\\early.txt", "e");
    WIN32_FIND_DATAW data;
    HANDLE walk = FindFirstFileW(u"\\*", &data);
    ASSERT_NE(walk, INVALID_HANDLE_VALUE);
    auto names = [] {
        std::string out;
        WIN32_FIND_DATAW record;
        HANDLE find = FindFirstFileW(u"\\Docs\\*", &record);
        if (find == INVALID_HANDLE_VALUE) return out;
        do out += wince::ToUtf8(record.cFileName) + " ";
        while (FindNextFileW(find, &record));
        FindClose(find);
        return out;
    };
    names();
    ASSERT_EQ(names().find("late.txt"), std::string::npos);
    Write("\\Docs\\late.txt", "l");
    // Pumped without pause, so that the find follows the message closely.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!SeenItem(u"\\Docs\\late.txt") && std::chrono::steady_clock::now() < deadline) wince::PumpReadyMessages();
    ASSERT_TRUE(SeenItem(u"\\Docs\\late.txt")) << Show(seen);
    EXPECT_NE(names().find("late.txt"), std::string::npos);
    FindClose(walk);
}
