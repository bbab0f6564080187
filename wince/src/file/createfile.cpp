// CreateFileW: opening and creating files with the creation dispositions
// and sharing modes of the device.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "../core/debug.h"
#include "../device/pathmap.h"
#include "errors.h"
#include "file_object.h"
#include "fileinfo.h"

using namespace wince;

namespace {

constexpr DWORD kKnownAccess = GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | GENERIC_ALL;
constexpr DWORD kKnownShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool Creates(DWORD disposition) {
    return disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
}

bool Truncates(DWORD disposition) {
    return disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
}

// Opens or creates the host file. `created` tells whether this call made it.
// O_CREAT is only ever used with O_EXCL, so no link is followed to create.
DWORD OpenHost(const std::string &path, DWORD disposition, int mode, int &fd, bool &created) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below.
    const int flags = mode | O_CLOEXEC | O_NONBLOCK;
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (Creates(disposition)) {
            fd = open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
            if (fd >= 0) {
                created = true;
                return ERROR_SUCCESS;
            }
            if (errno != EEXIST) return Win32ErrorFromErrno(errno);
            if (disposition == CREATE_NEW) return ERROR_FILE_EXISTS;
        }
        fd = open(path.c_str(), flags);
        if (fd >= 0) {
            created = false;
            return ERROR_SUCCESS;
        }
        if (errno != ENOENT || !Creates(disposition)) return Win32ErrorFromErrno(errno);
        // Deleted between the two opens: try again.
    }
    return ERROR_ACCESS_DENIED;
}

HANDLE Open(LPCWSTR name, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    if (!name || disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING || (access & ~kKnownAccess) ||
        (share & ~kKnownShare)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const bool wantsWrite = access & (GENERIC_WRITE | GENERIC_ALL);
    if (disposition == TRUNCATE_EXISTING && !wantsWrite) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    HostPath target;
    DWORD error = MapNewPath(name, target);
    if (error == ERROR_SUCCESS && !target.exists && target.trailingSeparator) error = ERROR_INVALID_NAME;
    if (error == ERROR_SUCCESS && target.isRoot) error = ERROR_ACCESS_DENIED;
    if (error == ERROR_SUCCESS && !target.exists && !Creates(disposition)) error = ERROR_FILE_NOT_FOUND;
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    // Truncating needs a writable descriptor even when the handle only reads.
    const int mode = wantsWrite || Truncates(disposition) ? O_RDWR : O_RDONLY;
    int fd = -1;
    bool created = false;
    error = OpenHost(target.path, disposition, mode, fd, created);
    if (error != ERROR_SUCCESS) {
        WINCE_DEBUG("file", "CreateFileW %s: error %u", target.path.c_str(), unsigned(error));
        SetLastError(error == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : error);
        return INVALID_HANDLE_VALUE;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    HostInfo info;
    int queryError = QueryFd(fd, info);
    if (queryError != 0 || !S_ISREG(info.mode)) {
        close(fd);
        SetLastError(queryError ? Win32ErrorFromErrno(queryError) : ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    // A read-only file cannot be written or overwritten, whoever runs the host process.
    if (!created && (wantsWrite || Truncates(disposition)) && !(info.mode & S_IWUSR)) {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    uint64_t token = RegisterOpen(info.identity, access, share);
    if (token == 0) {
        close(fd);
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    auto file = std::make_shared<FileObject>(fd, access, token);  // owns fd and token from here on
    if (!created && Truncates(disposition) && ftruncate(fd, 0) != 0) {
        SetLastError(Win32ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    // The attribute applies to the new file; this handle keeps its write access.
    if (created && (flags & FILE_ATTRIBUTE_READONLY)) fchmod(fd, info.mode & ~(S_IWUSR | S_IWGRP | S_IWOTH) & 07777);
    HANDLE handle = AllocHandle(std::move(file));
    const bool reportsExisting = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    SetLastError(reportsExisting && !created ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

}  // namespace

HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE /*hTemplateFile: ignored on the device*/) {
    return GuardedChange(INVALID_HANDLE_VALUE, [&] {
        return Open(lpFileName, dwDesiredAccess, dwShareMode, dwCreationDisposition, dwFlagsAndAttributes);
    });
}
