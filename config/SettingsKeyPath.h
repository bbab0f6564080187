// The registry key under HKEY_LOCAL_MACHINE that holds the settings.
#pragma once

#include <windows.h>

// A constant array rather than a constructed string object, so that
// process-wide objects built at library load can read it whatever the order
// of static construction.
inline constexpr WCHAR SettingsKeyPath[] = TEXT("SOFTWARE\\Varnhold\\Pelloran");
