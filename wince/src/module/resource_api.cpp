// FindResourceW and friends over a module's generated resource directory.
// An HRSRC is the directory entry, an HGLOBAL its read-only data, as the
// device hands out resources mapped from the image.
#include "../core/unicode.h"
#include "modules.h"
#include "registry.h"
#include "resources.h"

namespace wince {
namespace {

// "#123" names the id 123, as on the device.
bool Matches(unsigned short id, const char16_t *text, LPCWSTR wanted) {
    if (IS_INTRESOURCE(wanted)) return !text && id == LOWORD(reinterpret_cast<uintptr_t>(wanted));
    if (wanted[0] == u'#' && wanted[1]) {
        unsigned value = 0;
        for (const char16_t *p = wanted + 1; *p; ++p) {
            if (*p < u'0' || *p > u'9' || value > 0xFFFF) return false;
            value = value * 10 + (*p - u'0');
        }
        return !text && value == id;
    }
    return text && EqualsIgnoreCase(text, wanted);
}

const WinceResourceEntry *Find(const module::Module &m, LPCWSTR name, LPCWSTR type, DWORD &error) {
    if (!m.resources || m.resources->count == 0) {
        error = ERROR_RESOURCE_DATA_NOT_FOUND;
        return nullptr;
    }
    const WinceResourceEntry *found = nullptr;
    bool typeSeen = false;
    for (unsigned i = 0; i < m.resources->count; ++i) {
        const WinceResourceEntry &e = m.resources->entries[i];
        if (!Matches(e.typeId, e.typeName, type)) continue;
        typeSeen = true;
        if (!Matches(e.nameId, e.name, name)) continue;
        if (!found || (e.language == 0 && found->language != 0)) found = &e;  // neutral first
    }
    error = found ? ERROR_SUCCESS : typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND;
    return found;
}

// The entry an HRSRC stands for, when it is one of this module's.
const WinceResourceEntry *EntryOf(const module::Module &m, HRSRC handle) {
    if (!m.resources || !handle) return nullptr;
    auto *e = reinterpret_cast<const WinceResourceEntry *>(handle);
    const WinceResourceEntry *first = m.resources->entries, *end = first + m.resources->count;
    for (const WinceResourceEntry *p = first; p < end; ++p)
        if (p == e) return e;
    return nullptr;
}

HRSRC FindIn(HMODULE module, LPCWSTR name, LPCWSTR type) {
    if (!name || !type) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<module::Module> m = module::FindModule(module);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    DWORD error;
    const WinceResourceEntry *e = Find(*m, name, type, error);
    if (!e) SetLastError(error);
    return reinterpret_cast<HRSRC>(const_cast<WinceResourceEntry *>(e));
}

}  // namespace

bool FindResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, ResourceBytes &out) {
    HRSRC found = FindIn(module, name, type);
    if (!found) return false;
    auto *e = reinterpret_cast<const WinceResourceEntry *>(found);
    out.data = e->data;
    out.size = e->size;
    return true;
}

bool FindMenuTemplate(HINSTANCE module, LPCWSTR name, ResourceBytes &out) {
    return FindResourceBytes(module, name, RT_MENU, out);
}

}  // namespace wince

using namespace wince;

HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
    return ModuleGuard<HRSRC>(nullptr, [&] { return FindIn(hModule, lpName, lpType); });
}

HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
    return ModuleGuard<HGLOBAL>(nullptr, [&]() -> HGLOBAL {
        std::shared_ptr<module::Module> m = module::FindModule(hModule);
        const WinceResourceEntry *e = m ? EntryOf(*m, hResInfo) : nullptr;
        if (!e) {
            SetLastError(m ? ERROR_RESOURCE_DATA_NOT_FOUND : ERROR_INVALID_HANDLE);
            return nullptr;
        }
        return const_cast<unsigned char *>(e->data);
    });
}

LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
    return ModuleGuard<DWORD>(0, [&]() -> DWORD {
        std::shared_ptr<module::Module> m = module::FindModule(hModule);
        const WinceResourceEntry *e = m ? EntryOf(*m, hResInfo) : nullptr;
        if (!e) {
            SetLastError(m ? ERROR_RESOURCE_DATA_NOT_FOUND : ERROR_INVALID_HANDLE);
            return 0;
        }
        return e->size;
    });
}

// Resources stay mapped for the life of the module; there is nothing to release.
BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }
