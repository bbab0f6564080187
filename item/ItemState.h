// Process-wide state of the plug-in, one copy per process that loads it.
#pragma once

#include <windows.h>

// The library's instance: window class, resources and icons.
extern HINSTANCE ModuleHandle;
// Set by the entry point that created the last item window: a tab host
// places the item deeper and shows no folder icon.
extern bool TabHostMode;
// The one font of all item text, made at the first paint.
extern HFONT ItemFont;
// The small shell icon of the root folder, fetched at the first paint.
extern HICON FolderIcon;
// True while the item holds the Today screen's selection.
extern bool HasTodaySelection;
