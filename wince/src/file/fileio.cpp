// Reading, writing and positioning through a file handle.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "errors.h"
#include "file_object.h"
#include "fileinfo.h"

using namespace wince;

namespace {

std::shared_ptr<FileObject> FileFor(HANDLE handle) {
    auto file = LookupHandleAs<FileObject>(handle);
    if (!file) SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

}  // namespace

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped) {
    return GuardedChange<BOOL>(FALSE, [&]() -> BOOL {
        // The device has no overlapped I/O.
        if (!lpNumberOfBytesRead || lpOverlapped || (!lpBuffer && nNumberOfBytesToRead)) {
            return FailWith(ERROR_INVALID_PARAMETER);
        }
        *lpNumberOfBytesRead = 0;
        auto file = FileFor(hFile);
        if (!file) return FALSE;
        if (!file->CanRead()) return FailWith(ERROR_ACCESS_DENIED);
        auto *out = static_cast<char *>(lpBuffer);
        DWORD total = 0;
        while (total < nNumberOfBytesToRead) {
            ssize_t n = read(file->Fd(), out + total, nNumberOfBytesToRead - total);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                *lpNumberOfBytesRead = total;
                return FailWith(Win32ErrorFromErrno(errno));
            }
            if (n == 0) break;  // end of file: success with fewer bytes
            total += static_cast<DWORD>(n);
        }
        *lpNumberOfBytesRead = total;
        return TRUE;
    });
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                      LPOVERLAPPED lpOverlapped) {
    return GuardedChange<BOOL>(FALSE, [&]() -> BOOL {
        if (!lpNumberOfBytesWritten || lpOverlapped || (!lpBuffer && nNumberOfBytesToWrite)) {
            return FailWith(ERROR_INVALID_PARAMETER);
        }
        *lpNumberOfBytesWritten = 0;
        auto file = FileFor(hFile);
        if (!file) return FALSE;
        if (!file->CanWrite()) return FailWith(ERROR_ACCESS_DENIED);
        const auto *in = static_cast<const char *>(lpBuffer);
        DWORD total = 0;
        while (total < nNumberOfBytesToWrite) {
            ssize_t n = write(file->Fd(), in + total, nNumberOfBytesToWrite - total);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                *lpNumberOfBytesWritten = total;
                return FailWith(n == 0 ? ERROR_DISK_FULL : Win32ErrorFromErrno(errno));
            }
            total += static_cast<DWORD>(n);
        }
        *lpNumberOfBytesWritten = total;
        return TRUE;
    });
}

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    return Guarded<DWORD>(INVALID_FILE_SIZE, [&]() -> DWORD {
        auto file = FileFor(hFile);
        if (!file) return INVALID_FILE_SIZE;
        HostInfo info;
        if (int error = QueryFd(file->Fd(), info)) {
            SetLastError(Win32ErrorFromErrno(error));
            return INVALID_FILE_SIZE;
        }
        if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(info.size >> 32);
        // A low part equal to INVALID_FILE_SIZE is told apart by the last error.
        DWORD low = static_cast<DWORD>(info.size);
        if (low == INVALID_FILE_SIZE) SetLastError(NO_ERROR);
        return low;
    });
}

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod) {
    return Guarded<DWORD>(INVALID_SET_FILE_POINTER, [&]() -> DWORD {
        auto file = FileFor(hFile);
        if (!file) return INVALID_SET_FILE_POINTER;
        if (dwMoveMethod > FILE_END) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_SET_FILE_POINTER;
        }
        // With a high part the distance is one signed 64-bit value.
        int64_t distance = lDistanceToMove;
        if (lpDistanceToMoveHigh) {
            uint64_t high = static_cast<uint32_t>(*lpDistanceToMoveHigh);
            distance = static_cast<int64_t>(high << 32 | static_cast<uint32_t>(lDistanceToMove));
        }
        int64_t origin = 0;
        if (dwMoveMethod == FILE_CURRENT) {
            origin = lseek(file->Fd(), 0, SEEK_CUR);
        } else if (dwMoveMethod == FILE_END) {
            HostInfo info;
            origin = QueryFd(file->Fd(), info) == 0 ? static_cast<int64_t>(info.size) : -1;
        }
        if (origin < 0) {
            SetLastError(Win32ErrorFromErrno(errno));
            return INVALID_SET_FILE_POINTER;
        }
        // The pointer does not move when the request fails.
        int64_t position = origin + distance;
        if (position < 0) {
            SetLastError(ERROR_NEGATIVE_SEEK);
            return INVALID_SET_FILE_POINTER;
        }
        if (!lpDistanceToMoveHigh && position > 0xFFFFFFFFll) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_SET_FILE_POINTER;
        }
        if (lseek(file->Fd(), position, SEEK_SET) < 0) {
            SetLastError(Win32ErrorFromErrno(errno));
            return INVALID_SET_FILE_POINTER;
        }
        if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(position) >> 32);
        // A low part equal to INVALID_SET_FILE_POINTER is told apart by the last error.
        DWORD low = static_cast<DWORD>(position);
        if (low == INVALID_SET_FILE_POINTER) SetLastError(NO_ERROR);
        return low;
    });
}

BOOL WINAPI SetEndOfFile(HANDLE hFile) {
    return GuardedChange<BOOL>(FALSE, [&]() -> BOOL {
        auto file = FileFor(hFile);
        if (!file) return FALSE;
        if (!file->CanWrite()) return FailWith(ERROR_ACCESS_DENIED);
        off_t position = lseek(file->Fd(), 0, SEEK_CUR);
        if (position < 0 || ftruncate(file->Fd(), position) != 0) return FailWith(Win32ErrorFromErrno(errno));
        return TRUE;
    });
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
    return Guarded<BOOL>(FALSE, [&]() -> BOOL {
        auto file = FileFor(hFile);
        if (!file) return FALSE;
        if (!file->CanWrite()) return FailWith(ERROR_ACCESS_DENIED);
        if (fsync(file->Fd()) != 0) return FailWith(Win32ErrorFromErrno(errno));
        return TRUE;
    });
}

BOOL WINAPI GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                        LPFILETIME lpLastWriteTime) {
    return Guarded<BOOL>(FALSE, [&]() -> BOOL {
        auto file = FileFor(hFile);
        if (!file) return FALSE;
        HostInfo info;
        if (int error = QueryFd(file->Fd(), info)) return FailWith(Win32ErrorFromErrno(error));
        if (lpCreationTime) *lpCreationTime = info.created;
        if (lpLastAccessTime) *lpLastAccessTime = info.accessed;
        if (lpLastWriteTime) *lpLastWriteTime = info.written;
        return TRUE;
    });
}
