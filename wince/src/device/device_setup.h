// Making a simulated device: its profile, the software this build installs
// on every device (install_manifest.h) and a demo set of documents. The
// default device that any program makes on first use is made this way too.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "device.h"

namespace wince {

struct DeviceProfileChoice {
    const char *name;
    int width, height, dpi;
    const char *osVersion;
};

const std::vector<DeviceProfileChoice> &DeviceProfiles();
bool ProfileByName(const std::string &name, DeviceProfile &profile);

// Makes the device folder with the profile (or sets the profile of one that
// exists), installs the software into it and, unless empty or the device
// existed before, puts the demo documents in "\My Documents". Returns false
// with a message on failure.
bool InitializeDevice(const std::filesystem::path &root, const std::string &profileName, bool empty,
                      std::string &error);

// Installs this build's software into the current device, so that its
// links lead to the files of this build.
bool InstallSoftware(std::string &error);

// The same for a device in use: its files lead to this build again, its
// registry (the user's settings, and where a program was put) is left alone.
bool RefreshSoftware(std::string &error);

// What a device made on first use gets besides its folders: the software
// and the demo documents. Called once Device::Current() has the new device.
void SetUpNewDevice();

}  // namespace wince
