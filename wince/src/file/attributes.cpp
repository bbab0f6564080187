// File attributes: kept by the host where it can (folder, read-only as the
// owner's write permission, hidden as a leading dot).
#include <sys/stat.h>

#include <cerrno>

#include "../device/pathmap.h"
#include "errors.h"
#include "fileinfo.h"

using namespace wince;

namespace {

// Bits an application may pass; only read-only has a host counterpart, the
// others are accepted as the device accepts them.
constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL |
                            FILE_ATTRIBUTE_TEMPORARY;

}  // namespace

DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName) {
    return Guarded<DWORD>(INVALID_FILE_ATTRIBUTES, [&]() -> DWORD {
        HostPath target;
        DWORD error = MapExistingPath(lpFileName, target);
        HostInfo info;
        if (error == ERROR_SUCCESS && QueryPath(target.path.c_str(), info) != 0) error = Win32ErrorFromErrno(errno);
        if (error != ERROR_SUCCESS) {
            SetLastError(error);
            return INVALID_FILE_ATTRIBUTES;
        }
        std::string_view hostName = target.isRoot ? std::string_view() : std::string_view(target.path);
        return AttributesFor(info, hostName.substr(hostName.rfind('/') + 1));
    });
}

BOOL WINAPI SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes) {
    return GuardedChange<BOOL>(FALSE, [&]() -> BOOL {
        if (!lpFileName || (dwFileAttributes & ~kSettable)) return FailWith(ERROR_INVALID_PARAMETER);
        HostPath target;
        if (DWORD error = MapExistingPath(lpFileName, target)) return FailWith(error);
        if (target.isRoot) return FailWith(ERROR_ACCESS_DENIED);
        struct stat st;
        if (stat(target.path.c_str(), &st) != 0) return FailWith(Win32ErrorFromErrno(errno));
        mode_t mode = st.st_mode & 07777;
        mode = (dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? mode & ~(S_IWUSR | S_IWGRP | S_IWOTH) : mode | S_IWUSR;
        if (mode != (st.st_mode & 07777) && chmod(target.path.c_str(), mode) != 0) {
            return FailWith(Win32ErrorFromErrno(errno));
        }
        return TRUE;
    });
}
