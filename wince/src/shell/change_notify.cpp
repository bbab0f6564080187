// SHChangeNotifyRegister and SHChangeNotifyDeregister: one registration per
// window, each an inotify watch whose descriptor is a wait source of the
// message queue, so changes become posted WM_FILECHANGEINFO messages on the
// user-interface thread whenever a message loop looks for work.
#include <aygshell.h>

#include <sys/stat.h>

#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "change_notify.h"
#include "change_watch.h"
#include "core/debug.h"
#include "core/unicode.h"
#include "device/pathmap.h"
#include "file/errors.h"
#include "file/fileinfo.h"
#include "window/message_queue.h"
#include "window/window.h"

namespace wince {
namespace {

struct Registration {
    DWORD mask = 0;
    std::string hostRoot;
    std::u16string deviceRoot;
    ChangeWatch watch;
};

std::map<HWND, std::unique_ptr<Registration>> &Registrations() {
    static auto *all = new std::map<HWND, std::unique_ptr<Registration>>;
    return *all;
}

// Built from the registered folder rather than looked up again, so names
// that are not valid UTF-8 keep their lossless spelling.
std::u16string DevicePathOf(const Registration &r, const std::string &host) {
    std::u16string path = r.deviceRoot;
    if (host.size() <= r.hostRoot.size()) return path;
    std::string_view rest = std::string_view(host).substr(r.hostRoot.size());
    while (!rest.empty()) {
        size_t slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty()) continue;
        if (path.empty() || path.back() != u'\\') path += u'\\';
        path += FromHostBytes(part);
    }
    return path;
}

// What the item is now; an item that is gone keeps only its kind.
void Describe(FILECHANGENOTIFY *n, const std::string &hostPath, bool folder) {
    HostInfo info;
    if (QueryPath(hostPath.c_str(), info) != 0) {
        n->fci.dwAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : 0;
        return;
    }
    size_t slash = hostPath.rfind('/');
    n->fci.dwAttributes =
        AttributesFor(info, std::string_view(hostPath).substr(slash == std::string::npos ? 0 : slash + 1));
    n->fci.ftModified = info.written;
    n->fci.nFileSize = (n->fci.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : static_cast<ULONG>(info.size);
}

void Deliver(HWND hwnd, int fd) {
    auto &all = Registrations();
    auto it = all.find(hwnd);
    if (it == all.end() || it->second->watch.Fd() != fd) return;
    Registration &r = *it->second;
    std::vector<FolderChange> changes = r.watch.ReadChanges();
    // Whoever is told of a change may look at once: finds must not answer
    // from what the watches said before it.
    if (!changes.empty()) NoteFileChange();
    for (const FolderChange &c : changes) {
        if (!(r.mask & static_cast<DWORD>(c.event))) continue;
        std::u16string item1 = DevicePathOf(r, c.path);
        std::u16string item2 = c.path2.empty() ? std::u16string() : DevicePathOf(r, c.path2);
        FILECHANGENOTIFY *n = NewChangeRecord(hwnd, c.event, item1, item2);
        Describe(n, c.path2.empty() ? c.path : c.path2, c.folder);
        WINCE_DEBUG("shell", "change 0x%x %s%s%s", static_cast<unsigned>(c.event), c.path.c_str(),
                    c.path2.empty() ? "" : " -> ", c.path2.c_str());
        if (!PostMessageW(hwnd, WM_FILECHANGEINFO, reinterpret_cast<WPARAM>(n), static_cast<LPARAM>(c.event)))
            DropChangeRecord(n);
    }
}

// Changes made while the registration held are still reported when flush
// is asked for; nothing after.
bool Remove(HWND hwnd, bool flush) {
    auto &all = Registrations();
    auto it = all.find(hwnd);
    if (it == all.end()) return false;
    int fd = it->second->watch.Fd();
    if (flush) Deliver(hwnd, fd);
    RemoveWaitSource(fd);
    all.erase(hwnd);
    return true;
}

}  // namespace

void ForgetChangeNotifications(HWND hwnd) {
    Remove(hwnd, false);
    ReleaseChangeRecordsOf(hwnd);
}

}  // namespace wince

using namespace wince;

BOOL WINAPI SHChangeNotifyRegister(HWND hwnd, LPSHCHANGENOTIFYENTRY pshcne) {
    return Guarded<BOOL>(FALSE, [&]() -> BOOL {
        if (!CheckHandle(hwnd)) return FALSE;
        if (!pshcne || !pshcne->pszWatchDir) return FailWith(ERROR_INVALID_PARAMETER);
        HostPath folder;
        if (DWORD error = MapExistingPath(pshcne->pszWatchDir, folder)) return FailWith(error);
        HostInfo info;
        if (int error = QueryPath(folder.path.c_str(), info)) return FailWith(Win32ErrorFromErrno(error));
        if (!S_ISDIR(info.mode)) return FailWith(ERROR_DIRECTORY);

        auto r = std::make_unique<Registration>();
        r->mask = pshcne->dwEventMask;
        r->hostRoot = folder.path;
        while (r->hostRoot.size() > 1 && r->hostRoot.back() == '/') r->hostRoot.pop_back();
        if (!HostToDevicePath(r->hostRoot, r->deviceRoot)) r->deviceRoot = pshcne->pszWatchDir;
        if (int error = r->watch.Start(r->hostRoot, pshcne->fRecursive != FALSE))
            return FailWith(Win32ErrorFromErrno(error));

        Remove(hwnd, true);  // a window has one registration: the new one replaces it
        int fd = r->watch.Fd();
        Registrations()[hwnd] = std::move(r);
        AddWaitSource(fd, [hwnd, fd] { Deliver(hwnd, fd); });
        return TRUE;
    });
}

BOOL WINAPI SHChangeNotifyDeregister(HWND hwnd) {
    return Guarded<BOOL>(FALSE, [&]() -> BOOL {
        if (!Remove(hwnd, true)) return FailWith(ERROR_INVALID_PARAMETER);
        return TRUE;
    });
}
