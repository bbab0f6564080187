// One document of the configured folder.
#pragma once

#include <windows.h>

#include <string>

class DocumentEntry {
   public:
    DocumentEntry(const std::u16string &folder, const WIN32_FIND_DATAW &found);
    virtual ~DocumentEntry();

    std::u16string FullPath() const;

    std::u16string folder;     // as the scan formed it
    std::u16string name;       // up to the last "."
    std::u16string extension;  // from the last ".", dot included; may be empty
    HICON icon = nullptr;      // set by the first paint; owned by the icon cache
    std::u16string sizeText;
    std::u16string dateText;
};

// folder and part with exactly one backslash between them.
std::u16string JoinPath(const std::u16string &folder, const std::u16string &part);
