// Registry key handles. A handle names its key by root and path (and the
// key's id), never by a pointer into the tree, so it stays valid when the
// tree is reloaded from the file.
#pragma once

#include <windows.h>

#include "key_tree.h"

namespace wince::registry {

struct KeyRef {
    int root = -1;
    KeyPath path;
    uint64_t id = 0;  // 0 for a root, which is never deleted
};

HKEY OpenHandle(KeyRef ref);
// Predefined roots resolve too. False for an unknown handle.
bool LookupHandle(HKEY key, KeyRef *ref);
// False for an unknown handle; closing a predefined root succeeds.
bool CloseKeyHandle(HKEY key);

// The key the handle refers to in `tree`; ERROR_KEY_DELETED when it has gone.
LONG ResolveKey(const RegTree &tree, const KeyRef &ref, RegKey **key);

}  // namespace wince::registry
