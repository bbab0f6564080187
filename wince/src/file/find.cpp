// FindFirstFileW / FindNextFileW / FindClose: the entries of one folder
// whose names match the last component of the path, from the folder's
// listing (kept fresh by the listing cache, or asked of the host).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

#include "../core/handles.h"
#include "../core/unicode.h"
#include "../device/pathmap.h"
#include "errors.h"
#include "fileinfo.h"
#include "listing_cache.h"
#include "wildcard.h"

using namespace wince;

namespace {

class FindObject : public KernelObject {
   public:
    bool ClosedByCloseHandle() const override { return false; }  // FindClose only

    ~FindObject() override {
        if (folderFd >= 0) {
            if (listing)
                KeepFolderFd(listing, folderFd);
            else
                close(folderFd);
        }
        if (handed) FindHandleClosed();
    }

    std::mutex lock;
    int folderFd = -1;         // opened for the second entry asked of the host
    bool askedByPath = false;  // the first one was asked by its path
    bool askedForSpare = false;
    bool handed = false;  // counted among the open find handles
    std::shared_ptr<Listing> listing;
    std::vector<uint32_t> matches;  // entries of the listing, in host byte order
    bool everything = false;        // every entry matches: `matches` stays empty
    size_t next = 0;

    const std::string &Folder() const { return listing->folder; }  // on the host
    size_t MatchCount() const { return everything ? listing->entries.size() : matches.size(); }
    uint32_t MatchAt(size_t i) const { return everything ? static_cast<uint32_t>(i) : matches[i]; }
};

// The listing's entries whose names match, into find.matches.
void Match(FindObject &find, std::u16string_view pattern) {
    const std::vector<ListedEntry> &entries = find.listing->entries;
    const PatternMatcher matches(pattern);
    if (matches.Everything()) {
        find.everything = true;
        return;
    }
    find.matches.reserve(std::min<size_t>(entries.size(), 64));  // a folder's worth without regrowing
    for (uint32_t i = 0; i < entries.size(); ++i)
        if (matches(entries[i].name)) find.matches.push_back(i);
    // A plain name finds one entry: the one path mapping would pick.
    if (!HasWildcards(pattern) && find.matches.size() > 1) {
        std::string exact;
        ToHostBytes(pattern, exact);
        auto hit = std::find_if(find.matches.begin(), find.matches.end(),
                                [&](uint32_t i) { return entries[i].hostName == exact; });
        find.matches = {hit != find.matches.end() ? *hit : find.matches.front()};
    }
}

DWORD ListMatches(FindObject &find, const std::string &hostFolder, std::u16string_view pattern,
                  const struct stat &folderStat) {
    // A folder read now is asked about its entries through the same descriptor.
    int error = ListFolder(hostFolder, folderStat, find.listing, find.folderFd < 0 ? &find.folderFd : nullptr);
    if (error != 0) return error == ENOENT || error == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(error);
    Match(find, pattern);
    return ERROR_SUCCESS;
}

// Asks the host about an entry: it may have vanished since the listing, lead
// off the device or close a loop of links (false then).
// `own` receives what the host says of the entry itself, not following links.
bool QueryEntry(FindObject &find, const ListedEntry &entry, WIN32_FIND_DATAW &data, HostInfo &own) {
    const std::string_view name = entry.hostName;
    // The folder the last find of this listing opened, when the cache kept
    // it; else a single entry is often all that is asked (one changed since
    // the listing): by its path then, and the folder is opened for a second.
    if (find.folderFd < 0 && !find.askedForSpare) {
        find.askedForSpare = true;
        find.folderFd = TakeFolderFd(*find.listing);
    }
    if (find.folderFd < 0 && find.askedByPath) {
        find.folderFd = open(find.Folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (find.folderFd < 0) return false;
    }
    const bool byPath = find.folderFd < 0;
    find.askedByPath = true;
    const std::string path = byPath ? find.Folder() + "/" + std::string(name) : std::string();
    const int at = byPath ? AT_FDCWD : find.folderFd;
    const char *asked = byPath ? path.c_str() : name.data();  // the listing ends each name with a NUL
    if (QueryAt(at, asked, false, own) != 0) return false;
    HostInfo info = own;
    if (S_ISLNK(info.mode)) {
        const std::string linkPath = find.Folder() + "/" + std::string(name);
        if (!StaysOnDevice(linkPath) || QueryAt(at, asked, true, info) != 0) return false;
        // The device's file system has no links; one that closes a loop
        // would make every walk through subfolders endless, so it is left out.
        if (S_ISDIR(info.mode) && LeadsBackUp(find.Folder(), linkPath)) return false;
    }
    data.dwFileAttributes = AttributesFor(info, name);
    data.ftCreationTime = info.created;
    data.ftLastAccessTime = info.accessed;
    data.ftLastWriteTime = info.written;
    uint64_t size = S_ISDIR(info.mode) ? 0 : info.size;
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size);
    return true;
}

// The next entry that still exists, stays on the device and has a name the
// record can hold; false past the last one.
bool NextEntry(FindObject &find, WIN32_FIND_DATAW &data) {
    while (find.next < find.MatchCount()) {
        const uint32_t index = find.MatchAt(find.next++);
        const ListedEntry &entry = find.listing->entries[index];
        if (entry.name.size() >= MAX_PATH) continue;
        // Only the facts and the name are written: a walk copies many records.
        WIN32_FIND_DATAW record;
        uint64_t ticket = 0;
        CachedAnswer answer = CachedEntry(*find.listing, index, record, ticket);
        if (answer != CachedAnswer::kServed) {
            HostInfo own;
            if (!QueryEntry(find, entry, record, own)) continue;
            if (answer == CachedAnswer::kAsk) OfferEntry(*find.listing, index, own, ticket);
        }
        data.dwFileAttributes = record.dwFileAttributes;
        data.ftCreationTime = record.ftCreationTime;
        data.ftLastAccessTime = record.ftLastAccessTime;
        data.ftLastWriteTime = record.ftLastWriteTime;
        data.nFileSizeHigh = record.nFileSizeHigh;
        data.nFileSizeLow = record.nFileSizeLow;
        data.dwOID = 0;
        // The name and its terminator only, as the device writes it: what
        // lies beyond is not part of the record's meaning.
        std::copy(entry.name.begin(), entry.name.end(), data.cFileName);
        data.cFileName[entry.name.size()] = u'\0';
        return true;
    }
    return false;
}

// Splits a plain path (a folder and a last component that is a name or a
// pattern); false for anything the full mapping must look at.
bool SplitPlain(std::u16string_view text, std::u16string_view &folder, std::u16string_view &leaf) {
    size_t separator = text.find_last_of(u"\\/");
    if (separator == std::u16string_view::npos || separator + 1 >= text.size() || text.size() >= MAX_PATH) return false;
    folder = text.substr(0, separator);
    leaf = text.substr(separator + 1);
    return leaf.size() <= 255 && leaf != u"." && leaf != u"..";
}

// A subfolder of a folder mapped and watched, named exactly as on the host:
// one stat instead of one per component from the root. Anything else (a
// name that differs in case, a link, a file) takes the full mapping.
// Only after TrustedListing in the same find, which asked the watches.
bool MapBelowTrusted(std::u16string_view folder, std::string &hostFolder, struct stat &folderStat) {
    std::u16string_view parent, name;
    std::string bytes, host;
    uint64_t ticket = 0;
    if (!SplitPlain(folder, parent, name) || CheckComponentName(name) != ERROR_SUCCESS || !ToHostBytes(name, bytes) ||
        !ChildOfTrustedFolder(parent, bytes, host, ticket))
        return false;
    if (lstat(host.c_str(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode)) return false;
    RememberChildPath(folder, host, folderStat, ticket);
    hostFolder = std::move(host);
    return true;
}

// A walk through a tree asks for each folder once per pattern: a folder
// part mapped before is taken again after one stat instead of a stat per
// component.
DWORD MapFolder(LPCWSTR path, std::string &hostFolder, std::u16string &pattern, struct stat &folderStat) {
    std::u16string_view text(path, StringLength(path));
    std::u16string_view folder, leaf;
    bool plain = SplitPlain(text, folder, leaf);
    if (plain && MapBelowTrusted(folder, hostFolder, folderStat)) {
        pattern = leaf;
        return ERROR_SUCCESS;
    }
    if (plain && CachedFolderPath(folder, hostFolder, folderStat)) {
        pattern = leaf;
        // Checked by a stat after a change somewhere: the watches may vouch
        // for it again from now on.
        RememberFolderPath(folder, hostFolder, folderStat);
        return ERROR_SUCCESS;
    }
    DWORD error = MapFindPath(path, hostFolder, pattern, folderStat);
    if (error == ERROR_SUCCESS && plain && pattern == leaf) RememberFolderPath(folder, hostFolder, folderStat);
    return error;
}

}  // namespace

HANDLE WINAPI FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
    return Guarded(INVALID_HANDLE_VALUE, [&]() -> HANDLE {
        if (!lpFileName || !lpFindFileData) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
        }
        auto find = std::make_shared<FindObject>();
        DWORD error = ERROR_SUCCESS;
        std::u16string_view folder, leaf;
        if (SplitPlain(std::u16string_view(lpFileName, StringLength(lpFileName)), folder, leaf) &&
            TrustedListing(folder, find->listing)) {
            Match(*find, leaf);
        } else {
            find->listing.reset();
            std::string hostFolder;
            std::u16string pattern;
            struct stat folderStat;
            error = MapFolder(lpFileName, hostFolder, pattern, folderStat);
            if (error == ERROR_SUCCESS && pattern.empty()) error = ERROR_FILE_NOT_FOUND;
            if (error == ERROR_SUCCESS) error = ListMatches(*find, hostFolder, pattern, folderStat);
        }
        if (error == ERROR_SUCCESS && !NextEntry(*find, *lpFindFileData)) error = ERROR_FILE_NOT_FOUND;
        if (error != ERROR_SUCCESS) {
            SetLastError(error);
            return INVALID_HANDLE_VALUE;
        }
        find->handed = true;
        FindHandleOpened();
        return AllocHandle(std::move(find));
    });
}

BOOL WINAPI FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
    return Guarded<BOOL>(FALSE, [&]() -> BOOL {
        if (!lpFindFileData) return FailWith(ERROR_INVALID_PARAMETER);
        auto find = LookupHandleAs<FindObject>(hFindFile);
        if (!find) return FailWith(ERROR_INVALID_HANDLE);
        std::lock_guard<std::mutex> guard(find->lock);
        return NextEntry(*find, *lpFindFileData) ? TRUE : FailWith(ERROR_NO_MORE_FILES);
    });
}

BOOL WINAPI FindClose(HANDLE hFindFile) {
    return Guarded<BOOL>(FALSE, [&]() -> BOOL {
        if (!LookupHandleAs<FindObject>(hFindFile) || !FreeHandle(hFindFile)) return FailWith(ERROR_INVALID_HANDLE);
        return TRUE;
    });
}
