// What other areas of the platform ask of the module list.
#pragma once

#include <string>

#include <windows.h>

namespace wince {

// The device path a loaded module came from; false for an unknown handle.
// NULL and the program's own handle are not answered here.
bool LoadedModuleFileName(HMODULE module, std::u16string &path);

// Keeps C++ exceptions (allocation failures) from crossing the platform boundary.
template <typename Result, typename Body>
Result ModuleGuard(Result failure, Body &&body) noexcept {
    try {
        return body();
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return failure;
}

}  // namespace wince
