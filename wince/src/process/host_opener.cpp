#include "host_opener.h"

#include "core/unicode.h"
#include "device/device.h"
#include "device/pathmap.h"
#include "process_object.h"

namespace wince {
namespace {

std::u16string Trimmed(const std::u16string &text) {
    size_t first = text.find_first_not_of(u" \t");
    if (first == std::u16string::npos) return u"";
    size_t last = text.find_last_not_of(u" \t");
    std::u16string t = text.substr(first, last - first + 1);
    if (t.size() >= 2 && t.front() == u'"' && t.back() == u'"') t = t.substr(1, t.size() - 2);
    return t;
}

std::u16string Lower(std::u16string text) {
    for (char16_t &c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 32);
    return text;
}

// A host path as a file URI, so that a page's anchor can follow it.
std::string FileUri(const std::string &hostPath, const std::string &anchor) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (unsigned char c : hostPath) {
        if (isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri.push_back(static_cast<char>(c));
        } else {
            uri.push_back('%');
            uri.push_back(kHex[c >> 4]);
            uri.push_back(kHex[c & 15]);
        }
    }
    return anchor.empty() ? uri : uri + "#" + anchor;
}

}  // namespace

bool OpenOnHost(const std::u16string &devicePath, const std::string &anchor) {
    const DeviceProfile &profile = Device::Current().Profile();
    if (profile.GetInt("shell.open_on_host", 0) != 1) return false;
    HostPath host;
    if (MapExistingPath(devicePath.c_str(), host) != ERROR_SUCCESS) return false;
    std::string opener = profile.Get("shell.opener", "xdg-open");
    if (opener.empty()) return false;
    std::string target = anchor.empty() ? host.path : FileUri(host.path, anchor);
    return SpawnHostProgram(opener, {target}, {}, /*searchPath=*/true) != nullptr;
}

std::u16string ExplorerFolder(const std::u16string &commandLine) {
    std::u16string folder = Trimmed(commandLine);
    return folder.empty() ? u"\\My Documents" : folder;
}

std::u16string HelpFile(const std::u16string &commandLine, std::string &anchor) {
    std::u16string line = Trimmed(commandLine);
    if (Lower(line.substr(0, 5)) == u"file:") line = line.substr(5);
    anchor.clear();
    size_t hash = line.find(u'#');
    if (hash != std::u16string::npos) {
        anchor = ToUtf8(line.substr(hash + 1));
        line = line.substr(0, hash);
    }
    if (line.empty()) return u"";
    // Help files without a folder are the device's, in "\Windows".
    if (line.find(u'\\') == std::u16string::npos) line = u"\\Windows\\" + line;
    return line;
}

void RunSimulatedProgram(const std::u16string &devicePath, const std::u16string &commandLine) {
    size_t slash = devicePath.find_last_of(u"\\/");
    std::u16string leaf = Lower(slash == std::u16string::npos ? devicePath : devicePath.substr(slash + 1));
    if (leaf == u"fexplore.exe") {
        OpenOnHost(ExplorerFolder(commandLine));
    } else if (leaf == u"peghelp.exe") {
        std::string anchor;
        std::u16string file = HelpFile(commandLine, anchor);
        if (!file.empty()) OpenOnHost(file, anchor);
    }
}

}  // namespace wince
