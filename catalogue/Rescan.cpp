#include "catalogue/Rescan.h"

#include "catalogue/Refresh.h"
#include "item/ItemWindow.h"

namespace {

constexpr WCHAR kTemplatesFolder[] = TEXT("\\My Documents\\Templates");

// Calls visit for every match of folder joined with pattern.
template <typename Visit>
void Enumerate(const WideString &folder, const WideString &pattern, Visit visit) {
    WideString search = JoinPath(folder, pattern);
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(search.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        visit(found);
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

}  // namespace

void ScanFolder(ItemWindow &item, const WideString &folder, const WideString &pattern) {
    if (item.settings.GetNoTemplates() && lstrcmpiW(folder.c_str(), kTemplatesFolder) == 0) return;
    Enumerate(folder, pattern, [&](const WIN32_FIND_DATAW &found) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) item.catalogue.AddEntry(folder, found);
    });
    if (!item.settings.GetSubfolders()) return;
    Enumerate(folder, TEXT("*.*"), [&](const WIN32_FIND_DATAW &found) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ScanFolder(item, JoinPath(folder, found.cFileName), pattern);
    });
}

void Rescan(HWND window) {
    ItemWindow &item = itemWindow;
    WideString path = item.settings.GetFolder();
    int rememberedSelection = item.selectedCell;
    int rememberedCount = item.catalogue.Count();
    item.ClearCatalogue();
    item.folderAttributes = GetFileAttributesW(path.c_str());
    bool isFolder = item.folderAttributes != INVALID_FILE_ATTRIBUTES && (item.folderAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (isFolder) {
        if (item.settings.GetShowAll()) {
            ScanFolder(item, path, TEXT("*.*"));
        } else {
            const struct {
                bool on;
                const WCHAR *pattern;
            } passes[] = {
                {item.settings.GetShowText(), TEXT("*.txt")},       {item.settings.GetShowPocketWord(), TEXT("*.psw")},
                {item.settings.GetShowPocketWord(), TEXT("*.doc")}, {item.settings.GetShowPocketExcel(), TEXT("*.pxl")},
                {item.settings.GetShowNotes(), TEXT("*.pwi")},      {item.settings.GetShowNotes(), TEXT("*.wav")},
            };
            for (const auto &pass : passes)
                if (pass.on) ScanFolder(item, path, pass.pattern);
        }
        item.catalogue.SortByName();
        if (item.catalogue.Count() != rememberedCount) {
            InvalidateRect(window, nullptr, TRUE);
            UpdateWindow(window);
        }
    }
    if (item.catalogue.Count() == 0 || !isFolder) {
        StopWatching();
        SetTimer(window, FolderPollTimer, 1000, nullptr);
    }
    int last = item.catalogue.Count() - 1;
    item.selectedCell = item.rememberedCell = rememberedSelection < last ? rememberedSelection : last;
}
