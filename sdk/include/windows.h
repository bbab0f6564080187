// The toolchain's own windows.h, plus the few names the device's kernel and
// window manager have and desktop Windows lacks.
#pragma once

#include_next <windows.h>

#define SYS_COLOR_INDEX_FLAG 0x40000000

#define SPI_GETPLATFORMTYPE 257
#define SPI_GETOEMINFO 258

#ifndef RC_INVOKED
#ifdef __cplusplus
extern "C" {
#endif

// The device looks exports up by wide name; it is in coredll.
WINBASEAPI FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName);

#ifdef __cplusplus
}
#endif
#endif
