#include "DeviceSetup.h"

#include <windows.h>

#include <fstream>

#include "core/unicode.h"
#include <cstdio>

namespace fs = std::filesystem;

namespace {

constexpr char16_t kInstallDir[] = u"\\Program Files\\Pelloran";

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

bool WriteStub(const fs::path &deviceFile, const std::string &hostTarget, std::string &error) {
    std::error_code ec;
    fs::create_directories(deviceFile.parent_path(), ec);
    std::ofstream out(deviceFile, std::ios::binary | std::ios::trunc);
    out << "#!wince-link " << hostTarget << "\n";
    if (!out) {
        error = deviceFile.string() + ": cannot write";
        return false;
    }
    return true;
}

bool SetString(HKEY key, LPCWSTR name, const std::u16string &value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR))) == ERROR_SUCCESS;
}

bool SetDword(HKEY key, LPCWSTR name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value) ==
           ERROR_SUCCESS;
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

bool ProfileByName(const std::string &name, wince::DeviceProfile &profile) {
    for (const DeviceProfileChoice &c : DeviceProfiles()) {
        if (name != c.name) continue;
        profile = wince::DeviceProfile{};
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

bool InstallProduct(std::string &error) {
    const fs::path fsRoot = wince::Device::Current().FileSystemRoot();
    if (!WriteStub(fsRoot / "Program Files" / "Pelloran" / "Pelloran.dll", PELLORAN_PLUGIN_PATH, error)) return false;
    if (fs::exists(PELLORAN_OPTIONS_PATH) &&
        !WriteStub(fsRoot / "Program Files" / "Pelloran" / "PelloranOptions.exe", PELLORAN_OPTIONS_PATH, error))
        return false;
    HKEY item, settings;
    DWORD disposition;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Pelloran", 0, nullptr, 0, 0, nullptr,
                        &item, &disposition) != ERROR_SUCCESS) {
        error = "cannot write the registry";
        return false;
    }
    bool ok = SetString(item, u"DLL", std::u16string(kInstallDir) + u"\\Pelloran.dll") &&
              SetDword(item, u"Type", 4) && SetDword(item, u"Enabled", 1) && SetDword(item, u"Options", 1) &&
              SetDword(item, u"Order", 10);
    RegCloseKey(item);
    if (ok && RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Varnhold\\Pelloran", 0, nullptr, 0, 0, nullptr,
                              &settings, &disposition) == ERROR_SUCCESS) {
        ok = SetString(settings, u"InstallDir", kInstallDir);
        RegCloseKey(settings);
    }
    if (!ok) error = "cannot write the registry";
    return ok;
}

bool InitializeDevice(const fs::path &root, const std::string &profileName, bool empty, std::string &error) {
    wince::DeviceProfile profile;
    if (!ProfileByName(profileName, profile)) {
        error = "unknown profile '" + profileName + "' (known:";
        for (const DeviceProfileChoice &c : DeviceProfiles()) error += std::string(" ") + c.name;
        error += ")";
        return false;
    }
    if (!wince::Device::Create(root, profile, &error)) return false;
    // Asking for a profile sets it, also on a device made before.
    std::ofstream ini(root / "device.ini", std::ios::trunc);
    ini << wince::FormatProfile(profile);
    if (!ini) {
        error = (root / "device.ini").string() + ": cannot write";
        return false;
    }
    ini.close();
    wince::Device::Select(root);
    if (!InstallProduct(error)) return false;
    if (empty) return true;
    fs::path documents = wince::Device::Current().FileSystemRoot() / "My Documents";
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
    return true;
}
