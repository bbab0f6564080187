// The toolchain's own windows.h, plus the few names the device's kernel and
// window manager have and desktop Windows lacks.
#pragma once

#include_next <windows.h>

#define SYS_COLOR_INDEX_FLAG 0x40000000

#define SPI_GETPLATFORMTYPE 257
#define SPI_GETOEMINFO 258
#define SPI_GETSIPINFO 225
#define SPI_SETSIPINFO 224

// What the shell sends with WM_SETTINGCHANGE when the screen turns or the
// work area changes.
#define SETTINGCHANGE_RESET 0x3002

#ifndef RC_INVOKED
// The device's WinMain takes its command line as wide text: with a desktop
// toolchain that entry point is wWinMain (programs link with -municode).
#define WinMain wWinMain

#ifdef __cplusplus
extern "C" {
#endif

// The device looks exports up by wide name; it is in coredll.
WINBASEAPI FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName);

#ifdef __cplusplus
}
#endif
#endif
