#include "modulename.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "../core/unicode.h"
#include "../module/modules.h"
#include "errors.h"

namespace wince {

std::u16string ProcessModuleFileName() {
    if (const char *program = getenv("WINCE_PROGRAM"); program && *program) return FromUtf8(program);
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
    std::string exe = n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string("program");
    std::string name = exe.substr(exe.rfind('/') + 1);
    if (name.find('.') == std::string::npos) name += ".exe";
    return u"\\Windows\\" + FromHostBytes(name);
}

DWORD CopyModuleFileName(const std::u16string &name, LPWSTR buffer, DWORD nSize) {
    if (nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (name.size() < nSize) {
        std::copy(name.begin(), name.end(), buffer);
        buffer[name.size()] = 0;
        return static_cast<DWORD>(name.size());
    }
    std::copy(name.begin(), name.begin() + (nSize - 1), buffer);
    buffer[nSize - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
}

}  // namespace wince

using namespace wince;

DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    return Guarded<DWORD>(0, [&]() -> DWORD {
        if (!lpFilename) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        // Loaded libraries are the module loader's.
        if (hModule && hModule != GetModuleHandleW(nullptr)) {
            std::u16string path;
            if (!LoadedModuleFileName(hModule, path)) {
                SetLastError(ERROR_MOD_NOT_FOUND);
                return 0;
            }
            return CopyModuleFileName(path, lpFilename, nSize);
        }
        return CopyModuleFileName(ProcessModuleFileName(), lpFilename, nSize);
    });
}
