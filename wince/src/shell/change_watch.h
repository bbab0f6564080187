// One inotify instance watching a host folder (and, when asked, every folder
// below it, including folders made later), its events read as the shell's
// change events on host paths.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct inotify_event;

namespace wince {

struct FolderChange {
    LONG event = 0;     // SHCNE_*
    std::string path;   // host path of the item
    std::string path2;  // the new name, for renames
    bool folder = false;
};

class ChangeWatch {
   public:
    ChangeWatch() = default;
    ~ChangeWatch();
    ChangeWatch(const ChangeWatch &) = delete;
    ChangeWatch &operator=(const ChangeWatch &) = delete;

    // Starts watching; returns 0 or the errno value.
    int Start(const std::string &hostFolder, bool recursive);
    int Fd() const { return fd_; }
    // Everything that is queued now, in order; never waits.
    std::vector<FolderChange> ReadChanges();

   private:
    struct Batch;
    void WatchTree(const std::string &folder, std::vector<FolderChange> *existing);
    int WatchFolder(const std::string &folder, bool top);
    void UnwatchTree(const std::string &folder);
    void RenameTree(const std::string &from, const std::string &to);
    void Handle(const inotify_event &e, Batch &batch);
    void Modified(const std::string &path, bool closed, Batch &batch);

    int fd_ = -1;
    bool recursive_ = false;
    std::string root_;
    std::unordered_map<int, std::string> folders_;  // watch descriptor -> host folder
    // Files being written whose change was already reported, and whether
    // they changed again since: one write session posts once or twice,
    // never once per write call.
    // Files open for writing: reported once (false), written again since (true),
    // or just created (kBeingCreated).
    static constexpr int kBeingCreated = 2;
    std::unordered_map<std::string, int> writing_;
};

}  // namespace wince
