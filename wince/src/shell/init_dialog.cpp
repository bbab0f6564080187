// SHInitDialog, SHDoneButton and SHSipInfo: dialogs under the shell's bars.
#include <aygshell.h>

#include "controls/input_panel.h"
#include "shell_bars.h"

using namespace wince;

BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi) {
    if (!pshidi || !(pshidi->dwMask & SHIDIM_FLAGS) || !IsWindow(pshidi->hDlg)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HWND dialog = pshidi->hDlg;
    DWORD flags = pshidi->dwFlags;
    shell::StartBars();
    if (flags & SHIDIF_SIPDOWN) ShowInputPanel(false);
    if (flags & SHIDIF_DONEBUTTON) shell::SetDoneButton(dialog, true);
    if (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR))
        shell::AddFullScreenDialog(dialog, flags);
    if ((flags & SHIDIF_EMPTYMENU) && !shell::MenuBarOf(dialog)) {
        SHMENUBARINFO mbi{};
        mbi.cbSize = sizeof mbi;
        mbi.hwndParent = dialog;
        mbi.dwFlags = SHCMBF_EMPTYBAR;
        SHCreateMenuBar(&mbi);
    }
    shell::ArrangeBars();
    return TRUE;
}

BOOL WINAPI SHDoneButton(HWND hwndRequester, DWORD dwState) {
    if (!IsWindow(hwndRequester)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (dwState != SHDB_SHOW && dwState != SHDB_HIDE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    shell::StartBars();
    shell::SetDoneButton(hwndRequester, dwState == SHDB_SHOW);
    return TRUE;
}

BOOL WINAPI SHSipInfo(UINT uiAction, UINT, PVOID pvParam, UINT) {
    auto *info = static_cast<SIPINFO *>(pvParam);
    if (!info || info->cbSize != sizeof(SIPINFO) || (uiAction != SPI_GETSIPINFO && uiAction != SPI_SETSIPINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (uiAction == SPI_SETSIPINFO) {
        ShowInputPanel((info->fdwFlags & SIPF_ON) != 0);
        return TRUE;
    }
    HWND panel = InputPanelWindow();
    bool on = panel && IsWindowVisible(panel);
    info->fdwFlags = SIPF_DOCKED | (on ? SIPF_ON : 0);
    info->rcVisibleDesktop = shell::VisibleDesktop();
    info->rcSipRect = InputPanelRect();
    info->dwImDataSize = 0;
    info->pvImData = nullptr;
    return TRUE;
}
