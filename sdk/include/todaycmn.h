// The Today screen's item protocol, for the build with a Win32 toolchain.
#pragma once

#include <windows.h>

#define MAX_ITEMNAME 32

typedef enum _TODAYLISTITEMTYPE {
    tlitOwnerInfo = 0,
    tlitAppointments,
    tlitMail,
    tlitTasks,
    tlitCustom,
    tlitNIL
} TODAYLISTITEMTYPE;

typedef struct _TODAYLISTITEM {
    TCHAR szName[MAX_ITEMNAME];
    TODAYLISTITEMTYPE tlit;
    DWORD dwOrder;
    DWORD cyp;
    BOOL fEnabled;
    BOOL fOptions;
    DWORD grfFlags;
    TCHAR szDLLPath[MAX_PATH];
    HINSTANCE hinstDLL;
    HWND hwndCustom;
    BOOL fSizeOnDraw;
    BYTE *prgbCachedData;
    DWORD cbCachedData;
} TODAYLISTITEM, *PTODAYLISTITEM;

typedef struct _TODAYDRAWWATERMARKINFO {
    HDC hdc;
    RECT rc;
    HWND hwnd;
} TODAYDRAWWATERMARKINFO;

// Messages the host sends to an item
#define WM_TODAYCUSTOM_CLEARCACHE (WM_USER + 242)
#define WM_TODAYCUSTOM_QUERYREFRESHCACHE (WM_USER + 243)
#define WM_TODAYCUSTOM_RECEIVEDSELECTION (WM_USER + 244)
#define WM_TODAYCUSTOM_LOSTSELECTION (WM_USER + 245)
#define WM_TODAYCUSTOM_USERNAVIGATION (WM_USER + 246)
#define WM_TODAYCUSTOM_ACTION (WM_USER + 247)

// Messages an item sends or posts to the host
#define TODAYM_GETCOLOR (WM_USER + 100)
#define TODAYM_DRAWWATERMARK (WM_USER + 101)
#define TODAYM_TOOKSELECTION (WM_USER + 102)

#define TODAYCOLOR_TEXT 0x10000004
#define TODAYCOLOR_HIGHLIGHT 0x10000022
#define TODAYCOLOR_HIGHLIGHTEDTEXT 0x10000023

// Export ordinals of an item library
#define INITIALIZE_CUSTOM_ITEM 240
#define CUSTOM_ITEM_OPTIONS_DLG_PROC 241

#define k_szTodayItemsKey TEXT("Software\\Microsoft\\Today\\Items")

typedef HWND(CALLBACK *PFNCUSTOMINITIALIZEITEM)(TODAYLISTITEM *, HWND);
typedef BOOL(CALLBACK *PFNCUSTOMOPTIONSDLGPROC)(HWND, UINT, WPARAM, LPARAM);
