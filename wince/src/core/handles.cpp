#include "handles.h"

#include <atomic>
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

// A walk asks for one find handle once per entry: each thread keeps the
// handle it looked up last, valid while no handle was freed since.
std::atomic<uint64_t> freed{0};

struct RecentHandle {
    uintptr_t value = 0;
    uint64_t freedThen = 0;
    std::weak_ptr<KernelObject> object;
    ~RecentHandle();
};
[[gnu::tls_model("initial-exec")]] thread_local RecentHandle recent;
// Trivially destroyed: still readable while the thread ends.
[[gnu::tls_model("initial-exec")]] thread_local bool recentGone = false;
RecentHandle::~RecentHandle() { recentGone = true; }

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
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    const uint64_t freedNow = freed.load(std::memory_order_acquire);
    if (!recentGone && value && recent.value == value && recent.freedThen == freedNow)
        if (std::shared_ptr<KernelObject> object = recent.object.lock()) return object;
    HandleTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.objects.find(value);
    if (it == t.objects.end()) return nullptr;
    if (!recentGone) {
        recent.value = value;
        recent.freedThen = freedNow;
        recent.object = it->second;
    }
    return it->second;
}

bool FreeHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> dropped;  // destroyed outside the lock
    HandleTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == t.objects.end()) return false;
    dropped = std::move(it->second);
    t.objects.erase(it);
    freed.fetch_add(1, std::memory_order_release);  // every thread's recent handle is asked again
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
