// The process-wide table of translated texts, keyed by the built-in text
// itself, filled from an optional translation file next to the program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "config/WideString.h"

// The reader sees a file through a window of this many characters.
inline constexpr int TranslationWindow = 4094;

class LocalizationTable {
   public:
    // Created empty on first use.
    static LocalizationTable &Instance();
    // Frees every entry; the next use starts empty again (library unload).
    static void Release();

    bool LoadTranslations(LPCWSTR path);
    WideString FindTranslation(LPCWSTR text) const;
    int Count() const { return static_cast<int>(keys.size()); }

   private:
    void AddEntry(LPCWSTR key, LPCWSTR value);
    bool ReadUtf16(HANDLE file, DWORD bytesLeft);
    bool ReadSingleByte(HANDLE file, const BYTE first[2], DWORD firstCount, DWORD bytesLeft);

    std::vector<WideString> keys;
    std::vector<WideString> values;
};

// Parses one line of window text into its source and translation (each
// buffer at least TranslationWindow + 1 characters) and returns the number of
// characters consumed: 0 only at the end of the text.
int ParseTranslationLine(LPCWSTR text, LPWSTR source, LPWSTR translation);

// The deliverable's own module: its string table and the folder of its
// translation file. Null (the default) is the running program.
void SetLocalizationModule(HMODULE module);
HMODULE LocalizationModule();

// The translation file's path: the folder of the module's file joined with
// namePart (which starts with a backslash). False when the module has no
// file name or the result would not fit MAX_PATH.
bool TranslationFilePath(LPCWSTR namePart, WideString &path);

// Appends the entries of the deliverable's translation file; false when
// there is no such file.
bool LoadTranslations(LPCWSTR namePart);
// The first entry's non-empty translation of text, or "".
WideString FindTranslation(LPCWSTR text);
// The translation, or text itself, cut to 1024 characters.
WideString TranslateText(LPCWSTR text);
// A string-table text of the deliverable, translated; "" for a missing id.
WideString LoadText(UINT id);
// Translates a dialog's title, its direct children's texts and the items of
// its combo boxes, as the dialog opens.
void TranslateDialogTexts(HWND dialog);
