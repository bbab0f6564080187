// Host operations shared by MoveFileW and CopyFileW. Each returns 0 or an
// errno value.
#pragma once

#include <string>

namespace wince {

// Renames without ever replacing what is at `to`, even when another process
// creates it meanwhile.
int RenameNoReplace(const std::string &from, const std::string &to, bool isFolder);

// Copies a file's bytes, permissions and times into a temporary file in
// `folder`, then puts it at `to`: replacing only when `replace`, so that a
// failed copy never leaves half a file behind.
int CopyHostFile(const std::string &from, const std::string &folder, const std::string &to, bool replace);

}  // namespace wince
