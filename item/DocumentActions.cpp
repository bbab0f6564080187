#include "item/DocumentActions.h"

#include <shellapi.h>

#include "config/RegistryKey.h"
#include "config/SettingsKeyPath.h"

void LaunchOptionsProgram() {
    RegistryKey key(HKEY_LOCAL_MACHINE, SettingsKeyPath, false, true);
    std::u16string folder = key.ReadString(TEXT("InstallDir"), TEXT(""));
    if (!folder.empty()) {
        std::u16string program = folder + TEXT("\\PelloranOptions.exe");
        SHELLEXECUTEINFO info{};
        info.cbSize = sizeof info;
        info.lpVerb = TEXT("open");
        info.lpFile = program.c_str();
        info.nShow = 0;
        ShellExecuteEx(&info);
    }
    key.Close();
}
