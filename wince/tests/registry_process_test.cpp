// Several processes share one registry file: every committed write is kept,
// and a process sees the others' writes when it next opens a key.
#include <windows.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "device/device.h"
#include "temp_device.h"

namespace {

// Every write re-reads and rewrites the whole file, so the cost grows with the
// square of the count; the sanitizer build, many times slower, writes fewer.
#if defined(__SANITIZE_ADDRESS__)
const int kValuesPerProcess = 100;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
const int kValuesPerProcess = 100;
#else
const int kValuesPerProcess = 1000;
#endif
#else
const int kValuesPerProcess = 1000;
#endif

// "A-0042"
std::u16string ValueName(char16_t prefix, int i) {
    char digits[8];
    snprintf(digits, sizeof digits, "-%04d", i);
    return std::u16string(1, prefix) + std::u16string(digits, digits + strlen(digits));
}

class RegistryProcesses : public testing_support::DeviceTest {
   protected:
    // Runs `body` in a child process; its result is the exit status.
    pid_t Spawn(const std::function<bool()> &body) {
        pid_t pid = fork();
        if (pid == 0) _exit(body() ? 0 : 1);
        return pid;
    }
    static int Wait(pid_t pid) {
        int status = 0;
        if (waitpid(pid, &status, 0) != pid) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    static HKEY Create(const char16_t *path) {
        HKEY key = nullptr;
        return RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, 0, nullptr, &key, nullptr) == ERROR_SUCCESS
                   ? key
                   : nullptr;
    }
};

// A device folder in memory when the host has one: this test is about the
// lock, and 2000 syncs to a busy disk would make it slow for nothing.
class MemoryDevice {
   public:
    MemoryDevice() {
        std::string pattern = "/dev/shm/wince-registry-XXXXXX";
        if (std::filesystem::is_directory("/dev/shm") && mkdtemp(pattern.data())) {
            root_ = pattern;
            wince::Device::Select(root_);
        }
    }
    ~MemoryDevice() {
        std::error_code ec;
        if (!root_.empty()) std::filesystem::remove_all(root_, ec);
    }
    // The device in use: this one, or the test's own.
    std::filesystem::path Root(const std::filesystem::path &fallback) const { return root_.empty() ? fallback : root_; }

   private:
    std::filesystem::path root_;
};

TEST_F(RegistryProcesses, TwoWritersLoseNothing) {
    MemoryDevice memory;
    const std::filesystem::path root = memory.Root(device.Root());
    RegCloseKey(Create(u"Software\\Shared"));
    const int perProcess = kValuesPerProcess;
    auto writer = [&](char16_t prefix) {
        return [=]() {
            HKEY key = Create(u"Software\\Shared");
            if (!key) return false;
            for (DWORD i = 0; i < static_cast<DWORD>(perProcess); ++i) {
                std::u16string name = ValueName(prefix, static_cast<int>(i));
                DWORD data = i * 2 + (prefix == u'B');
                if (RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE *>(&data), 4) != ERROR_SUCCESS)
                    return false;
            }
            return RegCloseKey(key) == ERROR_SUCCESS;
        };
    };
    auto start = std::chrono::steady_clock::now();
    pid_t a = Spawn(writer(u'A')), b = Spawn(writer(u'B'));
    EXPECT_EQ(Wait(a), 0);
    EXPECT_EQ(Wait(b), 0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("seconds", std::to_string(seconds));

    wince::Device::Select(root);  // read the file afresh
    HKEY key = Create(u"Software\\Shared");
    ASSERT_NE(key, nullptr);
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 2u * perProcess);
    for (int i = 0; i < perProcess; i += 97) {
        for (char16_t prefix : {u'A', u'B'}) {
            std::u16string name = ValueName(prefix, i);
            DWORD data = 0, size = 4;
            ASSERT_EQ(RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE *>(&data), &size),
                      ERROR_SUCCESS)
                << "value " << i;
            EXPECT_EQ(data, static_cast<DWORD>(i * 2 + (prefix == u'B'))) << "value " << i;
        }
    }
    RegCloseKey(key);
}

TEST_F(RegistryProcesses, OthersWritesAreSeenAtTheNextOpen) {
    HKEY key = Create(u"Software\\Seen");
    HKEY doomed = Create(u"Software\\Seen\\Doomed");
    ASSERT_TRUE(key && doomed);
    pid_t child = Spawn([] {
        HKEY k = Create(u"Software\\Seen");
        DWORD v = 42;
        return k && RegSetValueExW(k, u"FromChild", 0, REG_DWORD, reinterpret_cast<BYTE *>(&v), 4) == ERROR_SUCCESS &&
               RegDeleteKeyW(k, u"Doomed") == ERROR_SUCCESS;
    });
    ASSERT_EQ(Wait(child), 0);
    HKEY reopened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Seen", 0, 0, &reopened), ERROR_SUCCESS);
    DWORD v = 0, size = 4;
    EXPECT_EQ(RegQueryValueExW(reopened, u"FromChild", nullptr, nullptr, reinterpret_cast<BYTE *>(&v), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(v, 42u);
    EXPECT_EQ(RegQueryValueExW(key, u"FromChild", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);  // same key, reloaded
    EXPECT_EQ(RegFlushKey(doomed), ERROR_KEY_DELETED);
    // Our own write starts from the child's state and keeps it.
    DWORD mine = 7;
    ASSERT_EQ(RegSetValueExW(key, u"FromParent", 0, REG_DWORD, reinterpret_cast<BYTE *>(&mine), 4), ERROR_SUCCESS);
    wince::Device::Select(device.Root());
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Seen", 0, 0, &reopened), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExW(reopened, u"FromChild", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExW(reopened, u"FromParent", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    for (HKEY h : {key, doomed, reopened}) RegCloseKey(h);
}

// A process that keeps opening keys (as a paint does) trusts its last look
// at the file for a moment; another process's write must still be seen by
// the very next open after that write, and a change made by hand to the
// file soon after.
TEST_F(RegistryProcesses, WritesAreSeenAtOnceWhileKeysKeepBeingOpened) {
    HKEY key = Create(u"Software\\Busy");
    ASSERT_TRUE(key);
    RegCloseKey(key);
    auto read = [] {
        HKEY k = nullptr;
        DWORD v = 0xFFFF, size = 4;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Busy", 0, 0, &k) != ERROR_SUCCESS) return v;
        RegQueryValueExW(k, u"Round", nullptr, nullptr, reinterpret_cast<BYTE *>(&v), &size);
        RegCloseKey(k);
        return v;
    };
    for (DWORD round = 1; round <= 8; ++round) {
        // The child says on a pipe when its write is done; until then this
        // process keeps opening the key, and opens it again at once.
        int done[2];
        ASSERT_EQ(pipe2(done, O_NONBLOCK), 0);
        pid_t child = Spawn([round, &done] {
            HKEY k = Create(u"Software\\Busy");
            bool ok = k && RegSetValueExW(k, u"Round", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&round), 4) ==
                               ERROR_SUCCESS;
            return write(done[1], "x", 1) == 1 && ok;
        });
        char byte = 0;
        while (::read(done[0], &byte, 1) != 1) read();
        EXPECT_EQ(read(), round) << "round " << round;
        EXPECT_EQ(Wait(child), 0) << "round " << round;
        close(done[0]);
        close(done[1]);
    }
    // By hand, beside the platform: seen once a moment has passed.
    read();
    std::string text;
    {
        std::ifstream in(device.Root() / "registry.reg", std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    size_t at = text.find("\"Round\"=dword:00000008");
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, 22, "\"Round\"=dword:00000063");
    std::ofstream(device.Root() / "registry.reg", std::ios::binary | std::ios::trunc) << text;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(read(), 0x63u);
}

}  // namespace
