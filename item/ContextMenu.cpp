#include "config/WideString.h"
#include "item/ContextMenu.h"

#include <string>

#include "catalogue/DocumentEntry.h"
#include "config/LocalizationTable.h"
#include "item/DocumentActions.h"
#include "item/ItemWindow.h"
#include "item/res/resource.h"

namespace {

void AppendCommand(HMENU menu, UINT id, UINT textId) {
    WideString text = LoadText(textId);
    AppendMenuW(menu, MF_STRING, id, text.c_str());
}

// The catalogue index of the document at path now, or -1.
int FindDocument(const WideString &path) {
    for (int i = 0; i < itemWindow.catalogue.Count(); ++i)
        if (lstrcmpiW(itemWindow.catalogue.Entry(i)->FullPath().c_str(), path.c_str()) == 0) return i;
    return -1;
}

}  // namespace

void ShowContextMenu(HWND window, POINT point, int index) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    const DocumentEntry *entry = index == -1 ? nullptr : itemWindow.catalogue.Entry(index);
    WideString path = entry ? entry->FullPath() : WideString();
    if (entry) {
        AppendCommand(menu, CommandOpen, IDS_OPEN);
        AppendCommand(menu, CommandRename, IDS_RENAME);
        AppendCommand(menu, CommandDelete, IDS_DELETE);
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
    AppendCommand(menu, CommandBrowse, IDS_BROWSE);
    AppendCommand(menu, CommandOptions, IDS_OPTIONS);
    ClientToScreen(window, &point);
    UINT command = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, point.x, point.y, 0, window, nullptr));
    DestroyMenu(menu);

    if (command == CommandOptions) {
        LaunchOptionsProgram();
        return;
    }
    // The menu's loop may have let a rescan rebuild the catalogue: a document
    // command acts on the same file or not at all.
    int document = entry ? FindDocument(path) : -1;
    if (entry && document == -1) return;
    switch (command) {
        case CommandOpen:
            if (document != -1) OpenDocument(*itemWindow.catalogue.Entry(document));
            break;
        case CommandRename:
            if (document != -1) RenameDocument(window, document);
            break;
        case CommandDelete:
            if (document != -1) DeleteDocument(window, document);
            break;
        case CommandBrowse:
            BrowseFolder(window, document);
            break;
    }
}
