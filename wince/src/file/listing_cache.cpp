#include "listing_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <ctime>
#include <deque>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "../core/debug.h"
#include "../core/unicode.h"
#include "../device/device.h"

namespace wince {
namespace {

// Every change that alters a listed entry. Reads are watched too: a read
// moves the access time a find record reports.
constexpr uint32_t kWatchMask = IN_ACCESS | IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE |
                                IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
// Changes to the set of names: the listing is read again whole.
constexpr uint32_t kNamesChanged = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT;

// Beyond these the cache starts over rather than grow without bound (and
// hold more of the user's inotify watches than a program should).
constexpr size_t kMaxFolders = 4096;
constexpr size_t kMaxEntries = 1000000;

struct Folder {
    std::shared_ptr<Listing> listing;
    FileIdentity identity;
    timespec modified{};
    int watch = -1;
};

// A device folder's host path, as found by the path mapping.
struct MappedFolder {
    std::string host;
    FileIdentity identity;
    timespec changed{};  // with the inode: a folder made anew on a reused inode differs
    // The structure generation at which every folder from the device root
    // down to this one was watched and the mapping held: while it is
    // current, nothing on the way has been renamed, removed or changed.
    uint64_t trustedAt = 0;
    // Its listing, once found while trusted: dropping a listing changes the
    // generation, so a trusted mapping's listing is still the folder's.
    std::shared_ptr<Listing> listing;
};

// Device folders looked up by their text as FindFirstFile got it, without
// copying it first.
struct TextHash {
    using is_transparent = void;
    size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>{}(text); }
};

constexpr size_t kMaxPaths = 16384;
constexpr size_t kSpareFolders = 16;

// A walk through a tree asks for each folder once per pattern, and each
// question of the watches costs a system call. While a walk is going on
// (a find handle of this program is open) and this program changes no
// file, what the watches said stands this long: a change made outside the
// platform during a walk shows within it. Between walks, and after a change
// made through the platform, every find asks them.
constexpr int64_t kHeardWithin = 1'000'000;  // nanoseconds

std::atomic<int> openFinds{0};
// File calls of this program that may have changed a listing; bumped when
// the call is done, so a find that sees the new count drains after it.
std::atomic<uint64_t> fileChanges{0};

int64_t MonotonicNanos() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

class Cache {
   public:
    std::mutex lock;
    unsigned deviceGeneration = 0;
    std::unordered_map<std::u16string, MappedFolder, TextHash, std::equal_to<>> paths;

    // Bumped whenever a watched folder loses a listing, a name in it
    // changes, or a watch is lost: mappings checked before are checked again.
    uint64_t Structure() const { return structure; }
    void DrainLocked() { Drain(); }

    // The listing of a mapped folder when the watches vouch for the mapping
    // and the listing alike: no stat of the folder is needed then.
    bool TrustedLocked(std::u16string_view deviceFolder, std::shared_ptr<Listing> &out) {
        DrainIfDue();
        if (deviceGeneration != Device::Generation()) return false;
        auto mapped = paths.find(deviceFolder);
        if (mapped == paths.end()) return false;
        MappedFolder &m = mapped->second;
        if (m.trustedAt != structure) {
            m.listing.reset();  // not kept alive once it may be stale
            return false;
        }
        if (!m.listing || m.listing->dropped) {
            auto it = folders.find(m.host);
            if (it == folders.end() || it->second.listing->dropped) return false;
            m.listing = it->second.listing;
        }
        out = m.listing;
        return true;
    }

    // The host path of `name` inside a trusted mapped folder, spelled as the
    // device spells it: what walking the path from the root would give if
    // the name exists so, without a stat per component. The folder must be
    // watched itself, since its watch is what hears of the name's renaming.
    // `ticket` is what RememberChildLocked confirms the answer with.
    bool ChildOfTrustedLocked(std::u16string_view deviceFolder, std::string_view name, std::string &hostPath,
                              uint64_t &ticket) {
        // Not drained again: the caller's find asked the watches in
        // TrustedLocked (or a walk's finds did, within the millisecond), and
        // RememberChildLocked asks them before trusting.
        if (deviceGeneration != Device::Generation()) return false;
        auto mapped = paths.find(deviceFolder);
        if (mapped == paths.end() || mapped->second.trustedAt != structure) return false;
        const std::string &host = mapped->second.host;
        auto listed = folders.find(host);
        if ((listed == folders.end() || listed->second.listing->dropped) && !guards.count(host)) return false;
        hostPath.reserve(host.size() + 1 + name.size());
        hostPath.assign(host).append("/").append(name);
        ticket = structure;
        return true;
    }

    // A child's mapping, stat'ed after ChildOfTrustedLocked: trusted when
    // nothing was heard since, as every folder on its way was watched before
    // the stat.
    void RememberChildLocked(std::u16string_view deviceFolder, const std::string &hostPath, const struct stat &st,
                             uint64_t ticket) {
        DrainIfDue();
        if (deviceGeneration != Device::Generation()) return;
        if (paths.size() >= kMaxPaths) return;  // kept for the folders on the way; the full mapping clears
        paths[std::u16string(deviceFolder)] =
            MappedFolder{hostPath, IdentityOf(st), st.st_ctim, ticket == structure ? ticket : 0, nullptr};
    }

    // Watches every folder from the device root down to hostFolder, so that
    // a rename or removal anywhere on the way is heard. False when one
    // cannot be watched.
    bool GuardLocked(const std::string &hostFolder) {
        const std::string root = Device::Current().FileSystemRoot().string();
        if (hostFolder.compare(0, root.size(), root) != 0) return false;
        for (size_t end = root.size();;) {
            const bool last = end >= hostFolder.size();
            // The folder itself is heard of through its parent's watch (renamed,
            // removed, its permissions changed); only the root has none.
            std::string prefix = hostFolder.substr(0, end);
            if ((!last || end == root.size()) && !folders.count(prefix) && !guards.count(prefix)) {
                if (guards.size() >= kMaxFolders) return false;
                int watch = Watch(prefix);
                if (watch < 0) return false;
                guards.emplace(prefix, watch);
                guardWatches.insert(watch);
            }
            if (last) return true;
            end = hostFolder.find('/', end + 1);
            if (end == std::string::npos) end = hostFolder.size();
        }
    }

    int ListLocked(const std::string &path, const struct stat &st, std::shared_ptr<Listing> &out, int *readFd) {
        // Only a listing kept already can have been changed by what the
        // watches heard; a folder read anew needs no word from them.
        auto it = folders.find(path);
        if (it != folders.end()) {
            DrainIfDue();
            it = folders.find(path);
        }
        if (it != folders.end()) {
            Folder &f = it->second;
            // A folder renamed or replaced further up keeps its watch quiet;
            // its identity and time still tell.
            if (!f.listing->dropped && f.identity == IdentityOf(st) && f.modified.tv_sec == st.st_mtim.tv_sec &&
                f.modified.tv_nsec == st.st_mtim.tv_nsec) {
                out = f.listing;
                return 0;
            }
            WINCE_DEBUG("listing", "%s: replaced or changed since it was listed", path.c_str());
            Forget(it);
        }
        Folder folder;
        folder.identity = IdentityOf(st);
        folder.modified = st.st_mtim;
        folder.watch = Watch(path);
        WINCE_DEBUG("listing", "%s: read from the host", path.c_str());
        auto listing = std::make_shared<Listing>();
        listing->folder = path;
        bool complete = false;
        int error = Read(path, folder, *listing, complete, readFd);
        if (error == 0) out = listing;
        if (error != 0 || !complete) {
            if (folder.watch >= 0 && byWatch.find(folder.watch) == byWatch.end() && !guardWatches.count(folder.watch))
                inotify_rm_watch(fd, folder.watch);
            return error;
        }
        if (folders.size() >= kMaxFolders || entries + listing->entries.size() > kMaxEntries) Reset();
        if (fd < 0) return 0;  // Reset closed the watches this one belonged to
        listing->watched = true;
        folder.listing = listing;
        entries += listing->entries.size();
        byWatch[folder.watch].push_back(path);
        folders.emplace(path, std::move(folder));
        return 0;
    }

    CachedAnswer ServeLocked(Listing &listing, size_t index, WIN32_FIND_DATAW &data, uint64_t &ticket) {
        if (!listing.watched || index >= listing.entries.size()) return CachedAnswer::kLive;
        ListedEntry &e = listing.entries[index];
        if (listing.dropped || e.live) return CachedAnswer::kLive;
        if (e.stale) {
            ticket = applied;
            return CachedAnswer::kAsk;
        }
        data.dwFileAttributes = e.attributes;
        data.ftCreationTime = e.created;
        data.ftLastAccessTime = e.accessed;
        data.ftLastWriteTime = e.written;
        data.nFileSizeHigh = static_cast<DWORD>(e.size >> 32);
        data.nFileSizeLow = static_cast<DWORD>(e.size);
        return CachedAnswer::kServed;
    }

    void OfferLocked(Listing &listing, size_t index, const HostInfo &info, uint64_t ticket) {
        // A change heard after the ticket may be older than the answer.
        if (ticket != applied || !listing.watched || listing.dropped || index >= listing.entries.size()) return;
        ListedEntry &e = listing.entries[index];
        if (!e.stale || e.live) return;
        // A link's target and a file reachable by another name change
        // without a word to this folder's watch.
        if (S_ISLNK(info.mode) || (!S_ISDIR(info.mode) && info.links > 1)) {
            e.live = true;
            return;
        }
        Fill(e, info);
    }

    void Reset() {
        for (auto &[path, folder] : folders) folder.listing->dropped = true;
        for (auto &[text, mapped] : paths) mapped.listing.reset();
        for (auto &listing : spares) CloseSpare(*listing);
        spares.clear();
        folders.clear();
        byWatch.clear();
        guards.clear();
        guardWatches.clear();
        ++structure;
        entries = 0;
        if (fd >= 0) close(fd);
        fd = -1;
    }

    size_t Entries() const { return entries; }

    void KeepFolderFdLocked(const std::shared_ptr<Listing> &listing, int fd) {
        if (!listing->watched || listing->dropped || listing->spareFd >= 0) {
            close(fd);
            return;
        }
        if (spares.size() >= kSpareFolders) {
            CloseSpare(*spares.front());
            spares.pop_front();
        }
        listing->spareFd = fd;
        spares.push_back(listing);
    }

   private:
    int fd = -1;
    std::unordered_map<std::string, Folder> folders;
    std::unordered_map<int, std::vector<std::string>> byWatch;
    // Folders watched only to hear of renames on the way to listed ones.
    std::unordered_map<std::string, int> guards;
    std::unordered_set<int> guardWatches;
    uint64_t structure = 1;
    uint64_t applied = 0;                         // events taken in
    std::deque<std::shared_ptr<Listing>> spares;  // listings that may hold their folder open, oldest first
    int64_t drainedAt = INT64_MIN / 2;
    uint64_t drainedAtChanges = 0;
    size_t entries = 0;

    int Watch(const std::string &path) {
        if (fd < 0) fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd < 0) return -1;
        int watch = inotify_add_watch(fd, path.c_str(), kWatchMask);
        if (watch < 0) WINCE_DEBUG("file", "no watch on %s (errno %d): listed uncached", path.c_str(), errno);
        return watch;
    }

    static void Fill(ListedEntry &e, const HostInfo &info) {
        e.attributes = AttributesFor(info, e.hostName);
        e.size = S_ISDIR(info.mode) ? 0 : info.size;
        e.created = info.created;
        e.accessed = info.accessed;
        e.written = info.written;
        e.stale = false;
    }

    // The watch is in place before the folder is read, so a change made
    // while reading is still reported.
    // `complete`: every entry that can be vouched for was read under a watch.
    // `readFd`, when given, receives the folder's descriptor instead of its
    // being closed: the caller asks its entries through it next.
    static int Read(const std::string &path, const Folder &folder, Listing &listing, bool &complete, int *readFd) {
        int dirFd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd < 0) return errno;
        HostInfo self;
        // The path may have been replaced since the caller's stat.
        bool same = QueryFd(dirFd, self) == 0 && self.identity == folder.identity;
        // Read straight from the descriptor: a directory stream would stat
        // and flag it again, and a walk opens thousands of folders.
        alignas(dirent64) char buffer[32768];
        std::vector<std::pair<uint32_t, uint32_t>> spans;  // each name's place and length in hostNames
        for (;;) {
            ssize_t got = getdents64(dirFd, buffer, sizeof buffer);
            if (got < 0) {
                int error = errno;
                close(dirFd);
                return error;
            }
            if (got == 0) break;
            for (ssize_t at = 0; at < got;) {
                const auto *d = reinterpret_cast<const dirent64 *>(buffer + at);
                at += d->d_reclen;
                std::string_view name = d->d_name;
                if (name == "." || name == "..") continue;
                spans.emplace_back(listing.hostNames.size(), name.size());
                listing.hostNames.append(name).push_back('\0');
            }
        }
        // The blocks are complete before any entry points into them.
        const std::string_view hostNames = listing.hostNames;
        auto nameOf = [&](const std::pair<uint32_t, uint32_t> &span) {
            return hostNames.substr(span.first, span.second);
        };
        std::sort(spans.begin(), spans.end(), [&](const auto &a, const auto &b) { return nameOf(a) < nameOf(b); });
        spans.erase(std::unique(spans.begin(), spans.end(),
                                [&](const auto &a, const auto &b) { return nameOf(a) == nameOf(b); }),
                    spans.end());
        std::vector<size_t> deviceAt;
        deviceAt.reserve(spans.size() + 1);
        listing.deviceNames.reserve(hostNames.size());  // a unit per byte at most
        for (const auto &span : spans) {
            deviceAt.push_back(listing.deviceNames.size());
            AppendFromHostBytes(listing.deviceNames, nameOf(span));
        }
        deviceAt.push_back(listing.deviceNames.size());
        complete = same && folder.watch >= 0;
        const std::u16string_view deviceNames = listing.deviceNames;
        listing.entries.resize(spans.size());
        for (size_t i = 0; i < spans.size(); ++i) {
            ListedEntry &e = listing.entries[i];
            e.hostName = nameOf(spans[i]);
            e.name = deviceNames.substr(deviceAt[i], deviceAt[i + 1] - deviceAt[i]);
            // Each entry is asked of the host when it is first served.
            e.live = !complete;
            e.stale = complete;
        }
        if (readFd)
            *readFd = dirFd;
        else
            close(dirFd);
        return 0;
    }

    // Takes in what the watches heard, unless a walk is going on, they
    // were asked less than kHeardWithin ago and no file call of this
    // program came since.
    void DrainIfDue() {
        const uint64_t changes = fileChanges.load(std::memory_order_acquire);
        const bool walking = openFinds.load(std::memory_order_relaxed) > 0;
        const int64_t now = MonotonicNanos();
        if (walking && changes == drainedAtChanges && now - drainedAt < kHeardWithin) return;
        drainedAtChanges = changes;
        drainedAt = now;
        Drain();
    }

    void Drain() {
        if (fd < 0) return;
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            ssize_t got = read(fd, buffer, sizeof buffer);
            if (got <= 0) return;  // EAGAIN: nothing more has happened
            for (ssize_t at = 0; at < got;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                at += sizeof(inotify_event) + event->len;
                Apply(*event);
                if (fd < 0) return;
            }
            // A read stops early only when the next event would not fit:
            // with room for the longest one left, the queue was empty.
            if (size_t(got) + sizeof(inotify_event) + NAME_MAX + 1 <= sizeof buffer) return;
        }
    }

    void Apply(const inotify_event &event) {
        ++applied;
        if (event.mask & IN_Q_OVERFLOW) {
            Reset();  // events were lost: nothing can be vouched for
            return;
        }
        if (guardWatches.count(event.wd) && (event.mask & (kNamesChanged | kFolderGone | IN_ATTRIB))) ++structure;
        if (event.mask & IN_IGNORED) {
            // The watch is gone (its folder removed, or the file system
            // unmounted): nothing heard through it can be trusted.
            if (guardWatches.erase(event.wd))
                std::erase_if(guards, [&](const auto &g) { return g.second == event.wd; });
            ++structure;
        }
        auto watched = byWatch.find(event.wd);
        if (watched == byWatch.end()) return;
        std::vector<std::string> paths = watched->second;
        const bool named = event.len > 0 && event.name[0] != '\0';
        for (const std::string &path : paths) {
            auto it = folders.find(path);
            if (it == folders.end()) continue;
            if (!named) {
                // The folder's own access time is not part of its listing.
                if ((event.mask & ~IN_ISDIR) == IN_ACCESS) continue;
            } else if (!(event.mask & (kNamesChanged | kFolderGone)) && MarkStale(*it->second.listing, event.name)) {
                // A subfolder's permissions decide whether the way through it is open.
                if ((event.mask & IN_ATTRIB) && (event.mask & IN_ISDIR)) ++structure;
                continue;
            }
            WINCE_DEBUG("listing", "%s: event %#x on '%s'", path.c_str(), event.mask, named ? event.name : "");
            Forget(it);
        }
    }

    static void CloseSpare(Listing &listing) {
        if (listing.spareFd >= 0) close(listing.spareFd);
        listing.spareFd = -1;
    }

    static bool MarkStale(Listing &listing, std::string_view name) {
        auto it = std::lower_bound(listing.entries.begin(), listing.entries.end(), name,
                                   [](const ListedEntry &e, std::string_view n) { return e.hostName < n; });
        if (it == listing.entries.end() || it->hostName != name) return false;
        it->stale = true;
        return true;
    }

    void Forget(std::unordered_map<std::string, Folder>::iterator it) {
        ++structure;
        Folder &folder = it->second;
        if (folder.listing) {
            folder.listing->dropped = true;
            CloseSpare(*folder.listing);
            entries -= folder.listing->entries.size();
        }
        auto watched = byWatch.find(folder.watch);
        if (watched != byWatch.end()) {
            std::erase(watched->second, it->first);
            // The watch stays when the inode is listed under another path.
            if (watched->second.empty()) {
                byWatch.erase(watched);
                if (!guardWatches.count(folder.watch)) inotify_rm_watch(fd, folder.watch);
            }
        }
        folders.erase(it);
    }
};

Cache &TheCache() {
    static Cache *cache = [] {
        auto *c = new Cache;  // never destroyed: other static objects list folders while exiting
        pthread_atfork([] { TheCache().lock.lock(); }, [] { TheCache().lock.unlock(); },
                       [] {
                           // The child shares the inotify instance with its
                           // parent and must not take the parent's events.
                           TheCache().lock.unlock();
                           TheCache().Reset();
                       });
        return c;
    }();
    return *cache;
}

}  // namespace

int ListFolder(const std::string &folder, const struct stat &folderStat, std::shared_ptr<Listing> &out, int *readFd) {
    Cache &cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    return cache.ListLocked(folder, folderStat, out, readFd);
}

CachedAnswer CachedEntry(Listing &listing, size_t index, WIN32_FIND_DATAW &data, uint64_t &ticket) {
    if (!listing.watched) return CachedAnswer::kLive;
    Cache &cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    return cache.ServeLocked(listing, index, data, ticket);
}

void OfferEntry(Listing &listing, size_t index, const HostInfo &info, uint64_t ticket) {
    Cache &cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    cache.OfferLocked(listing, index, info, ticket);
}

namespace {

// The host path the device path names when every component is spelled as
// on the host: then the mapping never depended on case or on which of
// several similar names came first. Empty otherwise.
std::string ExactHostPath(std::u16string_view deviceFolder) {
    std::string host = Device::Current().FileSystemRoot().string();
    for (size_t start = 0; start <= deviceFolder.size();) {
        size_t end = deviceFolder.find_first_of(u"\\/", start);
        if (end == std::u16string_view::npos) end = deviceFolder.size();
        std::u16string_view part = deviceFolder.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == u".") continue;
        std::string bytes;
        if (part == u".." || !ToHostBytes(part, bytes)) return {};
        host += "/" + bytes;
    }
    return host;
}

bool SameFolder(const struct stat &st, const MappedFolder &mapped) {
    return S_ISDIR(st.st_mode) && IdentityOf(st) == mapped.identity && st.st_ctim.tv_sec == mapped.changed.tv_sec &&
           st.st_ctim.tv_nsec == mapped.changed.tv_nsec;
}

}  // namespace

void KeepFolderFd(const std::shared_ptr<Listing> &listing, int fd) {
    Cache &cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    cache.KeepFolderFdLocked(listing, fd);
}

int TakeFolderFd(Listing &listing) {
    if (!listing.watched) return -1;
    Cache &cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    return std::exchange(listing.spareFd, -1);
}

bool TrustedListing(std::u16string_view deviceFolder, std::shared_ptr<Listing> &out) {
    Cache &cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    return cache.TrustedLocked(deviceFolder, out);
}

bool ChildOfTrustedFolder(std::u16string_view deviceFolder, std::string_view name, std::string &hostPath,
                          uint64_t &ticket) {
    Cache &cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    return cache.ChildOfTrustedLocked(deviceFolder, name, hostPath, ticket);
}

void RememberChildPath(std::u16string_view deviceFolder, const std::string &hostPath, const struct stat &st,
                       uint64_t ticket) {
    Cache &cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    cache.RememberChildLocked(deviceFolder, hostPath, st, ticket);
}

bool CachedFolderPath(std::u16string_view deviceFolder, std::string &hostFolder, struct stat &st) {
    Cache &cache = TheCache();
    MappedFolder mapped;
    {
        std::lock_guard<std::mutex> guard(cache.lock);
        if (cache.deviceGeneration != Device::Generation()) return false;
        auto it = cache.paths.find(deviceFolder);
        if (it == cache.paths.end()) return false;
        mapped = it->second;
    }
    // Renamed, removed or replaced since: the mapping is made again.
    if (stat(mapped.host.c_str(), &st) != 0 || !SameFolder(st, mapped)) {
        std::lock_guard<std::mutex> guard(cache.lock);
        cache.paths.erase(std::u16string(deviceFolder));
        return false;
    }
    hostFolder = std::move(mapped.host);
    return true;
}

void RememberFolderPath(std::u16string_view deviceFolder, const std::string &hostFolder, const struct stat &st) {
    if (ExactHostPath(deviceFolder) != hostFolder) return;
    Cache &cache = TheCache();
    unsigned generation = Device::Generation();
    MappedFolder mapped{hostFolder, IdentityOf(st), st.st_ctim, 0, nullptr};
    uint64_t structure = 0;
    {
        std::lock_guard<std::mutex> guard(cache.lock);
        if (cache.deviceGeneration != generation || cache.paths.size() >= kMaxPaths) cache.paths.clear();
        cache.deviceGeneration = generation;
        cache.DrainLocked();  // what happened before this mapping was made does not count against it
        if (cache.GuardLocked(hostFolder)) structure = cache.Structure();
        cache.paths[std::u16string(deviceFolder)] = mapped;
    }
    if (!structure) return;
    // The watches are in place now; the mapping is trusted only if the
    // folder is still the one mapped and nothing was heard meanwhile.
    struct stat now;
    if (stat(hostFolder.c_str(), &now) != 0 || !SameFolder(now, mapped)) return;
    std::lock_guard<std::mutex> guard(cache.lock);
    cache.DrainLocked();
    auto it = cache.paths.find(deviceFolder);
    if (cache.Structure() == structure && it != cache.paths.end() && it->second.host == hostFolder)
        it->second.trustedAt = structure;
}

size_t CachedListingEntries() {
    Cache &cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    return cache.Entries();
}

void FindHandleOpened() {
    openFinds.fetch_add(1, std::memory_order_relaxed);
}

void FindHandleClosed() {
    openFinds.fetch_sub(1, std::memory_order_relaxed);
}

void NoteFileChange() {
    fileChanges.fetch_add(1, std::memory_order_release);
}

void DropListingCache() {
    Cache &cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    cache.Reset();
    cache.paths.clear();
}

}  // namespace wince
