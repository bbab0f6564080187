// What this build installs on a device, listed at build time in a manifest
// (one row a line, fields separated by tabs, device paths with "/"):
//   link      DEVICE-PATH  HOST-FILE   a "#!wince-link" stub to a built program or library
//   copy      DEVICE-PATH  HOST-FILE   a copy of a file (a help page)
//   registry  HOST-FILE                a .reg file merged into the registry
// Rows whose host file is missing (a program not built) are left out.
#pragma once

#include <string>
#include <vector>

namespace wince {

struct InstallRow {
    std::string kind;
    std::string devicePath;  // with "\", as the device writes it
    std::string hostFile;
};

// The build's manifest (WINCE_INSTALL_MANIFEST in the environment names
// another one); empty when there is none.
std::vector<InstallRow> ReadInstallManifest(std::string *error);

// Carries out the rows on the current device; false with the first failure.
// Without withRegistry only files are written, so that settings the user
// changed since the device was made stay as they are.
bool InstallRows(const std::vector<InstallRow> &rows, bool withRegistry, std::string *error);

}  // namespace wince
