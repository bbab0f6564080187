#include "change_watch.h"

#include <aygshell.h>

#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/debug.h"

namespace wince {
namespace {

// IN_EXCL_UNLINK: a file still open after its deletion stays quiet.
constexpr uint32_t kFolderEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY | IN_CLOSE_WRITE |
                                   IN_ATTRIB | IN_EXCL_UNLINK | IN_ONLYDIR;

std::string Join(const std::string &folder, const char *name) {
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool Under(const std::string &path, const std::string &folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

}  // namespace

struct ChangeWatch::Batch {
    struct Move {
        uint32_t cookie;
        std::string path;
        bool folder;
    };
    std::vector<FolderChange> out;
    std::unordered_set<std::string> updated;     // created, renamed to or updated in this batch
    std::unordered_set<std::string> attributed;  // attribute change reported in this batch
    std::vector<Move> moves;                     // moved away, waiting for the other half

    void Emit(LONG event, const std::string &path, bool folder, const std::string &path2 = {}) {
        out.push_back(FolderChange{event, path, path2, folder});
        if (event == SHCNE_CREATE || event == SHCNE_UPDATEITEM) updated.insert(path);
        if (event == SHCNE_RENAMEITEM) updated.insert(path2);
        if (event == SHCNE_ATTRIBUTES) attributed.insert(path);
    }
};

ChangeWatch::~ChangeWatch() {
    if (fd_ >= 0) close(fd_);
}

int ChangeWatch::Start(const std::string &hostFolder, bool recursive) {
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return errno;
    root_ = hostFolder;
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
    recursive_ = recursive;
    if (WatchFolder(root_, true) < 0) return errno;
    if (recursive_) WatchTree(root_, nullptr);
    return 0;
}

// The watched folder itself may be reached through a link; folders below
// it are watched only when they are real folders, so a link back up never
// leads the walk round in a loop.
int ChangeWatch::WatchFolder(const std::string &folder, bool top) {
    int wd = inotify_add_watch(fd_, folder.c_str(), kFolderEvents | (top ? 0 : IN_DONT_FOLLOW));
    if (wd < 0) {
        WINCE_DEBUG("shell", "cannot watch %s: errno %d", folder.c_str(), errno);
        return -1;
    }
    auto it = folders_.find(wd);
    // The same folder twice under different names (a bind mount): keep the first.
    if (it != folders_.end() && it->second != folder && !top) return -1;
    folders_[wd] = folder;
    return wd;
}

void ChangeWatch::WatchTree(const std::string &folder, std::vector<FolderChange> *existing) {
    DIR *dir = opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> subfolders;
    while (dirent *entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        std::string path = Join(folder, entry->d_name);
        struct stat st;
        if (lstat(path.c_str(), &st) != 0) continue;
        bool isFolder = S_ISDIR(st.st_mode);
        // What was made in a new folder before its watch existed is reported
        // here, or it would be lost.
        if (existing)
            existing->push_back(
                FolderChange{static_cast<LONG>(isFolder ? SHCNE_MKDIR : SHCNE_CREATE), path, {}, isFolder});
        if (isFolder) subfolders.push_back(path);
    }
    closedir(dir);
    for (const std::string &sub : subfolders)
        if (WatchFolder(sub, false) >= 0) WatchTree(sub, existing);
}

void ChangeWatch::UnwatchTree(const std::string &folder) {
    for (auto it = folders_.begin(); it != folders_.end();) {
        if (it->second == folder || Under(it->second, folder)) {
            inotify_rm_watch(fd_, it->first);
            it = folders_.erase(it);
        } else {
            ++it;
        }
    }
}

void ChangeWatch::RenameTree(const std::string &from, const std::string &to) {
    for (auto &[wd, path] : folders_)
        if (path == from || Under(path, from)) path = to + path.substr(from.size());
}

void ChangeWatch::Modified(const std::string &path, bool closed, Batch &batch) {
    auto it = writing_.find(path);
    // The writes that fill a new file, up to its close, belong to its
    // creation, however the events are split between reads.
    if (it != writing_.end() && it->second == kBeingCreated) {
        if (closed) writing_.erase(it);
        return;
    }
    if (closed) {
        if (it == writing_.end()) return;  // nothing written, or already reported
        bool again = it->second;
        writing_.erase(it);
        if (again) batch.Emit(SHCNE_UPDATEITEM, path, false);
        return;
    }
    if (it != writing_.end()) {
        if (!batch.updated.count(path)) it->second = true;
        return;
    }
    writing_[path] = false;
    if (!batch.updated.count(path)) batch.Emit(SHCNE_UPDATEITEM, path, false);
}

void ChangeWatch::Handle(const inotify_event &e, Batch &batch) {
    if (e.mask & IN_Q_OVERFLOW) {
        // Events were lost: the receiver must read the folder again.
        batch.Emit(SHCNE_UPDATEDIR, root_, true);
        writing_.clear();
        if (recursive_) WatchTree(root_, nullptr);
        return;
    }
    if (e.mask & IN_IGNORED) {
        folders_.erase(e.wd);
        return;
    }
    auto folderIt = folders_.find(e.wd);
    if (folderIt == folders_.end() || e.len == 0) return;
    const std::string path = Join(folderIt->second, e.name);
    const bool folder = (e.mask & IN_ISDIR) != 0;

    if (e.mask & IN_CREATE) {
        batch.Emit(folder ? SHCNE_MKDIR : SHCNE_CREATE, path, folder);
        if (!folder) writing_[path] = kBeingCreated;
        if (folder && recursive_ && WatchFolder(path, false) >= 0) {
            std::vector<FolderChange> existing;
            WatchTree(path, &existing);
            for (const FolderChange &c : existing) batch.Emit(c.event, c.path, c.folder);
        }
    } else if (e.mask & IN_DELETE) {
        writing_.erase(path);
        batch.Emit(folder ? SHCNE_RMDIR : SHCNE_DELETE, path, folder);
    } else if (e.mask & IN_MOVED_FROM) {
        batch.moves.push_back(Batch::Move{e.cookie, path, folder});
    } else if (e.mask & IN_MOVED_TO) {
        auto move = std::find_if(batch.moves.begin(), batch.moves.end(),
                                 [&](const Batch::Move &m) { return m.cookie == e.cookie; });
        if (move != batch.moves.end()) {
            batch.Emit(folder ? SHCNE_RENAMEFOLDER : SHCNE_RENAMEITEM, move->path, folder, path);
            if (folder) RenameTree(move->path, path);
            auto w = writing_.find(move->path);
            if (w != writing_.end()) {
                writing_[path] = w->second;
                writing_.erase(move->path);
            }
            batch.moves.erase(move);
        } else {
            // Moved in from outside the watched folder.
            batch.Emit(folder ? SHCNE_MKDIR : SHCNE_CREATE, path, folder);
            if (folder && recursive_ && WatchFolder(path, false) >= 0) WatchTree(path, nullptr);
        }
    } else if (e.mask & IN_ATTRIB) {
        if (!batch.updated.count(path) && !batch.attributed.count(path)) batch.Emit(SHCNE_ATTRIBUTES, path, folder);
    } else if (e.mask & IN_MODIFY) {
        if (!folder) Modified(path, false, batch);
    } else if (e.mask & IN_CLOSE_WRITE) {
        if (!folder) Modified(path, true, batch);
    }
}

std::vector<FolderChange> ChangeWatch::ReadChanges() {
    Batch batch;
    if (fd_ < 0) return {};
    alignas(inotify_event) char buffer[64 * 1024];
    // Both halves of a rename are queued together, so reading until the
    // queue is empty pairs them.
    for (;;) {
        ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0) break;
        for (char *p = buffer; p < buffer + n;) {
            const auto *e = reinterpret_cast<const inotify_event *>(p);
            Handle(*e, batch);
            p += sizeof(inotify_event) + e->len;
        }
    }
    // Moved out of the watched folder: gone, as far as the receiver can see.
    for (const Batch::Move &m : batch.moves) {
        writing_.erase(m.path);
        if (m.folder) UnwatchTree(m.path);
        batch.Emit(m.folder ? SHCNE_RMDIR : SHCNE_DELETE, m.path, m.folder);
    }
    return std::move(batch.out);
}

}  // namespace wince
