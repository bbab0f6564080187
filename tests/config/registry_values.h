// Direct registry access for the settings tests, through the platform API.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace registry_values {

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

inline std::optional<Value> Read(LPCWSTR keyPath, LPCWSTR name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, 0, &key) != ERROR_SUCCESS) return std::nullopt;
    Value v;
    DWORD size = 0;
    LONG r = RegQueryValueExW(key, name, nullptr, &v.type, nullptr, &size);
    if (r == ERROR_SUCCESS) {
        v.data.resize(size);
        r = RegQueryValueExW(key, name, nullptr, &v.type, v.data.data(), &size);
    }
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return std::nullopt;
    return v;
}

inline std::optional<DWORD> ReadDword(LPCWSTR keyPath, LPCWSTR name) {
    auto v = Read(keyPath, name);
    if (!v || v->type != REG_DWORD || v->data.size() != 4) return std::nullopt;
    return DWORD(v->data[0]) | DWORD(v->data[1]) << 8 | DWORD(v->data[2]) << 16 | DWORD(v->data[3]) << 24;
}

inline std::optional<std::u16string> ReadString(LPCWSTR keyPath, LPCWSTR name) {
    auto v = Read(keyPath, name);
    if (!v || v->type != REG_SZ || v->data.size() % 2) return std::nullopt;
    std::u16string text(reinterpret_cast<const char16_t *>(v->data.data()), v->data.size() / 2);
    if (text.empty() || text.back() != 0) return std::nullopt;  // stored with its terminator
    text.pop_back();
    return text;
}

inline void Write(LPCWSTR keyPath, LPCWSTR name, DWORD type, const void *data, DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, 0, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

inline void WriteDword(LPCWSTR keyPath, LPCWSTR name, DWORD value) {
    Write(keyPath, name, REG_DWORD, &value, sizeof value);
}

inline void Delete(LPCWSTR keyPath, LPCWSTR name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, 0, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, name);
    RegCloseKey(key);
}

}  // namespace registry_values
