// The registry functions of the platform: RegCreateKeyEx, RegOpenKeyEx,
// RegQueryValueEx, ... over the store's cached tree and its file.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "../core/unicode.h"
#include "key_handles.h"
#include "registry_store.h"

namespace wince::registry {
namespace {

constexpr size_t kMaxKeyName = 255;
constexpr size_t kMaxValueName = 16383;

// Nothing throws across the platform boundary.
template <typename F>
LONG Guarded(F body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc &) {
        return ERROR_OUTOFMEMORY;
    } catch (...) {
        return ERROR_REGISTRY_IO_FAILED;
    }
}

// The file keeps one name per line: line breaks and lone surrogates could not
// be written back, so such names are refused.
bool StorableName(std::u16string_view name) {
    for (size_t i = 0; i < name.size(); ++i) {
        char16_t c = name[i];
        if (c == u'\r' || c == u'\n') return false;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF)
            ++i;
        else if (c >= 0xD800 && c <= 0xDFFF)
            return false;
    }
    return true;
}

LONG SplitSubKey(LPCWSTR subKey, KeyPath *path) {
    path->clear();
    if (!subKey) return ERROR_SUCCESS;
    std::u16string_view rest(subKey);
    if (!rest.empty() && rest.back() == u'\\') rest.remove_suffix(1);  // a trailing backslash is tolerated
    if (rest.empty()) return ERROR_SUCCESS;
    for (size_t start = 0;;) {
        size_t end = rest.find(u'\\', start);
        std::u16string_view name = rest.substr(start, end == rest.npos ? rest.npos : end - start);
        if (name.empty()) return ERROR_BAD_PATHNAME;
        if (name.size() > kMaxKeyName || !StorableName(name)) return ERROR_INVALID_PARAMETER;
        path->emplace_back(name);
        if (end == rest.npos) return ERROR_SUCCESS;
        start = end + 1;
    }
}

std::u16string_view ValueName(LPCWSTR name) { return name ? std::u16string_view(name) : std::u16string_view(); }

KeyPath Join(const KeyPath &a, const KeyPath &b) {
    KeyPath path = a;
    path.insert(path.end(), b.begin(), b.end());
    return path;
}

// Runs `read` on the handle's key in the cached tree.
template <typename F>
LONG ReadKey(HKEY hKey, F read) {
    KeyRef ref;
    if (!LookupHandle(hKey, &ref)) return ERROR_INVALID_HANDLE;
    Store &store = Store::Instance();
    auto lock = store.Lock();
    RegKey *key = nullptr;
    if (LONG r = ResolveKey(store.Tree(), ref, &key); r != ERROR_SUCCESS) return r;
    return read(*key);
}

// Runs `change` on the handle's key under the file lock; it sets *changed when
// the file must be written.
template <typename F>
LONG ChangeKey(HKEY hKey, F change) {
    KeyRef ref;
    if (!LookupHandle(hKey, &ref)) return ERROR_INVALID_HANDLE;
    Store &store = Store::Instance();
    auto lock = store.Lock();
    return store.Apply([&](RegTree &tree, bool *changed) -> LONG {
        RegKey *key = nullptr;
        if (LONG r = ResolveKey(tree, ref, &key); r != ERROR_SUCCESS) return r;
        return change(tree, ref, *key, changed);
    });
}

LONG CopyName(const std::u16string &name, LPWSTR buffer, LPDWORD cch) {
    if (*cch <= name.size()) {
        *cch = static_cast<DWORD>(name.size());
        return ERROR_MORE_DATA;
    }
    memcpy(buffer, name.data(), name.size() * sizeof(WCHAR));
    buffer[name.size()] = 0;
    *cch = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

LONG CopyData(const RegValue &value, LPBYTE data, LPDWORD cbData) {
    DWORD size = static_cast<DWORD>(value.data.size());
    if (data) {
        if (*cbData < size) {
            *cbData = size;
            return ERROR_MORE_DATA;
        }
        if (size) memcpy(data, value.data.data(), size);
    }
    if (cbData) *cbData = size;
    return ERROR_SUCCESS;
}

// Opens (and with `create`, makes) hKey\subKey.
LONG OpenKey(HKEY hKey, LPCWSTR subKey, bool create, PHKEY result, LPDWORD disposition) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    KeyRef parent;
    if (!LookupHandle(hKey, &parent)) return ERROR_INVALID_HANDLE;
    KeyPath sub;
    if (LONG r = SplitSubKey(subKey, &sub); r != ERROR_SUCCESS) return r;
    KeyRef ref{parent.root, Join(parent.path, sub), 0};

    Store &store = Store::Instance();
    auto lock = store.Lock();
    store.Refresh();  // see what other processes committed
    RegKey *key = nullptr;
    if (LONG r = ResolveKey(store.Tree(), parent, &key); r != ERROR_SUCCESS) return r;
    key = store.Tree().Find(ref.root, ref.path);
    DWORD how = REG_OPENED_EXISTING_KEY;
    if (!key) {
        if (!create) return ERROR_FILE_NOT_FOUND;
        LONG r = store.Apply([&](RegTree &tree, bool *changed) -> LONG {
            RegKey *p = nullptr;
            if (LONG r = ResolveKey(tree, parent, &p); r != ERROR_SUCCESS) return r;
            key = tree.Create(ref.root, ref.path, changed);
            if (*changed) how = REG_CREATED_NEW_KEY;  // another process may have made it meanwhile
            return ERROR_SUCCESS;
        });
        if (r != ERROR_SUCCESS) return r;
        key = store.Tree().Find(ref.root, ref.path);
        if (!key) return ERROR_REGISTRY_IO_FAILED;
    }
    if (!ref.path.empty()) ref.id = key->Id();
    *result = OpenHandle(std::move(ref));
    if (disposition) *disposition = how;
    return ERROR_SUCCESS;
}

}  // namespace
}  // namespace wince::registry

using namespace wince::registry;

LONG WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                            PHKEY phkResult, LPDWORD lpdwDisposition) {
    return Guarded([&]() -> LONG { return OpenKey(hKey, lpSubKey, true, phkResult, lpdwDisposition); });
}

LONG WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
    return Guarded([&]() -> LONG { return OpenKey(hKey, lpSubKey, false, phkResult, nullptr); });
}

LONG WINAPI RegCloseKey(HKEY hKey) {
    return Guarded([&]() -> LONG { return CloseKeyHandle(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE; });
}

LONG WINAPI RegFlushKey(HKEY hKey) {
    // Every change was written through when it was made.
    return Guarded([&]() -> LONG { return ReadKey(hKey, [](RegKey &) -> LONG { return ERROR_SUCCESS; }); });
}

LONG WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                             LPDWORD lpcbData) {
    if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
    return Guarded([&]() -> LONG {
        return ReadKey(hKey, [&](RegKey &key) -> LONG {
            const RegValue *value = key.FindValue(ValueName(lpValueName));
            if (!value) return ERROR_FILE_NOT_FOUND;
            if (lpType) *lpType = value->type;
            return CopyData(*value, lpData, lpcbData);
        });
    });
}

LONG WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE *lpData, DWORD cbData) {
    if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
    std::u16string_view name = ValueName(lpValueName);
    if (name.size() > kMaxValueName || !StorableName(name)) return ERROR_INVALID_PARAMETER;
    return Guarded([&]() -> LONG {
        std::vector<uint8_t> data(lpData, lpData + cbData);  // exactly as given, whatever the type
        return ChangeKey(hKey, [&](RegTree &, const KeyRef &, RegKey &key, bool *changed) -> LONG {
            *changed = key.SetValue(name, dwType, std::move(data));
            return ERROR_SUCCESS;
        });
    });
}

LONG WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    return Guarded([&]() -> LONG {
        return ChangeKey(hKey, [&](RegTree &, const KeyRef &, RegKey &key, bool *changed) -> LONG {
            *changed = key.DeleteValue(ValueName(lpValueName));
            return *changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        });
    });
}

LONG WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    if (!lpSubKey) return ERROR_INVALID_PARAMETER;
    return Guarded([&]() -> LONG {
        KeyPath sub;
        if (LONG r = SplitSubKey(lpSubKey, &sub); r != ERROR_SUCCESS) return r;
        return ChangeKey(hKey, [&](RegTree &tree, const KeyRef &ref, RegKey &, bool *changed) -> LONG {
            KeyPath path = Join(ref.path, sub);  // an empty subkey deletes the handle's own key
            if (path.empty()) return ERROR_ACCESS_DENIED;
            if (!tree.Find(ref.root, path)) return ERROR_FILE_NOT_FOUND;
            *changed = tree.Delete(ref.root, path);  // with all its subkeys, as on the device
            return ERROR_SUCCESS;
        });
    });
}

LONG WINAPI RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                          LPWSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
    if (!lpName || !lpcchName || lpReserved || (lpClass && !lpcchClass)) return ERROR_INVALID_PARAMETER;
    return Guarded([&]() -> LONG {
        return ReadKey(hKey, [&](RegKey &key) -> LONG {
            if (dwIndex >= key.Subkeys().size()) return ERROR_NO_MORE_ITEMS;
            if (LONG r = CopyName(key.Subkeys()[dwIndex]->Name(), lpName, lpcchName); r != ERROR_SUCCESS) return r;
            if (lpClass && *lpcchClass) lpClass[0] = 0;  // keys have no class
            if (lpcchClass) *lpcchClass = 0;
            if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{0, 0};
            return ERROR_SUCCESS;
        });
    });
}

LONG WINAPI RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                          LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (!lpValueName || !lpcchValueName || lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
    return Guarded([&]() -> LONG {
        return ReadKey(hKey, [&](RegKey &key) -> LONG {
            if (dwIndex >= key.Values().size()) return ERROR_NO_MORE_ITEMS;
            const RegValue &value = key.Values()[dwIndex];
            if (LONG r = CopyName(value.name, lpValueName, lpcchValueName); r != ERROR_SUCCESS) return r;
            if (lpType) *lpType = value.type;
            return CopyData(value, lpData, lpcbData);
        });
    });
}

LONG WINAPI RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                             LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                             LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                             PFILETIME lpftLastWriteTime) {
    if (lpReserved || (lpClass && !lpcchClass)) return ERROR_INVALID_PARAMETER;
    return Guarded([&]() -> LONG {
        return ReadKey(hKey, [&](RegKey &key) -> LONG {
            size_t maxSubKey = 0, maxName = 0, maxData = 0;
            for (const auto &sub : key.Subkeys()) maxSubKey = std::max(maxSubKey, sub->Name().size());
            for (const RegValue &value : key.Values()) {
                maxName = std::max(maxName, value.name.size());
                maxData = std::max(maxData, value.data.size());
            }
            if (lpClass && *lpcchClass) lpClass[0] = 0;
            if (lpcchClass) *lpcchClass = 0;
            if (lpcSubKeys) *lpcSubKeys = static_cast<DWORD>(key.Subkeys().size());
            if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = static_cast<DWORD>(maxSubKey);  // in characters
            if (lpcbMaxClassLen) *lpcbMaxClassLen = 0;
            if (lpcValues) *lpcValues = static_cast<DWORD>(key.Values().size());
            if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = static_cast<DWORD>(maxName);
            if (lpcbMaxValueLen) *lpcbMaxValueLen = static_cast<DWORD>(maxData);
            if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
            if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{0, 0};
            return ERROR_SUCCESS;
        });
    });
}
