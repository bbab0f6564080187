// Writing a device profile for a test device.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "device/device.h"

namespace testing_support {

// Rewrites the device's profile and selects the device again so that the
// platform reads it.
inline void WriteProfile(const std::filesystem::path &root, const std::string &ini) {
    std::ofstream(root / "device.ini", std::ios::trunc) << ini;
    wince::Device::Select(root);
}

}  // namespace testing_support
