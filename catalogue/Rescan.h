// Filling the catalogue from the configured folder.
#pragma once

#include <windows.h>

#include <string>

#include "config/WideString.h"

class ItemWindow;

inline constexpr UINT_PTR FolderPollTimer = 203;

// Appends the documents of folder matching pattern, and of every folder
// below it when subfolders are on; the templates folder is left out on
// request.
void ScanFolder(ItemWindow &item, const WideString &folder, const WideString &pattern);
// Rebuilds the catalogue; repaints window when the count changed, and polls
// the folder when there is nothing to watch.
void Rescan(HWND window);
