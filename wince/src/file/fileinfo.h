// What the device reports about a host file: attributes, size and the three
// times as FILETIME.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string_view>

#include <windows.h>

#include "sharing.h"

namespace wince {

struct HostInfo {
    mode_t mode = 0;
    uint64_t size = 0;
    uint32_t links = 1;  // names the file has
    FileIdentity identity;
    FILETIME created{}, accessed{}, written{};
};

// Follows links. Returns 0 or the errno value.
int QueryPath(const char *path, HostInfo &info);
int QueryFd(int fd, HostInfo &info);
// An entry of an open folder, by name: cheaper than a path when listing.
int QueryAt(int folderFd, const char *name, bool followLinks, HostInfo &info);

// 100-ns ticks since 1601-01-01 UTC; instants before 1601 become 0.
FILETIME FileTimeFromUnix(int64_t seconds, uint32_t nanoseconds);

// Attributes of a host object named `hostName` (its last component).
DWORD AttributesFor(const HostInfo &info, std::string_view hostName);

}  // namespace wince
