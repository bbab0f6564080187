// One open registry key for the duration of one operation, with typed reads
// that fall back to a default and write that default back.
#pragma once

#include <windows.h>

#include <string>

#include "config/WideString.h"

// A default of this value is returned without being written back.
inline constexpr DWORD NoWriteBack = 0xDEF0;

// True when text can be used as a value name or a string value. Only the
// null test is possible here; the platform offers no readability probe.
bool IsUsableString(LPCWSTR text, int maxLength);

class RegistryKey {
   public:
    RegistryKey(HKEY root, LPCWSTR subKey, bool create, bool flushOnClose);
    ~RegistryKey();
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;

    DWORD ReadDword(LPCWSTR name, DWORD defaultValue);
    bool WriteDword(LPCWSTR name, DWORD value);
    WideString ReadString(LPCWSTR name, LPCWSTR defaultValue);
    bool WriteString(LPCWSTR name, LPCWSTR value);
    // Reads raw bytes whatever the stored type; never writes.
    bool QueryValue(LPCWSTR name, BYTE *buffer, DWORD *size);
    bool Flush();
    bool Close();

    bool IsOpen() const { return handle != nullptr; }

   private:
    HKEY handle = nullptr;
    bool flushOnClose;
    bool modified = false;
};
