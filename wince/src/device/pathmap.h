// Device paths ("\My Documents\a.txt") to host paths under the device's fs/
// folder and back. The mapping never leads outside fs/ (no "..", and no
// symbolic link whose target lies outside), ignores case the way the
// device's file system does, and converts names without loss.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace wince {

struct HostPath {
    std::string path;    // the object's host path (the host's spelling when it exists)
    std::string folder;  // the host folder that holds it
    std::string leaf;    // the last component as asked for, in host bytes
    bool exists = false;
    bool isRoot = false;
    bool isLink = false;             // the leaf itself is a symbolic link (inside fs/)
    bool trailingSeparator = false;  // the device path ended in "\"
};

// An existing object: ERROR_FILE_NOT_FOUND when the leaf is missing,
// ERROR_PATH_NOT_FOUND when a folder on the way is.
DWORD MapExistingPath(const WCHAR *devicePath, HostPath &out);

// An object that may be created: its folder must exist; the leaf is matched
// ignoring case when it exists (out.exists), else out.path spells it as asked.
DWORD MapNewPath(const WCHAR *devicePath, HostPath &out);

// A FindFirstFile argument: the existing folder and the last component,
// which may hold wildcards and is not checked for reserved characters.
DWORD MapFindPath(const WCHAR *devicePath, std::string &hostFolder, std::u16string &pattern);
// The same, with the folder's stat taken on the way.
DWORD MapFindPath(const WCHAR *devicePath, std::string &hostFolder, std::u16string &pattern, struct stat &folderStat);

// A host path under fs/ back to its device path; false when it is not under fs/.
bool HostToDevicePath(const std::string &hostPath, std::u16string &devicePath);

// Whether a host path under fs/ resolves to an object inside fs/ (false for
// a link that leads outside, a dangling link or a link cycle).
bool StaysOnDevice(const std::string &hostPath);

// Whether a link in hostFolder (a folder under fs/) leads to that folder or
// to one that contains it or any folder on the way to it from the root:
// following such a link would list the same documents without end.
bool LeadsBackUp(const std::string &hostFolder, const std::string &linkPath);

// The name rules of a single component being created or opened.
DWORD CheckComponentName(std::u16string_view name);

}  // namespace wince
