#include "catalogue/Refresh.h"

#include <aygshell.h>

#include "catalogue/Rescan.h"
#include "config/WideString.h"
#include "item/ItemWindow.h"

namespace {

void RepaintWhole(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

}  // namespace

void StartWatching(HWND window) {
    WideString folder = itemWindow.settings.GetFolder();
    SHCHANGENOTIFYENTRY entry{};
    entry.dwEventMask = SHCNE_ALLEVENTS;
    entry.pszWatchDir = folder.data();
    entry.fRecursive = itemWindow.settings.GetSubfolders() ? TRUE : FALSE;
    if (!SHChangeNotifyRegister(window, &entry)) return;
    itemWindow.notifyWindow = window;
    Rescan(window);
}

void StopWatching() {
    if (!itemWindow.notifyWindow) return;
    SHChangeNotifyDeregister(itemWindow.notifyWindow);
    itemWindow.notifyWindow = nullptr;
}

void ReloadCatalogue(HWND window) {
    bool wasWatching = itemWindow.notifyWindow != nullptr;
    StopWatching();
    itemWindow.settings.Load();
    itemWindow.cols = itemWindow.settings.GetCols();
    itemWindow.rows = itemWindow.settings.GetRows();
    Rescan(window);
    if (wasWatching) StartWatching(window);
}

void OnFolderChanged(HWND window) {
    Rescan(window);
    RepaintWhole(window);
}

void PollFolder(HWND window) {
    DWORD old = itemWindow.folderAttributes;
    Rescan(window);
    if (itemWindow.folderAttributes == old) return;
    RepaintWhole(window);
    if (itemWindow.folderAttributes != INVALID_FILE_ATTRIBUTES && (itemWindow.folderAttributes & FILE_ATTRIBUTE_DIRECTORY))
        KillTimer(window, FolderPollTimer);
}
