#include "registry.h"

#include <dlfcn.h>
#include <link.h>

#include "../core/unicode.h"
#include "../file/modulename.h"

namespace wince::module {
namespace {

constexpr uintptr_t kProcessHandle = 0x00010000;
constexpr uintptr_t kHandleStep = 0x00010000;  // spaced like module bases; never a resource id

struct Registry {
    std::map<uintptr_t, std::shared_ptr<Module>> modules;
    uintptr_t next = kProcessHandle + kHandleStep;
};

Registry &TheRegistry() {
    static Registry *registry = new Registry;  // outlives the static destructors of loaded modules
    return *registry;
}

std::u16string LeafOf(const std::u16string &path) {
    size_t slash = path.find_last_of(u'\\');
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::recursive_mutex &LoaderLock() {
    static auto *lock = new std::recursive_mutex;
    return *lock;
}

void *OwnSymbol(void *library, const char *name) {
    void *symbol = dlsym(library, name);
    if (!symbol) return nullptr;
    link_map *own = nullptr, *found = nullptr;
    Dl_info info;
    if (dlinfo(library, RTLD_DI_LINKMAP, &own) != 0 ||
        !dladdr1(symbol, &info, reinterpret_cast<void **>(&found), RTLD_DL_LINKMAP))
        return nullptr;
    return own == found ? symbol : nullptr;
}

const WinceResourceDirectory *ResourcesOf(void *library) {
    auto get = reinterpret_cast<WinceResourceDirectoryFunction>(OwnSymbol(library, WINCE_RESOURCE_DIRECTORY_SYMBOL));
    return get ? get() : nullptr;
}

const WinceExportTable *ExportsOf(void *library) {
    auto get = reinterpret_cast<WinceExportTableFunction>(OwnSymbol(library, WINCE_EXPORT_TABLE_SYMBOL));
    return get ? get() : nullptr;
}

std::shared_ptr<Module> ProcessModule() {
    std::lock_guard<std::recursive_mutex> guard(LoaderLock());
    Registry &r = TheRegistry();
    auto it = r.modules.find(kProcessHandle);
    if (it != r.modules.end()) return it->second;
    auto m = std::make_shared<Module>();
    m->handle = reinterpret_cast<HMODULE>(kProcessHandle);
    m->isProcess = true;
    m->loadCount = 1;
    m->library = dlopen(nullptr, RTLD_NOW);
    if (m->library) {
        m->resources = ResourcesOf(m->library);
        m->exports = ExportsOf(m->library);
    }
    r.modules.emplace(kProcessHandle, m);
    return m;
}

std::shared_ptr<Module> FindModule(HMODULE handle) {
    if (!handle) return ProcessModule();
    if (reinterpret_cast<uintptr_t>(handle) == kProcessHandle) return ProcessModule();
    std::lock_guard<std::recursive_mutex> guard(LoaderLock());
    Registry &r = TheRegistry();
    auto it = r.modules.find(reinterpret_cast<uintptr_t>(handle));
    return it == r.modules.end() ? nullptr : it->second;
}

std::shared_ptr<Module> FindLoadedByHostPath(const std::string &hostPath) {
    std::lock_guard<std::recursive_mutex> guard(LoaderLock());
    for (auto &[value, m] : TheRegistry().modules)
        if (!m->isProcess && m->hostPath == hostPath) return m;
    return nullptr;
}

std::shared_ptr<Module> FindLoadedByName(const std::u16string &name) {
    std::lock_guard<std::recursive_mutex> guard(LoaderLock());
    bool isPath = name.find(u'\\') != std::u16string::npos;
    std::u16string wanted = name;
    // A name without an extension means a library, as LoadLibrary reads it.
    if (!isPath && LeafOf(wanted).find(u'.') == std::u16string::npos) wanted += u".dll";
    for (auto &[value, m] : TheRegistry().modules) {
        if (m->isProcess) continue;
        if (EqualsIgnoreCase(isPath ? m->devicePath : LeafOf(m->devicePath), wanted)) return m;
    }
    std::u16string program = ProcessModuleFileName();
    if (EqualsIgnoreCase(isPath ? program : LeafOf(program), wanted)) return ProcessModule();
    return nullptr;
}

std::shared_ptr<Module> AddModule(Module record) {
    std::lock_guard<std::recursive_mutex> guard(LoaderLock());
    Registry &r = TheRegistry();
    auto m = std::make_shared<Module>(std::move(record));
    m->handle = reinterpret_cast<HMODULE>(r.next);
    r.next += kHandleStep;
    r.modules.emplace(reinterpret_cast<uintptr_t>(m->handle), m);
    return m;
}

void RemoveModule(HMODULE handle) {
    std::lock_guard<std::recursive_mutex> guard(LoaderLock());
    TheRegistry().modules.erase(reinterpret_cast<uintptr_t>(handle));
}

}  // namespace wince::module
