#include "catalogue/IconCache.h"

#include <shellapi.h>

namespace {

// The head's key is never an extension: those start with a dot or are empty.
IconCacheNode head(TEXT("111lp"), nullptr);
int lookups = 0;

}  // namespace

IconCacheNode::~IconCacheNode() {
    if (icon) DestroyIcon(icon);
    delete next;
}

HICON GetDocumentIcon(const WideString &fullPath, const WideString &extension) {
    IconCacheNode *node = &head;
    for (;;) {
        if (lstrcmpiW(node->key.c_str(), extension.c_str()) == 0) return node->icon;
        if (!node->next) break;
        node = node->next;
    }
    SHFILEINFO info{};
    HICON icon = nullptr;
    ++lookups;
    if (SHGetFileInfo(fullPath.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) icon = info.hIcon;
    node->next = new IconCacheNode(extension, icon);
    return icon;
}

void ReleaseIconCache() {
    delete head.next;
    head.next = nullptr;
    lookups = 0;
}

int IconCacheLookups() { return lookups; }
