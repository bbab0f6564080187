// FindFirstFileW / FindNextFileW / FindClose: the entries of one folder
// whose names match the last component of the path.
#include <dirent.h>
#include <sys/stat.h>

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
#include "wildcard.h"

using namespace wince;

namespace {

class FindObject : public KernelObject {
   public:
    bool ClosedByCloseHandle() const override { return false; }  // FindClose only

    ~FindObject() override {
        if (dir) closedir(dir);
    }

    std::mutex lock;
    std::string folder;
    DIR *dir = nullptr;  // kept open so each entry is looked up by name, not by path
    std::vector<std::string> names;  // host names that match, in byte order
    size_t next = 0;
};

DWORD ListMatches(FindObject &find, std::u16string_view pattern) {
    std::vector<std::string> &names = find.names;
    DIR *dir = opendir(find.folder.c_str());
    if (!dir) return errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno);
    find.dir = dir;
    const bool everything = MatchesEverything(pattern);
    while (dirent *entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (everything || MatchesPattern(pattern, FromHostBytes(name))) names.emplace_back(name);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    // A plain name finds one entry: the one path mapping would pick.
    if (!HasWildcards(pattern) && names.size() > 1) {
        std::string exact;
        ToHostBytes(pattern, exact);
        bool hasExact = std::find(names.begin(), names.end(), exact) != names.end();
        names = {hasExact ? exact : names.front()};
    }
    return ERROR_SUCCESS;
}

// The next entry that still exists, stays on the device and has a name the
// record can hold; false past the last one.
bool NextEntry(FindObject &find, WIN32_FIND_DATAW &data) {
    while (find.next < find.names.size()) {
        const std::string &name = find.names[find.next++];
        HostInfo info;
        if (QueryAt(dirfd(find.dir), name.c_str(), false, info) != 0) continue;  // vanished since the listing
        if (S_ISLNK(info.mode)) {
            std::string path = find.folder + "/" + name;
            if (!StaysOnDevice(path) || QueryAt(dirfd(find.dir), name.c_str(), true, info) != 0) continue;
            // The device's file system has no links; one that closes a loop
            // would make every walk through subfolders endless, so it is left out.
            if (S_ISDIR(info.mode) && LeadsBackUp(find.folder, path)) continue;
        }
        std::u16string wide = FromHostBytes(name);
        if (wide.size() >= MAX_PATH) continue;
        data = WIN32_FIND_DATAW{};
        data.dwFileAttributes = AttributesFor(info, name);
        data.ftCreationTime = info.created;
        data.ftLastAccessTime = info.accessed;
        data.ftLastWriteTime = info.written;
        uint64_t size = S_ISDIR(info.mode) ? 0 : info.size;
        data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
        data.nFileSizeLow = static_cast<DWORD>(size);
        data.dwOID = 0;
        std::copy(wide.begin(), wide.end(), data.cFileName);
        return true;
    }
    return false;
}

}  // namespace

HANDLE WINAPI FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
    return Guarded(INVALID_HANDLE_VALUE, [&]() -> HANDLE {
        if (!lpFileName || !lpFindFileData) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
        }
        auto find = std::make_shared<FindObject>();
        std::u16string pattern;
        DWORD error = MapFindPath(lpFileName, find->folder, pattern);
        if (error == ERROR_SUCCESS && pattern.empty()) error = ERROR_FILE_NOT_FOUND;
        if (error == ERROR_SUCCESS) error = ListMatches(*find, pattern);
        if (error == ERROR_SUCCESS && !NextEntry(*find, *lpFindFileData)) error = ERROR_FILE_NOT_FOUND;
        if (error != ERROR_SUCCESS) {
            SetLastError(error);
            return INVALID_HANDLE_VALUE;
        }
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
