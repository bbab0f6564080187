// LoadLibraryW, FreeLibrary, GetProcAddressW, GetModuleHandleW: libraries are
// ELF shared objects on the device's file system (or one-line stubs naming
// one on the host), loaded with the host's loader, then initialised through
// their DllMain as the device does.
#include <dlfcn.h>
#include <stdlib.h>

#include <climits>
#include <cstring>
#include <fstream>

#include "../core/debug.h"
#include "../core/unicode.h"
#include "../device/pathmap.h"
#include "../file/modulename.h"
#include "modules.h"
#include "registry.h"
#include "../device/device.h"

namespace wince {
namespace {

using module::Module;

typedef BOOL (*DllEntry)(HANDLE, DWORD, LPVOID);
constexpr char kStubPrefix[] = "#!wince-link ";

// The device file of a library: a path as given, or a bare file name looked
// for next to the program, then in \Windows.
DWORD LocateLibrary(const std::u16string &name, std::u16string &devicePath, HostPath &host) {
    if (name.find(u'\\') != std::u16string::npos) {
        devicePath = name;
        return MapExistingPath(name.c_str(), host) == ERROR_SUCCESS ? ERROR_SUCCESS : ERROR_MOD_NOT_FOUND;
    }
    std::u16string file = name;
    if (file.find(u'.') == std::u16string::npos) file += u".dll";
    std::u16string program = ProcessModuleFileName();
    std::u16string folders[] = {program.substr(0, program.find_last_of(u'\\') + 1), u"\\Windows\\"};
    for (const auto &folder : folders) {
        if (folder.empty()) continue;
        devicePath = folder + file;
        if (MapExistingPath(devicePath.c_str(), host) == ERROR_SUCCESS) return ERROR_SUCCESS;
    }
    return ERROR_MOD_NOT_FOUND;
}

// The shared object behind a device file: the file itself when it is one,
// the host file a stub names otherwise.
DWORD SharedObjectOf(const HostPath &host, std::string &object) {
    std::ifstream in(host.path, std::ios::binary);
    char head[sizeof kStubPrefix - 1] = {};
    if (!in || !in.read(head, sizeof head)) return ERROR_BAD_EXE_FORMAT;
    std::string target;
    if (memcmp(head, "\x7f" "ELF", 4) == 0) {
        target = host.path;
    } else if (memcmp(head, kStubPrefix, sizeof head) == 0) {
        std::getline(in, target);
        while (!target.empty() && strchr(" \t\r", target.back())) target.pop_back();
        if (target.empty() || target[0] != '/') return ERROR_BAD_EXE_FORMAT;
    } else {
        return ERROR_BAD_EXE_FORMAT;
    }
    char resolved[PATH_MAX];
    if (!realpath(target.c_str(), resolved)) return ERROR_MOD_NOT_FOUND;
    object = resolved;
    return ERROR_SUCCESS;
}

// The device's own libraries are this platform layer itself: a program may
// load them by name and look their functions up.
const char16_t *const kSystemLibraries[] = {u"coredll", u"aygshell", u"commctrl", u"ceshell", u"commdlg"};

bool SystemLibraryName(const std::u16string &name, std::u16string &canonical) {
    std::u16string base = name;
    size_t slash = base.find_last_of(u'\\');
    if (slash != std::u16string::npos) {
        if (!EqualsIgnoreCase(base.substr(0, slash), u"\\Windows")) return false;
        base = base.substr(slash + 1);
    }
    if (base.size() > 4 && EqualsIgnoreCase(base.substr(base.size() - 4), u".dll")) base.resize(base.size() - 4);
    for (const char16_t *system : kSystemLibraries) {
        if (EqualsIgnoreCase(base, system)) {
            canonical = std::u16string(u"\\Windows\\") + system + u".dll";
            return true;
        }
    }
    return false;
}

HINSTANCE LoadSystemLibrary(const std::u16string &devicePath) {
    Dl_info self{};
    if (!dladdr(reinterpret_cast<void *>(&LoadLibraryW), &self) || !self.dli_fname) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void *library = dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    if (!library) library = dlopen(self.dli_fname, RTLD_NOW);
    Module record;
    record.library = library;
    record.devicePath = devicePath;
    record.hostPath = self.dli_fname;
    record.loadCount = 1;
    record.isSystem = true;
    return module::AddModule(std::move(record))->handle;
}

// SHGetUIMetrics came with the newer shells: present from OS 5.0 unless the
// device profile says otherwise ([shell] ui_metrics).
bool HiddenByDevice(const Module &m, LPCWSTR name) {
    if (IS_INTRESOURCE(name) || !m.isSystem || ToUtf8(name) != "SHGetUIMetrics") return false;
    const DeviceProfile &p = Device::Current().Profile();
    return p.GetInt("shell.ui_metrics", p.osMajor >= 5 ? 1 : 0) == 0;
}

DllEntry EntryOf(const Module &m) { return reinterpret_cast<DllEntry>(module::OwnSymbol(m.library, "DllMain")); }

HINSTANCE Load(const std::u16string &name) {
    std::lock_guard<std::recursive_mutex> guard(module::LoaderLock());
    if (name.find(u'\\') == std::u16string::npos) {
        // A bare name of a module already loaded is that module, wherever it came from.
        if (auto loaded = module::FindLoadedByName(name); loaded && !loaded->isProcess) {
            ++loaded->loadCount;
            return loaded->handle;
        }
    }
    std::u16string devicePath;
    if (SystemLibraryName(name, devicePath)) {
        if (auto loaded = module::FindLoadedByName(devicePath)) {
            ++loaded->loadCount;
            return loaded->handle;
        }
        return LoadSystemLibrary(devicePath);
    }
    HostPath host;
    std::string object;
    DWORD error = LocateLibrary(name, devicePath, host);
    if (error == ERROR_SUCCESS) error = SharedObjectOf(host, object);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return nullptr;
    }
    if (auto loaded = module::FindLoadedByHostPath(object)) {
        ++loaded->loadCount;
        return loaded->handle;
    }
    // Static constructors run here, before DllMain, as on the device.
    void *library = dlopen(object.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char *why = dlerror();
        WINCE_DEBUG("module", "dlopen %s: %s", object.c_str(), why ? why : "?");
        // A library it needs is missing: the module cannot be found as a whole.
        bool missing = why && strstr(why, "cannot open shared object file") && !strstr(why, object.c_str());
        SetLastError(missing ? ERROR_MOD_NOT_FOUND : ERROR_BAD_EXE_FORMAT);
        return nullptr;
    }
    Module record;
    record.library = library;
    record.devicePath = devicePath;
    record.hostPath = object;
    record.loadCount = 1;
    record.resources = module::ResourcesOf(library);
    record.exports = module::ExportsOf(library);
    std::shared_ptr<Module> m = module::AddModule(std::move(record));
    WINCE_DEBUG("module", "loaded %s as %p", object.c_str(), static_cast<void *>(m->handle));
    if (DllEntry entry = EntryOf(*m); entry && !entry(m->handle, DLL_PROCESS_ATTACH, nullptr)) {
        // A refused attach is answered with a detach, then the library goes.
        entry(m->handle, DLL_PROCESS_DETACH, nullptr);
        module::RemoveModule(m->handle);
        dlclose(library);
        SetLastError(ERROR_DLL_INIT_FAILED);
        return nullptr;
    }
    return m->handle;
}

BOOL Free(HMODULE handle) {
    std::lock_guard<std::recursive_mutex> guard(module::LoaderLock());
    std::shared_ptr<Module> m = handle ? module::FindModule(handle) : nullptr;
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (m->isProcess || --m->loadCount > 0) return TRUE;
    if (m->isSystem) {
        module::RemoveModule(m->handle);
        return TRUE;  // the platform itself stays
    }
    if (DllEntry entry = EntryOf(*m)) entry(m->handle, DLL_PROCESS_DETACH, nullptr);
    for (auto &[name, icon] : m->sharedIcons) DestroyIcon(icon);
    m->sharedIcons.clear();
    module::RemoveModule(m->handle);
    // Static destructors run here, after DLL_PROCESS_DETACH.
    dlclose(m->library);
    m->library = nullptr;
    return TRUE;
}

const WinceExport *FindExport(const Module &m, LPCWSTR name) {
    if (!m.exports) return nullptr;
    for (unsigned i = 0; i < m.exports->count; ++i) {
        const WinceExport &e = m.exports->exports[i];
        if (IS_INTRESOURCE(name) ? e.ordinal == LOWORD(reinterpret_cast<uintptr_t>(name))
                                 : !e.noName && ToUtf8(name) == e.name)
            return &e;
    }
    return nullptr;
}

FARPROC ProcAddress(HMODULE handle, LPCWSTR name) {
    std::lock_guard<std::recursive_mutex> guard(module::LoaderLock());
    std::shared_ptr<Module> m = handle ? module::FindModule(handle) : nullptr;
    if (!m || !m->library) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    void *symbol = nullptr;
    if (!name || (!IS_INTRESOURCE(name) && !*name) || HiddenByDevice(*m, name)) {
        symbol = nullptr;
    } else if (const WinceExport *e = FindExport(*m, name)) {
        symbol = module::OwnSymbol(m->library, e->symbol);
    } else if (!m->exports && !IS_INTRESOURCE(name)) {
        // Without a .def every public symbol of the module is an export.
        symbol = module::OwnSymbol(m->library, ToUtf8(name).c_str());
    }
    if (!symbol) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

}  // namespace

bool LoadedModuleFileName(HMODULE handle, std::u16string &path) {
    std::shared_ptr<module::Module> m = handle ? module::FindModule(handle) : nullptr;
    if (!m || m->isProcess) return false;
    path = m->devicePath;
    return true;
}

}  // namespace wince

using namespace wince;

HINSTANCE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
    return ModuleGuard<HINSTANCE>(nullptr, [&]() -> HINSTANCE {
        if (!lpLibFileName || !*lpLibFileName) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        return Load(lpLibFileName);
    });
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
    return ModuleGuard<BOOL>(FALSE, [&] { return Free(hLibModule); });
}

FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName) {
    return ModuleGuard<FARPROC>(nullptr, [&] { return ProcAddress(hModule, lpProcName); });
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
    return ModuleGuard<HMODULE>(nullptr, [&]() -> HMODULE {
        if (!lpModuleName) return module::ProcessModule()->handle;
        if (auto m = module::FindLoadedByName(lpModuleName)) return m->handle;
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    });
}

BOOL WINAPI DisableThreadLibraryCalls(HMODULE hLibModule) {
    // Threads never call into DllMain here, so there is nothing to switch off.
    if (!hLibModule || !module::FindModule(hLibModule)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
