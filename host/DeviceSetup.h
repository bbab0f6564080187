// Making a simulated device, for pelloran-sim and the host's tests: the
// platform makes every device the same way.
#pragma once

#include "device/device_setup.h"

using wince::DeviceProfiles;
using wince::InitializeDevice;
using wince::ProfileByName;

// Installs the product into the current device.
inline bool InstallProduct(std::string &error) { return wince::InstallSoftware(error); }
