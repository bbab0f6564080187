// When the catalogue is taken again: window creation, change notification
// and the poll of a missing or empty folder.
#pragma once

#include <windows.h>

// Registers window for change notification of the configured folder and
// rescans; nothing changes when the registration fails.
void StartWatching(HWND window);
void StopWatching();
// The work of WM_CREATE.
void ReloadCatalogue(HWND window);
// The work of WM_FILECHANGEINFO.
void OnFolderChanged(HWND window);
// The work of timer 203.
void PollFolder(HWND window);
