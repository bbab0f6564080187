#include "config/WideString.h"
#include "item/DocumentActions.h"

#include <shellapi.h>

#include "catalogue/DocumentEntry.h"
#include "config/LocalizationTable.h"
#include "config/RegistryKey.h"
#include "config/SettingsKeyPath.h"
#include "item/ItemWindow.h"
#include "item/RenameDialog.h"
#include "item/res/resource.h"

namespace {

constexpr WCHAR kFileExplorer[] = TEXT("\\Windows\\fexplore.exe");

void Execute(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int show) {
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = 0;
    info.hwnd = window;
    info.lpVerb = verb;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = directory;
    info.nShow = show;
    ShellExecuteEx(&info);  // a document or program that cannot start gives no message
}

}  // namespace

LPCWSTR OpenVerb(const WideString &extension) {
    static const WCHAR *const kEditedKinds[] = {TEXT(".pwi"), TEXT(".psw"), TEXT(".pxl"), TEXT(".txt")};
    for (const WCHAR *kind : kEditedKinds)
        if (lstrcmpiW(extension.c_str(), kind) == 0) return TEXT("opendoc");
    return TEXT("open");
}

void OpenDocument(const DocumentEntry &entry) {
    WideString path = entry.FullPath();
    Execute(nullptr, OpenVerb(entry.extension), path.c_str(), nullptr, nullptr, 0);
}

void BrowseFolder(HWND window, int index) {
    WideString folder;
    if (index == -1) {
        folder = itemWindow.settings.GetFolder();
    } else {
        const DocumentEntry *entry = itemWindow.catalogue.Entry(index);
        if (!entry) return;
        folder = entry->folder;  // may be a subfolder of the configured one
    }
    Execute(window, TEXT("open"), kFileExplorer, folder.c_str(), folder.c_str(), SW_SHOWNORMAL);
}

void DeleteDocument(HWND window, int index) {
    const DocumentEntry *entry = itemWindow.catalogue.Entry(index);
    if (!entry) return;
    // The question's loop may rescan the catalogue: keep copies.
    WideString caption = LoadText(IDS_DELETE_CAPTION);
    WideString text = LoadText(IDS_DELETE_QUESTION) + TEXT("'") + entry->name + TEXT("'?");
    WideString path = entry->FullPath();
    if (MessageBoxW(window, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES)
        DeleteFileW(path.c_str());
}

void RenameDocument(HWND window, int index) {
    const DocumentEntry *entry = itemWindow.catalogue.Entry(index);
    if (!entry) return;
    WideString oldPath = entry->FullPath();
    RenameRequest request{entry->folder, entry->name, entry->extension, WideString()};
    INT_PTR result = RunRenameDialog(window, request);
    WideString newPath = JoinPath(request.folder, request.newName) + request.extension;
    // The move never replaces a file, so a name taken since the dialog
    // checked it makes the move fail rather than lose that file.
    if (result == IDOK && lstrcmpiW(oldPath.c_str(), newPath.c_str()) != 0) MoveFileW(oldPath.c_str(), newPath.c_str());
}

void LaunchOptionsProgram() {
    RegistryKey key(HKEY_LOCAL_MACHINE, SettingsKeyPath, false, true);
    WideString folder = key.ReadString(TEXT("InstallDir"), TEXT(""));
    if (!folder.empty()) {
        WideString program = folder + TEXT("\\PelloranOptions.exe");
        Execute(nullptr, TEXT("open"), program.c_str(), nullptr, nullptr, 0);
    }
    key.Close();
}
