// The Pocket PC shell library.
#pragma once

#include <windows.h>

#define WM_FILECHANGEINFO (WM_APP + 0x0101)

// Gestures
typedef struct tagSHRGI {
    DWORD cbSize;
    HWND hwndClient;
    POINT ptDown;
    DWORD dwFlags;
} SHRGINFO, *PSHRGINFO;
#define SHRG_RETURNCMD 0x00000001
#define SHRG_NOTIFYPARENT 0x00000002
#define SHRG_LONGDELAY 0x00000008
#define SHRG_NOANIMATION 0x00000010
#define GN_CONTEXTMENU 1000
#define NM_RECOGNIZEGESTURE (0U - 16U)
// What a recognised gesture sends without SHRG_RETURNCMD, with WM_NOTIFY
// and hdr.code GN_CONTEXTMENU.
typedef struct tagNMRGINFO {
    NMHDR hdr;
    POINT ptAction;  // screen coordinates
    DWORD dwItemSpec;
} NMRGINFO, *PNMRGINFO;
WINBASEAPI DWORD WINAPI SHRecognizeGesture(SHRGINFO *shrg);

// Extra controls and user-interface metrics
WINBASEAPI BOOL WINAPI SHInitExtraControls(void);
#define WC_SIPPREF TEXT("SIPPREF")
typedef enum {
    SHUIM_INVALID = 0,
    SHUIM_FONTSIZE_POINT,
    SHUIM_FONTSIZE_PIXEL,
    SHUIM_FONTSIZE_PERCENTAGE,
} SHUIMETRIC;
typedef LONG HRESULT;
#define S_OK ((HRESULT)0L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
WINBASEAPI HRESULT WINAPI SHGetUIMetrics(SHUIMETRIC shuim, PVOID pvBuffer, DWORD cbBufferSize, DWORD *pcbRequired);
typedef HRESULT(WINAPI *PFNSHGETUIMETRICS)(SHUIMETRIC, PVOID, DWORD, DWORD *);

// File-system change notification
#define SHCNE_RENAMEITEM 0x00000001L
#define SHCNE_CREATE 0x00000002L
#define SHCNE_DELETE 0x00000004L
#define SHCNE_MKDIR 0x00000008L
#define SHCNE_RMDIR 0x00000010L
#define SHCNE_MEDIAINSERTED 0x00000020L
#define SHCNE_MEDIAREMOVED 0x00000040L
#define SHCNE_DRIVEREMOVED 0x00000080L
#define SHCNE_DRIVEADD 0x00000100L
#define SHCNE_NETSHARE 0x00000200L
#define SHCNE_NETUNSHARE 0x00000400L
#define SHCNE_ATTRIBUTES 0x00000800L
#define SHCNE_UPDATEDIR 0x00001000L
#define SHCNE_UPDATEITEM 0x00002000L
#define SHCNE_SERVERDISCONNECT 0x00004000L
#define SHCNE_UPDATEIMAGE 0x00008000L
#define SHCNE_DRIVEADDGUI 0x00010000L
#define SHCNE_RENAMEFOLDER 0x00020000L
#define SHCNE_ALLEVENTS 0x7FFFFFFFL

// How dwItem1 and dwItem2 of a FILECHANGEINFO are to be read.
#define SHCNF_IDLIST 0x0000
#define SHCNF_PATH 0x0001
#define SHCNF_TYPE 0x00FF

typedef struct _SHCHANGENOTIFYENTRY {
    DWORD dwEventMask;
    LPTSTR pszWatchDir;
    BOOL fRecursive;
} SHCHANGENOTIFYENTRY, *LPSHCHANGENOTIFYENTRY;

typedef struct _FILECHANGEINFO {
    DWORD cbSize;
    LONG wEventId;
    ULONG uFlags;
    // Pointers to the item paths: a DWORD on the device, pointer-sized here.
    DWORD_PTR dwItem1;
    DWORD_PTR dwItem2;
    DWORD dwAttributes;
    FILETIME ftModified;
    ULONG nFileSize;
} FILECHANGEINFO, *LPFILECHANGEINFO;

typedef struct _FILECHANGENOTIFY {
    DWORD dwRefCount;
    FILECHANGEINFO fci;
} FILECHANGENOTIFY, *LPFILECHANGENOTIFY;

WINBASEAPI BOOL WINAPI SHChangeNotifyRegister(HWND hwnd, LPSHCHANGENOTIFYENTRY pshcne);
WINBASEAPI BOOL WINAPI SHChangeNotifyDeregister(HWND hwnd);
WINBASEAPI void WINAPI SHChangeNotifyFree(LPFILECHANGENOTIFY pfcn);

// Dialogs under the shell's bars
#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
#define SHIDIF_EMPTYMENU 0x0020
typedef struct tagSHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;
WINBASEAPI BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi);

#define SHDB_SHOW 0x0001
#define SHDB_HIDE 0x0002
WINBASEAPI BOOL WINAPI SHDoneButton(HWND hwndRequester, DWORD dwState);

// The menu bar across the bottom of the screen
#define SHCMBF_EMPTYBAR 0x0001
#define SHCMBF_HIDDEN 0x0002
#define SHCMBF_HIDESIPBUTTON 0x0004
#define SHCMBF_COLORBK 0x0008
#define SHCMBF_HMENU 0x0010
typedef struct tagSHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
} SHMENUBARINFO, *PSHMENUBARINFO;
WINBASEAPI BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *pmbi);
WINBASEAPI HWND WINAPI SHFindMenuBar(HWND hwnd);

// The input panel
#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004
typedef struct tagSIPINFO {
    DWORD cbSize;
    DWORD fdwFlags;
    RECT rcVisibleDesktop;
    RECT rcSipRect;
    DWORD dwImDataSize;
    void *pvImData;
} SIPINFO, *PSIPINFO;
WINBASEAPI BOOL WINAPI SHSipInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);
