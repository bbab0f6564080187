// The library's load and unload handling.
#include <windows.h>

#include "config/LocalizationTable.h"
#include "drawing/ScreenMetrics.h"
#include "item/ItemState.h"
#include "item/ItemWindowClass.h"

extern "C" BOOL WINAPI DllMain(HANDLE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        HasTodaySelection = false;
        ModuleHandle = static_cast<HINSTANCE>(instance);
        SetLocalizationModule(ModuleHandle);
        LoadTranslations(TEXT("\\localization.txt"));
        ReadDisplayResolution();
        RegisterItemWindowClass();  // a failure shows as a failed item creation
    } else if (reason == DLL_PROCESS_DETACH) {
        if (FolderIcon) {
            DestroyIcon(FolderIcon);
            FolderIcon = nullptr;
        }
        if (ItemFont) {
            DeleteObject(ItemFont);
            ItemFont = nullptr;
        }
        UnregisterItemWindowClass();
        ModuleHandle = nullptr;
        LocalizationTable::Release();
    }
    return TRUE;
}
