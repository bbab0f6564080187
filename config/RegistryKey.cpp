#include "config/RegistryKey.h"

#include <vector>

bool IsUsableString(LPCWSTR text, int /*maxLength*/) { return text != nullptr; }

RegistryKey::RegistryKey(HKEY root, LPCWSTR subKey, bool create, bool flushOnClose) : flushOnClose(flushOnClose) {
    HKEY key = nullptr;
    LONG result;
    if (create) {
        DWORD disposition = 0;
        result = RegCreateKeyExW(root, subKey, 0, nullptr, 0, 0, nullptr, &key, &disposition);
    } else {
        result = RegOpenKeyExW(root, subKey, 0, 0, &key);
    }
    handle = result == ERROR_SUCCESS ? key : nullptr;
}

RegistryKey::~RegistryKey() {
    if (flushOnClose && modified && handle) RegFlushKey(handle);
    Close();
}

DWORD RegistryKey::ReadDword(LPCWSTR name, DWORD defaultValue) {
    if (!IsUsableString(name, -1)) return defaultValue;
    BYTE data[4] = {0, 0, 0, 0};  // a shorter stored value leaves the upper bytes zero
    DWORD size = sizeof data;
    DWORD type = REG_DWORD;
    if (handle && RegQueryValueExW(handle, name, nullptr, &type, data, &size) == ERROR_SUCCESS)
        return DWORD(data[0]) | DWORD(data[1]) << 8 | DWORD(data[2]) << 16 | DWORD(data[3]) << 24;
    // The write-back of a default is not an explicit change: it sets no flag.
    if (defaultValue != NoWriteBack && handle)
        RegSetValueExW(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&defaultValue), sizeof defaultValue);
    return defaultValue;
}

bool RegistryKey::WriteDword(LPCWSTR name, DWORD value) {
    if (!IsUsableString(name, -1)) return false;
    modified = true;
    return handle &&
           RegSetValueExW(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value) ==
               ERROR_SUCCESS;
}

WideString RegistryKey::ReadString(LPCWSTR name, LPCWSTR defaultValue) {
    if (!IsUsableString(name, -1)) return WideString();
    if (handle) {
        DWORD size = 0;
        LONG result = RegQueryValueExW(handle, name, nullptr, nullptr, nullptr, &size);
        // A value that grows between the size query and the read is read
        // again rather than taken as missing: that would overwrite it with
        // the default.
        for (int attempt = 0; result == ERROR_SUCCESS && attempt < 8; ++attempt) {
            std::vector<WCHAR> buffer(size + 1, 0);
            DWORD got = size;
            result = RegQueryValueExW(handle, name, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer.data()), &got);
            if (result == ERROR_SUCCESS) return WideString(buffer.data());
            if (result == ERROR_MORE_DATA) size = got, result = ERROR_SUCCESS;
        }
    }
    if (!IsUsableString(defaultValue, -1)) return WideString();
    WriteString(name, defaultValue);
    return defaultValue;
}

bool RegistryKey::WriteString(LPCWSTR name, LPCWSTR value) {
    if (!IsUsableString(name, -1) || !IsUsableString(value, -1)) return false;
    modified = true;
    DWORD bytes = static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(WCHAR));
    return handle &&
           RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value), bytes) == ERROR_SUCCESS;
}

bool RegistryKey::QueryValue(LPCWSTR name, BYTE *buffer, DWORD *size) {
    if (!IsUsableString(name, -1) || !handle) return false;
    DWORD type = REG_BINARY;
    return RegQueryValueExW(handle, name, nullptr, &type, buffer, size) == ERROR_SUCCESS;
}

bool RegistryKey::Flush() { return handle && RegFlushKey(handle) == ERROR_SUCCESS; }

bool RegistryKey::Close() {
    if (!handle) return false;
    RegCloseKey(handle);
    handle = nullptr;
    return true;
}
