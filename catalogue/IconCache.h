// Small document icons by extension, looked up in the shell once each.
#pragma once

#include <windows.h>

#include <string>

#include "config/WideString.h"

class IconCacheNode {
   public:
    IconCacheNode(const WideString &key, HICON icon) : key(key), icon(icon) {}
    virtual ~IconCacheNode();  // destroys the icon, then the rest of the list
    IconCacheNode(const IconCacheNode &) = delete;
    IconCacheNode &operator=(const IconCacheNode &) = delete;

    WideString key;
    HICON icon;
    IconCacheNode *next = nullptr;
};

// The icon for a document, by its extension compared ignoring case; the
// caller does not own it. Null when the shell had none.
HICON GetDocumentIcon(const WideString &fullPath, const WideString &extension);
// Releases every cached icon (library unload).
void ReleaseIconCache();
// Number of extensions asked of the shell so far.
int IconCacheLookups();
