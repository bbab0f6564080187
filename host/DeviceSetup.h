// Making a simulated device, for pelloran-sim and the host's tests: the
// platform makes every device the same way.
#pragma once

#include "device/device_setup.h"

using wince::DeviceProfiles;
using wince::InitializeDevice;
using wince::ProfileByName;

// Points the product's files on the current device at this build again.
inline bool RefreshProduct(std::string &error) { return wince::RefreshSoftware(error); }
