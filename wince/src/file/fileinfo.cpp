#include "fileinfo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>

namespace wince {
namespace {

constexpr int64_t kSecondsFrom1601To1970 = 11644473600;

FILETIME FromStatx(const struct statx_timestamp &t) {
    return FileTimeFromUnix(t.tv_sec, t.tv_nsec);
}

int Fill(const struct statx &stx, HostInfo &info) {
    info.mode = stx.stx_mode;
    info.size = stx.stx_size;
    info.links = stx.stx_nlink;
    info.identity = FileIdentity{makedev(stx.stx_dev_major, stx.stx_dev_minor), stx.stx_ino};
    info.accessed = FromStatx(stx.stx_atime);
    info.written = FromStatx(stx.stx_mtime);
    // Not every host file system keeps a birth time; the last write is the
    // closest the device can say then.
    info.created = (stx.stx_mask & STATX_BTIME) ? FromStatx(stx.stx_btime) : info.written;
    return 0;
}

constexpr unsigned kMask = STATX_TYPE | STATX_MODE | STATX_NLINK | STATX_INO | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME;

}  // namespace

int QueryPath(const char *path, HostInfo &info) {
    struct statx stx;
    if (statx(AT_FDCWD, path, AT_STATX_SYNC_AS_STAT, kMask, &stx) != 0) return errno;
    return Fill(stx, info);
}

int QueryAt(int folderFd, const char *name, bool followLinks, HostInfo &info) {
    struct statx stx;
    int flags = AT_STATX_SYNC_AS_STAT | (followLinks ? 0 : AT_SYMLINK_NOFOLLOW);
    if (statx(folderFd, name, flags, kMask, &stx) != 0) return errno;
    return Fill(stx, info);
}

int QueryFd(int fd, HostInfo &info) {
    struct statx stx;
    if (statx(fd, "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT, kMask, &stx) != 0) return errno;
    return Fill(stx, info);
}

FILETIME FileTimeFromUnix(int64_t seconds, uint32_t nanoseconds) {
    FILETIME ft{0, 0};
    if (seconds < -kSecondsFrom1601To1970) return ft;
    uint64_t ticks = static_cast<uint64_t>(seconds + kSecondsFrom1601To1970) * 10000000u + nanoseconds / 100;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

DWORD AttributesFor(const HostInfo &info, std::string_view hostName) {
    DWORD attributes = 0;
    if (S_ISDIR(info.mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(info.mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
    if (!hostName.empty() && hostName[0] == '.') attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

}  // namespace wince
