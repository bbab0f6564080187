#include "config/FolderSettings.h"

#include "config/RegistryKey.h"
#include "config/SettingsKeyPath.h"

FolderSettings::FolderSettings() : folder(TEXT("\\My Documents")) { Load(); }

FolderSettings::~FolderSettings() = default;

void FolderSettings::SetRows(int value) { rows = value < 3 ? 3 : value > 15 ? 15 : value; }

void FolderSettings::SetCols(int value) { cols = value < 1 ? 1 : value > 4 ? 4 : value; }

// Reads in a fixed order; each missing value is created with its default, so
// the first load on a fresh device fills the key.
void FolderSettings::Load() {
    RegistryKey key(HKEY_LOCAL_MACHINE, SettingsKeyPath, true, true);
    folder = key.ReadString(TEXT("Folder"), TEXT("\\My Documents"));
    subfolders = key.ReadDword(TEXT("Subfolders"), 0) != 0;
    noTemplates = key.ReadDword(TEXT("NoTemplates"), 1) != 0;
    SetRows(static_cast<int>(key.ReadDword(TEXT("Rows"), 4)));
    SetCols(static_cast<int>(key.ReadDword(TEXT("Cols"), 2)));
    showSize = key.ReadDword(TEXT("ShowSize"), 0) != 0;
    showDate = key.ReadDword(TEXT("ShowDate"), 0) != 0;
    showText = key.ReadDword(TEXT("ShowText"), 1) != 0;
    showPocketWord = key.ReadDword(TEXT("ShowPocketWord"), 1) != 0;
    showPocketExcel = key.ReadDword(TEXT("ShowPocketExcel"), 1) != 0;
    showNotes = key.ReadDword(TEXT("ShowNotes"), 1) != 0;
    showAll = key.ReadDword(TEXT("ShowAll"), 0) != 0;
    key.Close();  // closed before destruction: loading never flushes
}

// Writes the raw flags, not the effective getters' results.
void FolderSettings::Save() {
    RegistryKey key(HKEY_LOCAL_MACHINE, SettingsKeyPath, true, true);
    key.WriteString(TEXT("Folder"), folder.c_str());
    key.WriteDword(TEXT("Subfolders"), subfolders);
    key.WriteDword(TEXT("NoTemplates"), noTemplates);
    key.WriteDword(TEXT("Rows"), static_cast<DWORD>(rows));
    key.WriteDword(TEXT("Cols"), static_cast<DWORD>(cols));
    key.WriteDword(TEXT("ShowSize"), showSize);
    key.WriteDword(TEXT("ShowDate"), showDate);
    key.WriteDword(TEXT("ShowText"), showText);
    key.WriteDword(TEXT("ShowPocketWord"), showPocketWord);
    key.WriteDword(TEXT("ShowPocketExcel"), showPocketExcel);
    key.WriteDword(TEXT("ShowNotes"), showNotes);
    key.WriteDword(TEXT("ShowAll"), showAll);
    key.Flush();
}
