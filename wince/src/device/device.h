// The simulated device: a folder on the host holding the device's file
// system (fs/), its registry (registry.reg) and its profile (device.ini).
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace wince {

struct DeviceProfile {
    int width = 240;
    int height = 320;
    int dpiX = 96;
    int dpiY = 96;
    int osMajor = 5;
    int osMinor = 1;
    std::string platform = "PocketPC";
    std::string fontMode = "real";  // "real" or "fixed"
    // Every key of device.ini as "section.key", for the areas that read
    // their own settings.
    std::map<std::string, std::string> values;

    std::string Get(const std::string &sectionKey, const std::string &fallback = "") const;
    int GetInt(const std::string &sectionKey, int fallback) const;
};

class Device {
   public:
    // The device of this process: WINCE_DEVICE, else the default device in
    // the user's data folder. Made on first use when the folder is missing.
    static Device &Current();
    // Switches the process to another device folder (tools' --device, tests).
    static void Select(const std::filesystem::path &root);
    static std::filesystem::path DefaultRoot();

    // Makes the folders and a device.ini of the given profile when missing;
    // never touches what is already there.
    static bool Create(const std::filesystem::path &root, const DeviceProfile &profile, std::string *error);

    const std::filesystem::path &Root() const { return root_; }
    std::filesystem::path FileSystemRoot() const { return root_ / "fs"; }
    std::filesystem::path RegistryFile() const { return root_ / "registry.reg"; }
    std::filesystem::path ProfileFile() const { return root_ / "device.ini"; }
    const DeviceProfile &Profile() const { return profile_; }

    // The screen's current size: the profile's until a rotation turns it.
    // Only this process sees the change (and the programs it starts later,
    // through WINCE_SCREEN); device.ini keeps the size the device was made with.
    bool SetScreenSize(int width, int height);

    // Increases whenever the process changes device, so caches keyed on the
    // device can tell.
    static unsigned Generation();

   private:
    explicit Device(std::filesystem::path root);
    std::filesystem::path root_;
    DeviceProfile profile_;
};

DeviceProfile ReadProfile(const std::filesystem::path &iniFile);
std::string FormatProfile(const DeviceProfile &profile);

}  // namespace wince
