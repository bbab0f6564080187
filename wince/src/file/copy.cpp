// CopyFileW, and the host copy that MoveFileW falls back to across mounts.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "../device/pathmap.h"
#include "errors.h"
#include "fileinfo.h"
#include "fileops.h"

namespace wince {
namespace {

int CopyBytes(int in, int out) {
    bool fast = true;
    char buffer[64 * 1024];
    for (;;) {
        ssize_t n;
        if (fast) {
            n = copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
            if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                fast = false;
                continue;
            }
        } else {
            n = read(in, buffer, sizeof buffer);
            for (ssize_t done = 0; n > 0 && done < n;) {
                ssize_t w = write(out, buffer + done, n - done);
                if (w < 0 && errno == EINTR) continue;
                if (w <= 0) return w == 0 ? ENOSPC : errno;
                done += w;
            }
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return 0;
    }
}

int Place(const std::string &temp, const std::string &to, bool replace) {
    if (replace) return rename(temp.c_str(), to.c_str()) == 0 ? 0 : errno;
    return RenameNoReplace(temp, to, false);
}

}  // namespace

int CopyHostFile(const std::string &from, const std::string &folder, const std::string &to, bool replace) {
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0) return errno;
    struct stat st;
    int statError = fstat(in, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EACCES;
    if (statError != 0) {
        close(in);
        return statError;
    }
    std::string temp = folder + "/.~copy-XXXXXX";
    int out = mkostemp(temp.data(), O_CLOEXEC);
    if (out < 0) {
        int error = errno;
        close(in);
        return error;
    }
    int error = CopyBytes(in, out);
    if (error == 0 && fchmod(out, st.st_mode & 07777) != 0) error = errno;
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (error == 0 && futimens(out, times) != 0) error = errno;
    if (close(out) != 0 && error == 0) error = errno;
    close(in);
    if (error == 0) error = Place(temp, to, replace);
    if (error != 0) unlink(temp.c_str());
    return error;
}

}  // namespace wince

using namespace wince;

BOOL WINAPI CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists) {
    return GuardedChange<BOOL>(FALSE, [&]() -> BOOL {
        if (!lpExistingFileName || !lpNewFileName) return FailWith(ERROR_INVALID_PARAMETER);
        HostPath from, to;
        if (DWORD error = MapExistingPath(lpExistingFileName, from)) return FailWith(error);
        HostInfo source;
        if (from.isRoot || QueryPath(from.path.c_str(), source) != 0 || !S_ISREG(source.mode)) {
            return FailWith(ERROR_ACCESS_DENIED);
        }
        if (DWORD error = MapNewPath(lpNewFileName, to)) return FailWith(error);
        if (to.isRoot || (!to.exists && to.trailingSeparator))
            return FailWith(to.isRoot ? ERROR_ACCESS_DENIED : ERROR_INVALID_NAME);
        if (to.exists) {
            if (bFailIfExists) return FailWith(ERROR_FILE_EXISTS);
            HostInfo target;
            if (QueryPath(to.path.c_str(), target) == 0) {
                if (target.identity == source.identity) return FailWith(ERROR_SHARING_VIOLATION);
                if (!S_ISREG(target.mode) || !(target.mode & S_IWUSR)) return FailWith(ERROR_ACCESS_DENIED);
                if (!CanOpen(target.identity, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
                    return FailWith(ERROR_SHARING_VIOLATION);
                }
            }
        }
        if (!CanOpen(source.identity, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
            return FailWith(ERROR_SHARING_VIOLATION);
        }
        int error = CopyHostFile(from.path, to.folder, to.path, !bFailIfExists);
        if (error == EEXIST) return FailWith(ERROR_FILE_EXISTS);
        if (error != 0) return FailWith(Win32ErrorFromErrno(error));
        return TRUE;
    });
}
