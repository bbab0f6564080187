// CreateDirectoryW and RemoveDirectoryW.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "../device/pathmap.h"
#include "errors.h"

using namespace wince;

BOOL WINAPI CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes: ignored*/) {
    return GuardedChange<BOOL>(FALSE, [&]() -> BOOL {
        HostPath target;
        if (DWORD error = MapNewPath(lpPathName, target)) return FailWith(error);
        if (target.exists) return FailWith(ERROR_ALREADY_EXISTS);
        if (mkdir(target.path.c_str(), 0777) != 0) return FailWith(Win32ErrorFromErrno(errno));
        return TRUE;
    });
}

BOOL WINAPI RemoveDirectoryW(LPCWSTR lpPathName) {
    return GuardedChange<BOOL>(FALSE, [&]() -> BOOL {
        HostPath target;
        if (DWORD error = MapExistingPath(lpPathName, target)) return FailWith(error);
        if (target.isRoot) return FailWith(ERROR_ACCESS_DENIED);
        struct stat st;
        if (stat(target.path.c_str(), &st) != 0) return FailWith(Win32ErrorFromErrno(errno));
        if (!S_ISDIR(st.st_mode)) return FailWith(ERROR_DIRECTORY);
        // A link to a folder is removed as the link, never the folder it names.
        int result = target.isLink ? unlink(target.path.c_str()) : rmdir(target.path.c_str());
        if (result != 0) return FailWith(errno == EEXIST ? ERROR_DIR_NOT_EMPTY : Win32ErrorFromErrno(errno));
        return TRUE;
    });
}
