#include "sharing.h"

#include <sys/stat.h>

#include <mutex>
#include <unordered_map>

namespace wince {
namespace {

struct OpenRecord {
    FileIdentity file;
    bool read, write;
    DWORD share;
};

struct OpenTable {
    std::mutex lock;
    std::unordered_map<uint64_t, OpenRecord> records;
    uint64_t next = 1;
};

OpenTable &Table() {
    static OpenTable *table = new OpenTable;  // file handles may outlive static destructors
    return *table;
}

bool Reads(DWORD access) {
    return access & (GENERIC_READ | GENERIC_EXECUTE | GENERIC_ALL);
}
bool Writes(DWORD access) {
    return access & (GENERIC_WRITE | GENERIC_ALL);
}

// Handles without data access (attribute queries) take no part in sharing.
bool Conflicts(const OpenRecord &open, bool read, bool write, DWORD share) {
    if ((!open.read && !open.write) || (!read && !write)) return false;
    if (read && !(open.share & FILE_SHARE_READ)) return true;
    if (write && !(open.share & FILE_SHARE_WRITE)) return true;
    if (open.read && !(share & FILE_SHARE_READ)) return true;
    if (open.write && !(share & FILE_SHARE_WRITE)) return true;
    return false;
}

bool AllowedLocked(OpenTable &t, FileIdentity file, DWORD access, DWORD share) {
    for (const auto &[token, open] : t.records) {
        if (open.file == file && Conflicts(open, Reads(access), Writes(access), share)) return false;
    }
    return true;
}

}  // namespace

FileIdentity IdentityOf(const struct stat &st) {
    return FileIdentity{st.st_dev, st.st_ino};
}

uint64_t RegisterOpen(FileIdentity file, DWORD access, DWORD shareMode) {
    OpenTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    if (!AllowedLocked(t, file, access, shareMode)) return 0;
    uint64_t token = t.next++;
    t.records.emplace(token, OpenRecord{file, Reads(access), Writes(access), shareMode});
    return token;
}

void UnregisterOpen(uint64_t token) {
    OpenTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    t.records.erase(token);
}

bool CanOpen(FileIdentity file, DWORD access, DWORD shareMode) {
    OpenTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    return AllowedLocked(t, file, access, shareMode);
}

bool CanDelete(FileIdentity file) {
    OpenTable &t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    for (const auto &[token, open] : t.records) {
        if (open.file == file && (open.read || open.write) && !(open.share & FILE_SHARE_DELETE)) return false;
    }
    return true;
}

}  // namespace wince
