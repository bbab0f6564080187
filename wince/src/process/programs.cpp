#include "programs.h"

#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "core/unicode.h"
#include "device/device.h"
#include "device/pathmap.h"
#include "host_opener.h"
#include "script/handover.h"
#include "trace/trace.h"

namespace wince {
namespace {

constexpr char kStubPrefix[] = "#!wince-link ";

std::u16string LeafOf(const std::u16string &path) {
    size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

std::u16string Lower(std::u16string text) {
    for (char16_t &c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 32);
    return text;
}

// The host program a stub file names; empty when the file is not a stub.
std::string StubTarget(const std::string &hostFile) {
    std::ifstream in(hostFile, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) return "";
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, sizeof kStubPrefix - 1, kStubPrefix) != 0) return "";
    std::string target = line.substr(sizeof kStubPrefix - 1);
    while (!target.empty() && (target.back() == ' ' || target.back() == '\t')) target.pop_back();
    return target;
}

// The device folder of this program ("\\Program Files\\Pelloran"), where a
// program it starts looks for the files that go with it (its help file).
std::string CallerFolder() {
    const char *program = getenv("WINCE_PROGRAM");
    std::string path = program ? program : "";
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

}  // namespace

bool IsSimulatedProgram(const std::u16string &devicePath) {
    std::u16string leaf = Lower(LeafOf(devicePath));
    return leaf == u"fexplore.exe" || leaf == u"peghelp.exe";
}

DWORD ResolveDeviceProgram(const std::u16string &name, DeviceProgram &out) {
    out = DeviceProgram{};
    if (name.empty()) return ERROR_FILE_NOT_FOUND;
    std::u16string path = name;
    if (path.find_first_of(u"\\/") == std::u16string::npos) path = u"\\Windows\\" + path;
    if (LeafOf(path).find(u'.') == std::u16string::npos) path += u".exe";
    out.devicePath = path;
    HostPath host;
    // The simulator plays its own programs unless the device has them installed.
    if (IsSimulatedProgram(path) &&
        (MapExistingPath(path.c_str(), host) != ERROR_SUCCESS || StubTarget(host.path).empty())) {
        out.simulated = true;
        return ERROR_SUCCESS;
    }
    if (DWORD error = MapExistingPath(path.c_str(), host)) return error;
    std::string target = StubTarget(host.path);
    if (target.empty()) return ERROR_BAD_EXE_FORMAT;
    if (access(target.c_str(), X_OK) != 0) return ERROR_FILE_NOT_FOUND;  // the link leads nowhere
    out.hostProgram = target;
    return ERROR_SUCCESS;
}

std::shared_ptr<ProcessObject> StartDeviceProgram(const DeviceProgram &program, const std::u16string &commandLine) {
    // Recorded before the program runs, so that its own events follow in the trace.
    TraceCreateProcess(program.devicePath, commandLine);
    std::shared_ptr<ProcessObject> process;
    if (program.simulated) {
        RunSimulatedProgram(program.devicePath, commandLine);
        process = std::make_shared<ProcessObject>(0);
    } else {
        std::vector<std::string> args;
        if (!commandLine.empty()) args.push_back(ToUtf8(commandLine));
        // The program shares this device, and the script when one runs here.
        ScriptOffer offer = OfferScript();
        std::vector<std::pair<std::string, std::string>> env = {
            {"WINCE_DEVICE", Device::Current().Root().string()},
            {"WINCE_PROGRAM", ToUtf8(program.devicePath)},
            {"WINCE_CALLER_FOLDER", CallerFolder()}};
        env.insert(env.end(), offer.env.begin(), offer.env.end());
        process = SpawnHostProgram(program.hostProgram, args, env, false, offer.childFd, kScriptReportFd);
        int spawnError = errno;
        ConcludeOffer(offer, process ? process->Pid() : 0, process);
        errno = spawnError;
        if (!process) {
            SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : errno == EACCES ? ERROR_ACCESS_DENIED
                                                                                   : ERROR_BAD_EXE_FORMAT);
            return nullptr;
        }
    }
    return process;
}

}  // namespace wince
