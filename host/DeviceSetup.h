// Making a simulated device: its profile, the installed product and a demo
// set of documents.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "device/device.h"

struct DeviceProfileChoice {
    const char *name;
    int width, height, dpi;
    const char *osVersion;
};

const std::vector<DeviceProfileChoice> &DeviceProfiles();
bool ProfileByName(const std::string &name, wince::DeviceProfile &profile);

// Makes the device folder with the profile (when it has none yet), installs
// the product into it and, unless empty, puts the demo documents in
// "\My Documents". Returns false with a message on failure.
bool InitializeDevice(const std::filesystem::path &root, const std::string &profileName, bool empty,
                      std::string &error);

// Registers the Today item and sets "InstallDir"; the device must be the
// current one.
bool InstallProduct(std::string &error);
