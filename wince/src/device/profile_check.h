// Checks device.ini's values as the device is read: a value the layer cannot
// honour is reported (file, line, what is allowed) and the default used, so a
// mistyped profile never reaches the screen, the fonts or the clock.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "device.h"

namespace wince {

// `lines` gives the line of each "section.key" in the file. Values out of
// range are removed from profile.values (their readers fall back to their
// defaults) and the typed fields keep the defaults they came with.
void CheckProfile(DeviceProfile &profile, const std::filesystem::path &iniFile, const std::map<std::string, int> &lines);

}  // namespace wince
