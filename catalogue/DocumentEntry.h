// One document of the configured folder.
#pragma once

#include <windows.h>

#include <string>

#include "config/WideString.h"

class DocumentEntry {
   public:
    DocumentEntry(const WideString &folder, const WIN32_FIND_DATAW &found);
    virtual ~DocumentEntry();

    WideString FullPath() const;

    WideString folder;     // as the scan formed it
    WideString name;       // up to the last "."
    WideString extension;  // from the last ".", dot included; may be empty
    HICON icon = nullptr;  // set by the first paint; owned by the icon cache
    WideString sizeText;
    WideString dateText;
};

// folder and part with exactly one backslash between them.
WideString JoinPath(const WideString &folder, const WideString &part);
