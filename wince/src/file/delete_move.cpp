// DeleteFileW and MoveFileW. A move never replaces an existing destination.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "../core/debug.h"
#include "../device/pathmap.h"
#include "../trace/trace.h"
#include "errors.h"
#include "fileinfo.h"
#include "fileops.h"

namespace wince {

int RenameNoReplace(const std::string &from, const std::string &to, bool isFolder) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
    // A host file system without no-replace renames: claim the name first,
    // link() for a file, an empty folder that rename() may then replace.
    if (!isFolder) {
        if (link(from.c_str(), to.c_str()) != 0) return errno;
        if (unlink(from.c_str()) != 0) {
            int error = errno;
            unlink(to.c_str());
            return error;
        }
        return 0;
    }
    if (mkdir(to.c_str(), 0700) != 0) return errno;
    if (rename(from.c_str(), to.c_str()) != 0) {
        int error = errno;
        rmdir(to.c_str());
        return error;
    }
    return 0;
}

}  // namespace wince

using namespace wince;

namespace {

bool Inside(const std::string &path, const std::string &folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

std::string_view HostName(const std::string &path) {
    return std::string_view(path).substr(path.rfind('/') + 1);
}

}  // namespace

BOOL WINAPI DeleteFileW(LPCWSTR lpFileName) {
    BOOL result = GuardedChange<BOOL>(FALSE, [&]() -> BOOL {
        HostPath target;
        if (DWORD error = MapExistingPath(lpFileName, target)) return FailWith(error);
        HostInfo info;
        if (QueryPath(target.path.c_str(), info) != 0) return FailWith(Win32ErrorFromErrno(errno));
        // Folders go with RemoveDirectory; a read-only file must be made writable first.
        if (target.isRoot || S_ISDIR(info.mode) || !(info.mode & S_IWUSR)) return FailWith(ERROR_ACCESS_DENIED);
        if (!target.isLink && !CanDelete(info.identity)) return FailWith(ERROR_SHARING_VIOLATION);
        if (unlink(target.path.c_str()) != 0) return FailWith(Win32ErrorFromErrno(errno));
        WINCE_DEBUG("file", "deleted %s", target.path.c_str());
        return TRUE;
    });
    TraceDeleteFile(lpFileName ? lpFileName : u"", result);
    return result;
}

BOOL WINAPI MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName) {
    BOOL result = GuardedChange<BOOL>(FALSE, [&]() -> BOOL {
        if (!lpExistingFileName || !lpNewFileName) return FailWith(ERROR_INVALID_PARAMETER);
        HostPath from, to;
        if (DWORD error = MapExistingPath(lpExistingFileName, from)) return FailWith(error);
        if (DWORD error = MapNewPath(lpNewFileName, to)) return FailWith(error);
        if (from.isRoot || to.isRoot) return FailWith(ERROR_ACCESS_DENIED);
        struct stat own;
        if (lstat(from.path.c_str(), &own) != 0) return FailWith(Win32ErrorFromErrno(errno));
        const bool folder = S_ISDIR(own.st_mode);
        std::string target = to.path;
        if (to.exists) {
            if (to.path != from.path) return FailWith(ERROR_ALREADY_EXISTS);
            // The same object under another spelling: a change of letter case only.
            if (HostName(from.path) == to.leaf) return TRUE;
            target = to.folder + "/" + to.leaf;
        }
        if (folder && Inside(target, from.path)) return FailWith(ERROR_ACCESS_DENIED);
        if (!folder && !S_ISLNK(own.st_mode) && !CanDelete(IdentityOf(own))) return FailWith(ERROR_SHARING_VIOLATION);
        int error = RenameNoReplace(from.path, target, folder);
        if (error == EXDEV && !folder) {
            // Another host mount: copy without replacing, then drop the original.
            error = CopyHostFile(from.path, to.folder, target, false);
            if (error == 0 && unlink(from.path.c_str()) != 0) error = errno;
        }
        if (error != 0) return FailWith(Win32ErrorFromErrno(error));
        WINCE_DEBUG("file", "moved %s to %s", from.path.c_str(), target.c_str());
        return TRUE;
    });
    TraceMoveFile(lpExistingFileName ? lpExistingFileName : u"", lpNewFileName ? lpNewFileName : u"", result);
    return result;
}
