#include "desktop_channel.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "core/debug.h"
#include "device/device.h"
#include "frontend/frontend.h"
#include "window/message_queue.h"

namespace wince {
namespace {

constexpr uint32_t kMagic = 0x4D454357;  // "WCEM": a posted message
constexpr uint32_t kRaise = 0x46454357;  // "WCEF": come to the front
constexpr UINT kCompareItem = 0x0039;
constexpr UINT kStyleChanging = 0x007C;

struct Wire {
    uint32_t magic;
    uint32_t message;
    uint64_t wParam;
    int64_t lParam;
};

struct Listener {
    int fd = -1;
    HWND desktop = nullptr;
    std::string path;
};

Listener listener;

std::string SocketPath() { return (Device::Current().Root() / "desktop.sock").string(); }

bool Address(const std::string &path, sockaddr_un &addr) {
    memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) return false;  // too long for a socket name
    memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

void Receive() {
    for (;;) {
        Wire w;
        ssize_t n = recv(listener.fd, &w, sizeof w, MSG_DONTWAIT);
        if (n < 0) return;
        if (n == sizeof w && w.magic == kRaise) {
            WINCE_DEBUG("ipc", "the desktop comes to the front");
            if (listener.desktop && IsWindow(listener.desktop)) SetForegroundWindow(listener.desktop);
            RaiseFrontEnd();
            continue;
        }
        if (n != sizeof w || w.magic != kMagic || !CarriesOnlyValues(w.message, static_cast<LPARAM>(w.lParam)))
            continue;  // not one of ours
        WINCE_DEBUG("ipc", "message 0x%04X for the desktop", w.message);
        if (listener.desktop && IsWindow(listener.desktop))
            PostMessageW(listener.desktop, w.message, static_cast<WPARAM>(w.wParam), static_cast<LPARAM>(w.lParam));
    }
}

void StopListening() {
    if (listener.fd < 0) return;
    RemoveWaitSource(listener.fd);
    close(listener.fd);
    unlink(listener.path.c_str());
    listener = Listener{};
}

}  // namespace

bool CarriesOnlyValues(UINT message, LPARAM lParam) {
    switch (message) {
        // These carry pointers into the sender's memory.
        case WM_CREATE: case WM_SETTEXT: case WM_GETTEXT: case WM_NOTIFY: case WM_WINDOWPOSCHANGED:
        case WM_DRAWITEM: case WM_MEASUREITEM: case WM_DELETEITEM: case kCompareItem: case WM_COPYDATA:
        case WM_HELP: case WM_STYLECHANGED: case kStyleChanging: case WM_WINDOWPOSCHANGING:
            return false;
        case WM_SETTINGCHANGE:  // the section name, when there is one, is a pointer
            return lParam == 0;
    }
    return true;
}

bool ListenAsDesktop(HWND desktop) {
    StopListening();
    if (!desktop) return true;
    std::string path = SocketPath();
    sockaddr_un addr;
    if (!Address(path, addr)) return false;
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    unlink(path.c_str());  // a socket left by a host that ended
    if (bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        WINCE_DEBUG("ipc", "cannot listen on %s", path.c_str());
        close(fd);
        return false;
    }
    listener.fd = fd;
    listener.desktop = desktop;
    listener.path = path;
    AddWaitSource(fd, Receive);
    return true;
}

bool DesktopListening() {
    if (listener.fd >= 0) return true;
    sockaddr_un addr;
    if (!Address(SocketPath(), addr)) return false;
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool alive = connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
    close(fd);
    return alive;
}

namespace {

bool Send(const Wire &w) {
    sockaddr_un addr;
    if (!Address(SocketPath(), addr)) return false;
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool sent = sendto(fd, &w, sizeof w, 0, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == sizeof w;
    close(fd);
    return sent;
}

}  // namespace

bool SendToDesktop(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!CarriesOnlyValues(message, lParam)) return false;
    return Send(Wire{kMagic, message, static_cast<uint64_t>(wParam), static_cast<int64_t>(lParam)});
}

bool RaiseDesktop() { return Send(Wire{kRaise, 0, 0, 0}); }

}  // namespace wince
