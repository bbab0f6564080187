// The sharing modes of the files this process has open: an open that would
// conflict with another handle's access or sharing fails, as on the device.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>

#include <windows.h>

namespace wince {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity &) const = default;
};

FileIdentity IdentityOf(const struct stat &st);

// Records an open with the given access and share mode; returns 0 (and
// records nothing) when it conflicts with a handle already open.
uint64_t RegisterOpen(FileIdentity file, DWORD access, DWORD shareMode);
void UnregisterOpen(uint64_t token);

// Whether an open with this access and share mode would be allowed now.
bool CanOpen(FileIdentity file, DWORD access, DWORD shareMode);

// Deleting or renaming needs every open handle to share delete access.
bool CanDelete(FileIdentity file);

}  // namespace wince
