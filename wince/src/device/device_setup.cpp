#include "device_setup.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "install_manifest.h"

namespace fs = std::filesystem;

namespace wince {
namespace {

struct DemoDocument {
    const char *path;  // below "\My Documents"
    const char *content;
    int year, month, day;
};

// Every kind of document, names with several dots, none, a template and a
// subfolder, with fixed dates so that screenshots repeat.
const DemoDocument kDemo[] = {
    {"Report.psw", "Quarterly report\r\n", 2006, 3, 14},
    {"Budget.pxl", "Budget 2006\r\n", 2006, 2, 1},
    {"Meeting notes.pwi", "Notes of the meeting\r\n", 2006, 1, 20},
    {"Shopping list.txt", "Milk\r\nBread\r\nCoffee\r\n", 2005, 12, 29},
    {"Letter.doc", "Dear Sir,\r\n", 2005, 11, 5},
    {"Memo.wav", "RIFF", 2005, 10, 9},
    {"Trip.v2.psw", "Travel plans\r\n", 2006, 4, 2},
    {"README", "A file without an extension\r\n", 2005, 9, 30},
    {"Photo.jpg", "\xFF\xD8\xFF", 2006, 5, 6},
    {"Phone numbers.txt", "Office 555-0100\r\n", 2006, 6, 7},
    {"Work\\Plan.psw", "Project plan\r\n", 2006, 7, 8},
    {"Work\\Tasks.txt", "1. Write\r\n2. Review\r\n", 2006, 8, 9},
    {"Templates\\Memo.psw", "Memo template\r\n", 2004, 1, 1},
};

void SetLastWriteTime(const fs::path &file, int year, int month, int day) {
    SYSTEMTIME st{static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day), 12, 0, 0, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    int64_t v = static_cast<int64_t>((uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    auto since1970 = std::chrono::nanoseconds((v - 116444736000000000LL) * 100);
    auto when = fs::file_time_type::clock::from_sys(std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(since1970)));
    std::error_code ec;
    fs::last_write_time(file, when, ec);
}

void PutDemoDocuments() {
    fs::path documents = Device::Current().FileSystemRoot() / "My Documents";
    for (const DemoDocument &d : kDemo) {
        std::string relative = d.path;
        for (char &c : relative)
            if (c == '\\') c = '/';
        fs::path file = documents / relative;
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        if (fs::exists(file)) continue;  // never overwrite the user's files
        std::ofstream(file, std::ios::binary) << d.content;
        SetLastWriteTime(file, d.year, d.month, d.day);
    }
}

}  // namespace

const std::vector<DeviceProfileChoice> &DeviceProfiles() {
    static const std::vector<DeviceProfileChoice> profiles = {
        {"qvga", 240, 320, 96, "5.1"},          {"qvga-landscape", 320, 240, 96, "5.1"},
        {"vga", 480, 640, 192, "5.1"},          {"vga-landscape", 640, 480, 192, "5.1"},
        {"square", 240, 240, 96, "5.1"},        {"legacy", 240, 320, 96, "4.20"},
        {"ppc2002", 240, 320, 96, "3.0"},
    };
    return profiles;
}

bool ProfileByName(const std::string &name, DeviceProfile &profile) {
    for (const DeviceProfileChoice &c : DeviceProfiles()) {
        if (name != c.name) continue;
        profile = DeviceProfile{};
        profile.width = c.width;
        profile.height = c.height;
        profile.dpiX = profile.dpiY = c.dpi;
        sscanf(c.osVersion, "%d.%d", &profile.osMajor, &profile.osMinor);
        profile.values["os.version"] = c.osVersion;
        profile.values["device.profile"] = c.name;
        return true;
    }
    return false;
}

namespace {

bool Install(bool withRegistry, std::string &error) {
    std::vector<InstallRow> rows = ReadInstallManifest(&error);
    if (!error.empty()) return false;
    return InstallRows(rows, withRegistry, &error);
}

}  // namespace

bool InstallSoftware(std::string &error) { return Install(true, error); }

bool RefreshSoftware(std::string &error) { return Install(false, error); }

bool InitializeDevice(const fs::path &root, const std::string &profileName, bool empty, std::string &error) {
    DeviceProfile profile;
    if (!ProfileByName(profileName, profile)) {
        error = "unknown profile '" + profileName + "' (known:";
        for (const DeviceProfileChoice &c : DeviceProfiles()) error += std::string(" ") + c.name;
        error += ")";
        return false;
    }
    // The demo set goes only into a new device: on one in use the user may
    // have deleted or changed those documents.
    const bool existed = fs::exists(root / "device.ini");
    if (!Device::Create(root, profile, &error)) return false;
    // Asking for a profile sets it, also on a device made before.
    std::ofstream ini(root / "device.ini", std::ios::trunc);
    ini << FormatProfile(profile);
    if (!ini) {
        error = (root / "device.ini").string() + ": cannot write";
        return false;
    }
    ini.close();
    Device::Select(root);
    if (!InstallSoftware(error)) return false;
    if (!empty && !existed) PutDemoDocuments();
    return true;
}

void SetUpNewDevice() {
    std::string error;
    if (!InstallSoftware(error)) fprintf(stderr, "wince: cannot install into the new device: %s\n", error.c_str());
    PutDemoDocuments();
}

}  // namespace wince
