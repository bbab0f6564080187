#include "key_handles.h"

#include <mutex>
#include <unordered_map>

namespace wince::registry {
namespace {

struct HandleTable {
    std::mutex lock;
    std::unordered_map<uintptr_t, KeyRef> keys;
    uintptr_t next = 0x1000;
};

HandleTable &Table() {
    static HandleTable *table = new HandleTable;  // outlives static destructors of loaded modules
    return *table;
}

int PredefinedRoot(HKEY key) {
    if (key == HKEY_CLASSES_ROOT) return kClassesRoot;
    if (key == HKEY_CURRENT_USER) return kCurrentUser;
    if (key == HKEY_LOCAL_MACHINE) return kLocalMachine;
    if (key == HKEY_USERS) return kUsers;
    return -1;
}

}  // namespace

HKEY OpenHandle(KeyRef ref) {
    HandleTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    uintptr_t value = t.next;
    t.next += 4;
    t.keys.emplace(value, std::move(ref));
    return reinterpret_cast<HKEY>(value);
}

bool LookupHandle(HKEY key, KeyRef *ref) {
    if (int root = PredefinedRoot(key); root >= 0) {
        *ref = KeyRef{root, {}, 0};
        return true;
    }
    HandleTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.keys.find(reinterpret_cast<uintptr_t>(key));
    if (it == t.keys.end()) return false;
    *ref = it->second;
    return true;
}

bool CloseKeyHandle(HKEY key) {
    if (PredefinedRoot(key) >= 0) return true;
    HandleTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    return t.keys.erase(reinterpret_cast<uintptr_t>(key)) == 1;
}

LONG ResolveKey(const RegTree &tree, const KeyRef &ref, RegKey **key) {
    RegKey *found = tree.Find(ref.root, ref.path);
    if (!found || (!ref.path.empty() && found->Id() != ref.id)) return ERROR_KEY_DELETED;
    *key = found;
    return ERROR_SUCCESS;
}

}  // namespace wince::registry
