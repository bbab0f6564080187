// The device's registry file and the process's cached copy of it.
//
// Every change is made under an exclusive lock on registry.reg.lock: re-read
// the file if another process changed it, apply the change, write a temporary
// file, sync it and rename it over registry.reg. Opening a key re-reads the
// file under a shared lock when it changed, so a process sees what the others
// committed. One mutex guards the cache; callers hold it through Lock().
//
// Checking the file costs a system call at every key opened, and a paint
// opens keys several times. So every write also counts itself in a counter
// that all processes map from the lock file: while that counter stands
// still, a key opened within a millisecond of the last check of the file
// trusts that check. Only a change made by hand to the file, outside the
// platform, can go unseen, and then for no longer than that millisecond.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include <windows.h>

#include "key_tree.h"

namespace wince::registry {

struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};
    bool operator==(const FileStamp &other) const;
};

class Store {
   public:
    static Store &Instance();

    std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex_); }

    // The cached tree, loaded on first use and dropped when the process
    // switches device. The caller holds Lock().
    const RegTree &Tree();
    // Re-reads the file under a shared lock if another process changed it.
    void Refresh();
    // Applies a change under the exclusive file lock and writes the file when
    // `apply` reports that it changed something. Returns apply's result, or
    // ERROR_REGISTRY_IO_FAILED when the file could not be read or written (the
    // cache is then reloaded from the file, so it never holds a lost change).
    using Change = std::function<LONG(RegTree &tree, bool *changed)>;
    LONG Apply(const Change &apply);

    std::filesystem::path File();

   private:
    Store() = default;
    void SyncDevice();
    // The counter of writes, from the lock file; null when it cannot be mapped.
    uint64_t *Changes();
    uint64_t ChangeCount();
    void MarkChecked(uint64_t changes);
    bool ReloadIfChanged(bool compareBytes);
    bool Write();
    bool KeepDamagedCopy();

    std::mutex mutex_;
    unsigned generation_ = 0;
    std::filesystem::path file_;
    bool loaded_ = false;
    RegTree tree_;
    FileStamp stamp_;     // of the file the cache was read from or last written
    std::string bytes_;   // its content
    std::optional<FileStamp> warned_;  // a damaged file is reported once per state
    bool damaged_ = false;  // bytes_ did not read cleanly: keep a copy before replacing them
    uint64_t *changes_ = nullptr;  // mapped from the lock file of file_
    bool changesTried_ = false;
    uint64_t changesSeen_ = 0;    // the count when the file was last checked
    std::chrono::steady_clock::time_point checked_{};
};

}  // namespace wince::registry
