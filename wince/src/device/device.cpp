#include "device.h"

#include <ini.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>

#include "../core/debug.h"
#include "device_setup.h"
#include "profile_check.h"

namespace fs = std::filesystem;

namespace wince {
namespace {

std::mutex deviceLock;
std::unique_ptr<Device> current;
// Read far more often than changed (fonts and metrics ask it per call).
std::atomic<unsigned> generation{1};

constexpr int kLargestScreen = 8192;

bool ValidScreenSize(int width, int height) {
    return width > 0 && height > 0 && width <= kLargestScreen && height <= kLargestScreen;
}

// A program started by a process whose screen was turned starts turned too.
void ApplyInheritedScreenSize(Device &device) {
    const char *size = getenv("WINCE_SCREEN");
    if (!size || !*size) return;
    int width = 0, height = 0;
    char extra = 0;
    if (sscanf(size, "%dx%d%c", &width, &height, &extra) != 2 || !ValidScreenSize(width, height)) return;
    // Only a turn of this device's own screen is taken over.
    const DeviceProfile &p = device.Profile();
    if ((width == p.width && height == p.height) || (width == p.height && height == p.width))
        device.SetScreenSize(width, height);
}

}  // namespace

std::string DeviceProfile::Get(const std::string &sectionKey, const std::string &fallback) const {
    auto it = values.find(sectionKey);
    return it == values.end() ? fallback : it->second;
}

int DeviceProfile::GetInt(const std::string &sectionKey, int fallback) const {
    auto it = values.find(sectionKey);
    if (it == values.end()) return fallback;
    char *end = nullptr;
    long v = strtol(it->second.c_str(), &end, 10);
    return (end && *end == 0 && !it->second.empty()) ? static_cast<int>(v) : fallback;
}

namespace {

// inih reads one line per call, so counting calls gives each key's line.
struct ProfileReader {
    FILE *file = nullptr;
    int line = 0;
    bool lineEnded = true;
    DeviceProfile *profile = nullptr;
    std::map<std::string, int> lines;
};

}  // namespace

DeviceProfile ReadProfile(const fs::path &iniFile) {
    DeviceProfile p;
    ProfileReader reader{fopen(iniFile.c_str(), "r"), 0, true, &p, {}};
    if (!reader.file) return p;  // no file: the default profile
    int error = ini_parse_stream(
        [](char *str, int num, void *stream) -> char * {
            auto *r = static_cast<ProfileReader *>(stream);
            char *got = fgets(str, num, r->file);
            if (got && r->lineEnded) ++r->line;
            if (got) r->lineEnded = strchr(got, '\n') != nullptr;  // a long line comes in pieces
            return got;
        },
        &reader,
        [](void *user, const char *section, const char *key, const char *value) -> int {
            auto *r = static_cast<ProfileReader *>(user);
            std::string name = std::string(section) + "." + key;
            r->profile->values[name] = value;
            r->lines[name] = r->line;
            return 1;
        },
        &reader);
    fclose(reader.file);
    if (error > 0)
        fprintf(stderr, "wince: %s: line %d is not understood; the rest is used\n", iniFile.c_str(), error);
    CheckProfile(p, iniFile, reader.lines);
    p.width = p.GetInt("screen.width", p.width);
    p.height = p.GetInt("screen.height", p.height);
    p.dpiX = p.GetInt("screen.dpi_x", p.dpiX);
    p.dpiY = p.GetInt("screen.dpi_y", p.dpiY);
    std::string version = p.Get("os.version", "5.1");
    int major = 0, minor = 0;
    if (sscanf(version.c_str(), "%d.%d", &major, &minor) >= 1) p.osMajor = major, p.osMinor = minor;
    p.platform = p.Get("os.platform", p.platform);
    p.fontMode = p.Get("font.mode", p.fontMode);
    // Keep the normalised values visible through Get as well.
    p.values["screen.width"] = std::to_string(p.width);
    p.values["screen.height"] = std::to_string(p.height);
    p.values["screen.dpi_x"] = std::to_string(p.dpiX);
    p.values["screen.dpi_y"] = std::to_string(p.dpiY);
    p.values["os.platform"] = p.platform;
    p.values["font.mode"] = p.fontMode;
    if (!p.values.count("os.version")) p.values["os.version"] = version;
    return p;
}

std::string FormatProfile(const DeviceProfile &profile) {
    DeviceProfile p = profile;
    p.values["screen.width"] = std::to_string(p.width);
    p.values["screen.height"] = std::to_string(p.height);
    p.values["screen.dpi_x"] = std::to_string(p.dpiX);
    p.values["screen.dpi_y"] = std::to_string(p.dpiY);
    if (!p.values.count("os.version")) p.values["os.version"] = std::to_string(p.osMajor) + "." + std::to_string(p.osMinor);
    p.values["os.platform"] = p.platform;
    p.values["font.mode"] = p.fontMode;
    std::string out = "; Simulated Windows CE device\n";
    std::string section;
    for (const auto &[key, value] : p.values) {
        std::string s = key.substr(0, key.find('.'));
        if (s != section) {
            out += (section.empty() ? "" : "\n") + std::string("[") + s + "]\n";
            section = s;
        }
        out += key.substr(key.find('.') + 1) + " = " + value + "\n";
    }
    return out;
}

Device::Device(fs::path root) : root_(std::move(root)), profile_(ReadProfile(root_ / "device.ini")) {}

fs::path Device::DefaultRoot() {
    if (const char *data = getenv("XDG_DATA_HOME"); data && *data) return fs::path(data) / "pelloran" / "device";
    const char *home = getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / ".local" / "share" / "pelloran" / "device";
}

bool Device::Create(const fs::path &root, const DeviceProfile &profile, std::string *error) {
    std::error_code ec;
    for (const char *folder : {"fs/My Documents", "fs/Windows", "fs/Program Files", "fs/Temp"}) {
        fs::create_directories(root / folder, ec);
        if (ec) {
            if (error) *error = (root / folder).string() + ": " + ec.message();
            return false;
        }
    }
    fs::path ini = root / "device.ini";
    if (!fs::exists(ini)) {
        std::ofstream out(ini);
        out << FormatProfile(profile);
        if (!out) {
            if (error) *error = ini.string() + ": cannot write";
            return false;
        }
    }
    return true;
}

Device &Device::Current() {
    bool made = false;
    {
        std::lock_guard<std::mutex> guard(deviceLock);
        if (current) return *current;
        const char *env = getenv("WINCE_DEVICE");
        fs::path root = env && *env ? fs::path(env) : DefaultRoot();
        if (!fs::exists(root / "fs")) {
            std::string error;
            DeviceProfile profile;
            ProfileByName("qvga", profile);
            made = Create(root, profile, &error);
            if (!made) fprintf(stderr, "wince: cannot make the device: %s\n", error.c_str());
        }
        WINCE_DEBUG("device", "device %s", root.c_str());
        current.reset(new Device(fs::absolute(root)));
        ApplyInheritedScreenSize(*current);
    }
    // Whichever program makes the device, it is made as `pelloran-sim init`
    // makes it; the setup uses the registry, which asks for the device again.
    if (made) SetUpNewDevice();
    return *current;
}

bool Device::SetScreenSize(int width, int height) {
    if (!ValidScreenSize(width, height)) return false;
    profile_.width = width;
    profile_.height = height;
    profile_.values["screen.width"] = std::to_string(width);
    profile_.values["screen.height"] = std::to_string(height);
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    setenv("WINCE_SCREEN", size.c_str(), 1);
    return true;
}

void Device::Select(const fs::path &root) {
    std::lock_guard<std::mutex> guard(deviceLock);
    if (!fs::exists(root / "fs")) Create(root, DeviceProfile{}, nullptr);
    current.reset(new Device(fs::absolute(root)));
    unsetenv("WINCE_SCREEN");  // a turn of the previous device's screen is not this one's
    ++generation;
}

unsigned Device::Generation() { return generation.load(std::memory_order_acquire); }

}  // namespace wince
