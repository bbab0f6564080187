// The module file name of the running program, as the device names it.
#pragma once

#include <string>

#include <windows.h>

namespace wince {

// WINCE_PROGRAM when the layer started a device program, else
// "\Windows\<host executable>" (with ".exe" added when it has no extension).
std::u16string ProcessModuleFileName();

// Copies `name` the way GetModuleFileName does: truncated to nSize - 1
// characters plus the terminator, returning nSize with
// ERROR_INSUFFICIENT_BUFFER when it does not fit.
DWORD CopyModuleFileName(const std::u16string &name, LPWSTR buffer, DWORD nSize);

}  // namespace wince
