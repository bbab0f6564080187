// The FILECHANGENOTIFY records that travel with WM_FILECHANGEINFO.
//
// On the device the receiver owns a record once the message arrives and
// releases it with SHChangeNotifyFree; a window that never does leaks one
// record per message. We keep the same contract and never free a record
// behind a live receiver's back, but we remember every record so that those
// of a destroyed window, and whatever is left at exit, are released too.
#include <aygshell.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "change_notify.h"

namespace wince {
namespace {

struct Record {
    FILECHANGENOTIFY notify{};  // first, so that the record's address is the notify's
    HWND target = nullptr;
    std::u16string item1, item2;
};

struct Records {
    std::mutex lock;
    std::unordered_map<FILECHANGENOTIFY *, std::unique_ptr<Record>> live;
};

Records &All() {
    static auto *records = [] {
        auto *r = new Records;
        std::atexit([] {
            std::lock_guard<std::mutex> guard(All().lock);
            All().live.clear();
        });
        return r;
    }();
    return *records;
}

}  // namespace

FILECHANGENOTIFY *NewChangeRecord(HWND hwnd, LONG event, const std::u16string &item1, const std::u16string &item2) {
    auto record = std::make_unique<Record>();
    record->target = hwnd;
    record->item1 = item1;
    record->item2 = item2;
    FILECHANGENOTIFY &n = record->notify;
    n.dwRefCount = 1;
    n.fci.cbSize = sizeof(FILECHANGEINFO);
    n.fci.wEventId = event;
    n.fci.uFlags = SHCNF_PATH;
    n.fci.dwItem1 = reinterpret_cast<DWORD_PTR>(record->item1.c_str());
    n.fci.dwItem2 = item2.empty() ? 0 : reinterpret_cast<DWORD_PTR>(record->item2.c_str());
    FILECHANGENOTIFY *handle = &record->notify;
    Records &r = All();
    std::lock_guard<std::mutex> guard(r.lock);
    r.live.emplace(handle, std::move(record));
    return handle;
}

void DropChangeRecord(FILECHANGENOTIFY *record) {
    Records &r = All();
    std::lock_guard<std::mutex> guard(r.lock);
    r.live.erase(record);
}

size_t LiveChangeRecords() {
    Records &r = All();
    std::lock_guard<std::mutex> guard(r.lock);
    return r.live.size();
}

void ReleaseChangeRecordsOf(HWND hwnd) {
    Records &r = All();
    std::lock_guard<std::mutex> guard(r.lock);
    for (auto it = r.live.begin(); it != r.live.end();) {
        if (it->second->target == hwnd)
            it = r.live.erase(it);
        else
            ++it;
    }
}

}  // namespace wince

// A pointer that is not a live record (freed twice, or never ours) is
// ignored rather than corrupting the heap.
void WINAPI SHChangeNotifyFree(LPFILECHANGENOTIFY pfcn) {
    if (!pfcn) return;
    wince::Records &r = wince::All();
    std::lock_guard<std::mutex> guard(r.lock);
    auto it = r.live.find(pfcn);
    if (it == r.live.end()) return;
    if (pfcn->dwRefCount > 1) {
        pfcn->dwRefCount--;
        return;
    }
    r.live.erase(it);
}
