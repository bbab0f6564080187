#include "pathmap.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "../core/debug.h"
#include "../core/unicode.h"
#include "../file/errors.h"
#include "device.h"

namespace wince {
namespace {

constexpr size_t kMaxComponent = 255;  // UTF-16 units, as on the device; also the host's NAME_MAX in bytes

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

struct Parsed {
    std::vector<std::u16string> names;
    bool trailingSeparator = false;
};

enum class Leaf { Name, Pattern };
enum class Want { Existing, New };

DWORD Parse(const WCHAR *devicePath, Leaf leafRule, Parsed &out) {
    if (!devicePath) return ERROR_INVALID_PARAMETER;
    std::u16string_view text(devicePath, StringLength(devicePath));
    if (text.empty()) return ERROR_PATH_NOT_FOUND;
    if (text.size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    out.trailingSeparator = IsSeparator(text.back());
    std::vector<std::u16string_view> parts;
    for (size_t start = 0; start <= text.size();) {
        size_t end = start;
        while (end < text.size() && !IsSeparator(text[end])) ++end;
        std::u16string_view part = text.substr(start, end - start);
        // Nothing may lead above the root. Windows CE has no current folder,
        // so a relative path simply starts at the root.
        if (part == u"..") return ERROR_ACCESS_DENIED;
        if (!part.empty() && part != u".") parts.push_back(part);
        start = end + 1;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        bool pattern = leafRule == Leaf::Pattern && i + 1 == parts.size() && !out.trailingSeparator;
        DWORD error = pattern ? (parts[i].size() > kMaxComponent ? ERROR_FILENAME_EXCED_RANGE : ERROR_SUCCESS)
                              : CheckComponentName(parts[i]);
        if (error != ERROR_SUCCESS) return error;
        out.names.emplace_back(parts[i]);
    }
    return ERROR_SUCCESS;
}

bool Under(std::string_view path, std::string_view root) {
    return path == root ||
           (path.size() > root.size() && path.substr(0, root.size()) == root && path[root.size()] == '/');
}

std::string RealPath(const std::string &path, int &error) {
    char *real = realpath(path.c_str(), nullptr);
    if (!real) {
        error = errno;
        return {};
    }
    std::string result(real);
    free(real);
    error = 0;
    return result;
}

struct Roots {
    std::string lexical;  // fs/ as the device names it
    std::string real;     // the same with every link resolved
};

// Every path mapped resolves the root; walking a large tree maps thousands.
Roots DeviceRoots() {
    static std::mutex lock;
    static Roots cached;
    Roots roots;
    roots.lexical = Device::Current().FileSystemRoot().string();
    std::lock_guard<std::mutex> guard(lock);
    if (cached.lexical == roots.lexical && !cached.real.empty()) return cached;
    int error;
    roots.real = RealPath(roots.lexical, error);
    if (roots.real.empty()) return Roots{roots.lexical, roots.lexical};  // not cached: it may appear later
    cached = roots;
    return roots;
}

// Looks for `name` in a host folder: the exact spelling first, else the
// first name (in byte order, so the choice is stable) equal ignoring case.
DWORD FindEntry(const std::string &folder, const std::string &bytes, std::u16string_view name, std::string &found,
                struct stat &st) {
    if (lstat((folder + "/" + bytes).c_str(), &st) == 0) {
        found = bytes;
        return ERROR_SUCCESS;
    }
    if (errno == ENOTDIR) return ERROR_PATH_NOT_FOUND;
    if (errno != ENOENT) return Win32ErrorFromErrno(errno);
    DIR *dir = opendir(folder.c_str());
    if (!dir) return errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno);
    std::vector<std::string> matches;
    while (dirent *entry = readdir(dir)) {
        std::string_view host = entry->d_name;
        if (host == "." || host == "..") continue;
        if (EqualsIgnoreCase(FromHostBytes(host), name)) matches.emplace_back(host);
    }
    closedir(dir);
    std::sort(matches.begin(), matches.end());
    for (const std::string &match : matches) {
        if (lstat((folder + "/" + match).c_str(), &st) == 0) {
            found = match;
            return ERROR_SUCCESS;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

DWORD Walk(const Parsed &parsed, Want want, HostPath &out) {
    Roots roots = DeviceRoots();
    out = HostPath{};
    out.trailingSeparator = parsed.trailingSeparator;
    if (parsed.names.empty()) {
        out.path = out.folder = roots.lexical;
        out.exists = out.isRoot = true;
        return ERROR_SUCCESS;
    }
    std::string host = roots.lexical;
    for (size_t i = 0; i < parsed.names.size(); ++i) {
        const bool last = i + 1 == parsed.names.size();
        std::string bytes, found;
        ToHostBytes(parsed.names[i], bytes);  // Parse made sure it converts
        struct stat st;
        DWORD error = FindEntry(host, bytes, parsed.names[i], found, st);
        if (error == ERROR_FILE_NOT_FOUND) {
            if (!last) return ERROR_PATH_NOT_FOUND;
            out.folder = host;
            out.leaf = bytes;
            out.path = host + "/" + bytes;
            return want == Want::New ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        }
        if (error != ERROR_SUCCESS) return error;
        std::string next = host + "/" + found;
        const bool link = S_ISLNK(st.st_mode);
        if (link) {
            int linkError;
            std::string target = RealPath(next, linkError);
            if (linkError == ENOENT) {
                // A dangling link: nothing to open, and creating through it
                // could land anywhere.
                WINCE_DEBUG("file", "dangling link %s", next.c_str());
                if (!last) return ERROR_PATH_NOT_FOUND;
                return want == Want::New ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
            }
            if (linkError != 0 || !Under(target, roots.real)) {
                WINCE_DEBUG("file", "link %s leads outside the device", next.c_str());
                return ERROR_ACCESS_DENIED;
            }
            if (stat(next.c_str(), &st) != 0) return Win32ErrorFromErrno(errno);
        }
        if (!last) {
            if (!S_ISDIR(st.st_mode)) return ERROR_PATH_NOT_FOUND;
            host = std::move(next);
            continue;
        }
        // A trailing "\" names a folder; on a file the name is malformed.
        if (parsed.trailingSeparator && !S_ISDIR(st.st_mode)) return ERROR_INVALID_NAME;
        out.folder = host;
        out.leaf = bytes;
        out.path = std::move(next);
        out.exists = true;
        out.isLink = link;
    }
    return ERROR_SUCCESS;
}

}  // namespace

DWORD CheckComponentName(std::u16string_view name) {
    if (name.size() > kMaxComponent) return ERROR_FILENAME_EXCED_RANGE;
    for (char16_t c : name) {
        if (c < 0x20 || std::u16string_view(u"<>:\"|?*").find(c) != std::u16string_view::npos)
            return ERROR_INVALID_NAME;
    }
    // Only names that come back unchanged from the host are valid: a run of
    // lone surrogates that spells valid UTF-8 would alias another name.
    std::string bytes;
    if (!ToHostBytes(name, bytes) || FromHostBytes(bytes) != name) return ERROR_INVALID_NAME;
    if (bytes.size() > kMaxComponent) return ERROR_FILENAME_EXCED_RANGE;
    return ERROR_SUCCESS;
}

DWORD MapExistingPath(const WCHAR *devicePath, HostPath &out) {
    Parsed parsed;
    DWORD error = Parse(devicePath, Leaf::Name, parsed);
    return error != ERROR_SUCCESS ? error : Walk(parsed, Want::Existing, out);
}

DWORD MapNewPath(const WCHAR *devicePath, HostPath &out) {
    Parsed parsed;
    DWORD error = Parse(devicePath, Leaf::Name, parsed);
    return error != ERROR_SUCCESS ? error : Walk(parsed, Want::New, out);
}

DWORD MapFindPath(const WCHAR *devicePath, std::string &hostFolder, std::u16string &pattern) {
    struct stat st;
    return MapFindPath(devicePath, hostFolder, pattern, st);
}

DWORD MapFindPath(const WCHAR *devicePath, std::string &hostFolder, std::u16string &pattern, struct stat &st) {
    Parsed parsed;
    DWORD error = Parse(devicePath, Leaf::Pattern, parsed);
    if (error != ERROR_SUCCESS) return error;
    pattern.clear();
    if (!parsed.trailingSeparator && !parsed.names.empty()) {
        pattern = std::move(parsed.names.back());
        parsed.names.pop_back();
    }
    parsed.trailingSeparator = false;
    HostPath folder;
    error = Walk(parsed, Want::Existing, folder);
    if (error == ERROR_FILE_NOT_FOUND) return ERROR_PATH_NOT_FOUND;
    if (error != ERROR_SUCCESS) return error;
    if (stat(folder.path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return ERROR_PATH_NOT_FOUND;
    hostFolder = folder.path;
    return ERROR_SUCCESS;
}

bool HostToDevicePath(const std::string &hostPath, std::u16string &devicePath) {
    Roots roots = DeviceRoots();
    std::string_view rest;
    if (Under(hostPath, roots.lexical)) {
        rest = std::string_view(hostPath).substr(roots.lexical.size());
    } else if (Under(hostPath, roots.real)) {
        rest = std::string_view(hostPath).substr(roots.real.size());
    } else {
        return false;
    }
    std::u16string result;
    while (!rest.empty()) {
        size_t slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") return false;
        result += u'\\';
        result += FromHostBytes(part);
    }
    devicePath = result.empty() ? u"\\" : result;
    return true;
}

bool StaysOnDevice(const std::string &hostPath) {
    int error;
    std::string real = RealPath(hostPath, error);
    return error == 0 && Under(real, DeviceRoots().real);
}

bool LeadsBackUp(const std::string &hostFolder, const std::string &linkPath) {
    int error;
    std::string target = RealPath(linkPath, error);
    if (error != 0) return false;
    Roots roots = DeviceRoots();
    if (!Under(hostFolder, roots.lexical)) return false;
    // Every folder from the root down to hostFolder, by the way it was reached.
    for (size_t end = roots.lexical.size();; end = hostFolder.find('/', end + 1)) {
        std::string step = RealPath(hostFolder.substr(0, end), error);
        if (error == 0 && Under(step, target)) return true;
        if (end == std::string::npos) return false;
    }
}

}  // namespace wince
