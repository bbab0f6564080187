// The toolchain's own commctrl.h, plus the device's command bar and the
// Pocket PC's property sheet additions.
#pragma once

#include_next <commctrl.h>

#ifndef RC_INVOKED

// Full-screen sheets and the version asked of the sheet callback.
#define PSH_MAXIMIZE 0x00002000
#define PSCB_GETVERSION 3
#undef COMCTL32_VERSION
#define COMCTL32_VERSION 0x020c

#ifdef __cplusplus
extern "C" {
#endif

// Command bars: a toolbar that holds a program's menu and buttons.
#define CMDBAR_HELP 0x0001
#define CMDBAR_OK 0x0002
WINCOMMCTRLAPI HWND WINAPI CommandBar_Create(HINSTANCE hInst, HWND hwndParent, int idCmdBar);
WINCOMMCTRLAPI BOOL WINAPI CommandBar_Show(HWND hwndCB, BOOL fShow);
WINCOMMCTRLAPI BOOL WINAPI CommandBar_IsVisible(HWND hwndCB);
WINCOMMCTRLAPI int WINAPI CommandBar_Height(HWND hwndCB);
WINCOMMCTRLAPI BOOL WINAPI CommandBar_InsertMenubar(HWND hwndCB, HINSTANCE hInst, WORD idMenu, WORD iButton);
WINCOMMCTRLAPI BOOL WINAPI CommandBar_InsertMenubarEx(HWND hwndCB, HINSTANCE hInst, LPWSTR pszMenu, WORD iButton);
WINCOMMCTRLAPI HMENU WINAPI CommandBar_GetMenu(HWND hwndCB, WORD iButton);
WINCOMMCTRLAPI BOOL WINAPI CommandBar_AddAdornments(HWND hwndCB, DWORD dwFlags, DWORD dwReserved);
#define CommandBar_Destroy(hwndCB) DestroyWindow(hwndCB)

#ifdef __cplusplus
}
#endif

#endif
