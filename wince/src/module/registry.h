// The process's module list: the program itself and every library loaded
// with LoadLibrary. An HMODULE is a record's own number, never a pointer
// from the host's loader, so a stale handle is recognised.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include <windows.h>

#include "resource_directory.h"

namespace wince::module {

struct Module {
    HMODULE handle = nullptr;
    void *library = nullptr;     // the host loader's handle
    std::u16string devicePath;   // the path it was loaded from
    std::string hostPath;        // the shared object itself
    int loadCount = 0;
    bool isProcess = false;
    bool isSystem = false;  // a library of the device: this platform layer
    const WinceResourceDirectory *resources = nullptr;
    const WinceExportTable *exports = nullptr;
    std::map<std::u16string, HICON> sharedIcons;  // LoadIcon hands out one icon per name
};

// Held while modules are loaded, initialised and unloaded. Recursive,
// because DllMain and static constructors may load further libraries.
std::recursive_mutex &LoaderLock();

// NULL stands for the program. Null result for an unknown handle.
std::shared_ptr<Module> FindModule(HMODULE handle);
std::shared_ptr<Module> ProcessModule();
std::shared_ptr<Module> FindLoadedByHostPath(const std::string &hostPath);
std::shared_ptr<Module> FindLoadedByName(const std::u16string &name);  // file name or device path
std::shared_ptr<Module> AddModule(Module record);
void RemoveModule(HMODULE handle);

// A symbol the library itself defines (not one of the libraries it uses).
void *OwnSymbol(void *library, const char *name);

// The generated tables of a library or program, when it has them.
const WinceResourceDirectory *ResourcesOf(void *library);
const WinceExportTable *ExportsOf(void *library);

}  // namespace wince::module
