#include "handles.h"

#include <mutex>
#include <unordered_map>

namespace wince {
namespace {

struct HandleTable {
    std::mutex lock;
    std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects;
    uintptr_t next = 0x40;
};

HandleTable &Table() {
    static HandleTable *table = new HandleTable;  // outlives static destructors of loaded modules
    return *table;
}

}  // namespace

HANDLE AllocHandle(std::shared_ptr<KernelObject> object) {
    HandleTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    uintptr_t value = t.next;
    t.next += 4;  // handle values are multiples of four, as on the device
    t.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle) {
    HandleTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == t.objects.end() ? nullptr : it->second;
}

bool FreeHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> dropped;  // destroyed outside the lock
    HandleTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == t.objects.end()) return false;
    dropped = std::move(it->second);
    t.objects.erase(it);
    return true;
}

}  // namespace wince

BOOL WINAPI CloseHandle(HANDLE hObject) {
    auto object = wince::LookupHandle(hObject);
    if (!object || !object->ClosedByCloseHandle()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    wince::FreeHandle(hObject);
    return TRUE;
}
