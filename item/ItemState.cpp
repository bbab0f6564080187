#include "item/ItemState.h"

HINSTANCE ModuleHandle = nullptr;
bool TabHostMode = false;
HFONT ItemFont = nullptr;
HICON FolderIcon = nullptr;
bool HasTodaySelection = false;
