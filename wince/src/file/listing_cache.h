// Folder listings kept between FindFirstFile calls. A walk asks for the same
// folder once per pattern and again on every rescan; the host answers each
// time with a directory read and a stat per entry. The cache keeps a folder's
// entries with what a find record needs, and an inotify watch on the folder
// tells it what changed: an entry added, removed or renamed drops the whole
// listing, an entry written or touched is asked for again. Whatever the watch
// cannot vouch for (links, files with other names elsewhere, a folder that
// could not be watched) is asked of the host every time.
// The watches are asked at every FindFirstFile, except during a walk (a find
// handle of this program open), when what they said within the last
// millisecond stands unless this program changed a file since or was told of
// a change.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "fileinfo.h"

namespace wince {

struct ListedEntry {
    std::string_view hostName;  // followed by a NUL, so it can be handed to the host
    std::u16string_view name;   // as the device spells it
    DWORD attributes = 0;
    uint64_t size = 0;
    FILETIME created{}, accessed{}, written{};
    bool live = false;   // never served from the cache
    bool stale = false;  // not asked yet, or changed since: ask the host when served
};

struct Listing {
    Listing() = default;
    Listing(const Listing &) = delete;  // the entries' names point into this one's blocks
    Listing &operator=(const Listing &) = delete;

    std::string folder;
    std::vector<ListedEntry> entries;  // in host byte order, each name once
    bool watched = false;              // false: every entry is asked live
    bool dropped = false;              // the folder changed after this was read
    // The entries' names, all in one block each: a folder of a thousand
    // names costs two allocations, not two thousand.
    std::string hostNames;
    std::u16string deviceNames;
    int spareFd = -1;  // the folder, kept open by the cache; closed when the listing is dropped
};

// The entries of a host folder whose stat the caller took just now; from the
// cache when the watch proves nothing changed. A listing read now has its
// names only: each entry is asked of the host when it is first served, so
// that a change made while a walk goes through the folder still shows.
// When the folder is read now and readFd is given, it receives the open
// folder (the caller closes it). Returns 0 or the errno value.
int ListFolder(const std::string &folder, const struct stat &folderStat, std::shared_ptr<Listing> &out,
               int *readFd = nullptr);

enum class CachedAnswer {
    kServed,  // `data` holds the entry's facts (name excluded)
    kAsk,     // ask the host now and offer the answer with OfferEntry
    kLive,    // ask the host; the cache cannot vouch for this entry
};
// The facts of an entry as the cache knows them. `ticket` is set for kAsk.
CachedAnswer CachedEntry(Listing &listing, size_t index, WIN32_FIND_DATAW &data, uint64_t &ticket);
// Keeps what the host said of an entry (not following links), unless a
// change was heard since the ticket was given.
void OfferEntry(Listing &listing, size_t index, const HostInfo &info, uint64_t ticket);

// The listing of a FindFirstFile path's folder part (its host folder in
// `folder`), when the watches on every folder from the device root down
// vouch that the mapping and the listing still hold: no stat is taken.
bool TrustedListing(std::u16string_view deviceFolder, std::shared_ptr<Listing> &out);

// The host path of `name` (host bytes) inside a device folder whose
// mapping the watches vouched for at the caller's TrustedListing just
// before; nothing is asked of the host. Once
// the caller has stat'ed it, RememberChildPath keeps the child's mapping,
// trusted if nothing was heard since `ticket`.
bool ChildOfTrustedFolder(std::u16string_view deviceFolder, std::string_view name, std::string &hostPath,
                          uint64_t &ticket);
void RememberChildPath(std::u16string_view deviceFolder, const std::string &hostPath, const struct stat &st,
                       uint64_t ticket);

// A walk lists each folder with a pattern and then with "*.*": the folder a
// find opened to ask its entries is kept open for the next find of the same
// listing (a few, the most recent), instead of being opened again.
// KeepFolderFd takes the descriptor over; TakeFolderFd hands it out, or -1.
void KeepFolderFd(const std::shared_ptr<Listing> &listing, int fd);
int TakeFolderFd(Listing &listing);

bool CachedFolderPath(std::u16string_view deviceFolder, std::string &hostFolder, struct stat &st);
void RememberFolderPath(std::u16string_view deviceFolder, const std::string &hostFolder, const struct stat &st);

// Find handles open in this program: while one is, a walk is going on,
// and its finds may answer from what the watches said within the last
// millisecond instead of asking them each time.
void FindHandleOpened();
void FindHandleClosed();

// Forgets every listing (tests and benchmarks measure a cold walk with it).
void DropListingCache();

// Entries held now, for memory figures.
size_t CachedListingEntries();

}  // namespace wince
