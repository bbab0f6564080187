#include "registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "../core/debug.h"
#include "../device/device.h"
#include "reg_text.h"

namespace fs = std::filesystem;

namespace wince::registry {
namespace {

bool SameTime(const timespec &a, const timespec &b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

FileStamp StampOf(const struct stat &st) {
    FileStamp s;
    s.exists = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.mtime = st.st_mtim;
    s.ctime = st.st_ctim;
    return s;
}

// flock on registry.reg.lock, released when the object goes. The lock file
// is never replaced, unlike registry.reg itself, so all processes lock the same inode.
class FileLock {
   public:
    FileLock(const fs::path &file, int operation) {
        fd_ = open((file.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) return;
        while (flock(fd_, operation) != 0) {
            if (errno != EINTR) {
                close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0) close(fd_);
    }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;
    bool Held() const { return fd_ >= 0; }

   private:
    int fd_ = -1;
};

bool ReadAll(int fd, std::string &bytes) {
    bytes.clear();
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

// registry.reg.damaged, then registry.reg.damaged.2, .3, ... beside it.
std::string DamagedCopyName(const fs::path &file) {
    std::string base = file.string() + ".damaged";
    std::error_code ec;
    if (!fs::exists(base, ec)) return base;
    for (int n = 2;; ++n) {
        std::string name = base + "." + std::to_string(n);
        if (!fs::exists(name, ec)) return name;
    }
}

bool WriteAll(int fd, const std::string &bytes) {
    for (size_t done = 0; done < bytes.size();) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// How long a check of the file is trusted while no write was counted.
constexpr auto kTrustChecked = std::chrono::milliseconds(1);

// The lock file holds the counter in its first eight bytes (zero in a lock
// file made before, which was empty). It only ever grows to that size, so
// the mapping never reaches past its end.
uint64_t *MapChangeCounter(const fs::path &file) {
    int fd = open((file.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && (st.st_size >= 8 || ftruncate(fd, 8) == 0);
    void *p = ok ? mmap(nullptr, 8, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
    close(fd);
    return p == MAP_FAILED ? nullptr : static_cast<uint64_t *>(p);
}

}  // namespace

bool FileStamp::operator==(const FileStamp &o) const {
    if (exists != o.exists) return false;
    return !exists || (device == o.device && inode == o.inode && size == o.size && SameTime(mtime, o.mtime) &&
                       SameTime(ctime, o.ctime));
}

Store &Store::Instance() {
    static Store *store = new Store;  // outlives the static destructors of loaded modules
    return *store;
}

void Store::SyncDevice() {
    unsigned generation = Device::Generation();
    if (generation == generation_ && loaded_) return;
    if (generation != generation_) {
        generation_ = generation;
        file_ = Device::Current().RegistryFile();
        tree_ = RegTree();
        bytes_.clear();
        loaded_ = false;
        if (changes_) munmap(changes_, 8);
        changes_ = nullptr;
        changesTried_ = false;
    }
    FileLock lock(file_, LOCK_SH);  // best effort: a read-only device has no lock file
    uint64_t changes = ChangeCount();
    if (ReloadIfChanged(false)) MarkChecked(changes);
}

uint64_t *Store::Changes() {
    if (!changesTried_) {
        changesTried_ = true;
        changes_ = MapChangeCounter(file_);
    }
    return changes_;
}

uint64_t Store::ChangeCount() {
    uint64_t *counter = Changes();
    return counter ? std::atomic_ref<uint64_t>(*counter).load(std::memory_order_acquire) : 0;
}

void Store::MarkChecked(uint64_t changes) {
    changesSeen_ = changes;
    checked_ = std::chrono::steady_clock::now();
}


fs::path Store::File() {
    SyncDevice();
    return file_;
}

const RegTree &Store::Tree() {
    SyncDevice();
    return tree_;
}

void Store::Refresh() {
    SyncDevice();
    // Counted before the check, so that a write meanwhile makes the next one look again.
    const uint64_t changes = ChangeCount();
    if (loaded_ && changes_ && changes == changesSeen_ &&
        std::chrono::steady_clock::now() - checked_ < kTrustChecked)
        return;
    // The file is only ever replaced whole (written beside it, then renamed),
    // so a stamp equal to the one read means the same content: no lock and
    // no read for that, which every key opened would otherwise pay.
    struct stat st;
    if (loaded_ && (stat(file_.c_str(), &st) == 0 ? StampOf(st) == stamp_ : errno == ENOENT && !stamp_.exists)) {
        MarkChecked(changes);
        return;
    }
    FileLock lock(file_, LOCK_SH);
    if (ReloadIfChanged(false)) MarkChecked(changes);
}

// With compareBytes, an unchanged stamp is not trusted: the file is read and
// compared, since a reused inode within one timestamp tick could hide a change.
bool Store::ReloadIfChanged(bool compareBytes) {
    int fd = open(file_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) {
            WINCE_DEBUG("registry", "%s: cannot read: %s", file_.c_str(), strerror(errno));
            return false;
        }
        if (loaded_ && !stamp_.exists) return true;
        RegTree empty;  // a missing file is an empty registry
        empty.AdoptIds(tree_);
        tree_ = std::move(empty);
        stamp_ = FileStamp{};
        bytes_.clear();
        damaged_ = false;
        loaded_ = true;
        return true;
    }
    struct stat st;
    std::string bytes;
    bool ok = fstat(fd, &st) == 0;
    FileStamp stamp = ok ? StampOf(st) : FileStamp{};
    bool same = loaded_ && stamp == stamp_;
    if (ok && (!same || compareBytes)) ok = ReadAll(fd, bytes);
    close(fd);
    if (!ok) return false;
    if (same && (!compareBytes || bytes == bytes_)) return true;
    stamp_ = stamp;
    if (loaded_ && bytes == bytes_) return true;
    WINCE_DEBUG("registry", "reading %s (%zu bytes)", file_.c_str(), bytes.size());
    ParsedRegistry parsed = ParseRegText(bytes);
    damaged_ = !parsed.damagedLines.empty();
    if (damaged_ && warned_ != stamp) {
        fprintf(stderr, "%s; the file as it is will be kept as %s before it is rewritten\n",
                DamageWarning(file_.string(), parsed.damagedLines).c_str(), DamagedCopyName(file_).c_str());
        warned_ = stamp;
    }
    parsed.tree.AdoptIds(tree_);
    tree_ = std::move(parsed.tree);
    bytes_ = std::move(bytes);
    loaded_ = true;
    return true;
}

LONG Store::Apply(const Change &apply) {
    SyncDevice();
    FileLock lock(file_, LOCK_EX);
    if (!lock.Held()) {
        WINCE_DEBUG("registry", "%s: cannot lock: %s", file_.c_str(), strerror(errno));
        return ERROR_REGISTRY_IO_FAILED;
    }
    if (!ReloadIfChanged(true)) return ERROR_REGISTRY_IO_FAILED;
    MarkChecked(ChangeCount());  // no write can be counted while the lock is held
    bool changed = false;
    LONG result = apply(tree_, &changed);
    if (result != ERROR_SUCCESS || !changed) return result;
    if (Write()) return ERROR_SUCCESS;
    loaded_ = false;  // drop the change that did not reach the file
    bytes_.clear();
    ReloadIfChanged(false);
    return ERROR_REGISTRY_IO_FAILED;
}

// The lines that could not be read are not in the tree, so the file as it
// was goes beside it before anything replaces it.
bool Store::KeepDamagedCopy() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string copy = DamagedCopyName(file_);
        int fd = open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) continue;  // another process took that name meanwhile
        if (fd < 0) break;
        bool ok = WriteAll(fd, bytes_) && fdatasync(fd) == 0;
        close(fd);
        if (!ok) {
            unlink(copy.c_str());
            break;
        }
        fprintf(stderr, "wince: %s was damaged; it was kept as %s before it was rewritten\n", file_.c_str(), copy.c_str());
        damaged_ = false;
        return true;
    }
    fprintf(stderr, "wince: %s is damaged and no copy of it can be kept (%s); it is left as it is\n", file_.c_str(),
            strerror(errno));
    return false;
}

bool Store::Write() {
    if (damaged_ && !KeepDamagedCopy()) return false;
    std::string text = SerializeTree(tree_);
    fs::path folder = file_.parent_path();
    std::string temp = (folder / ".registry.reg.XXXXXX").string();
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        WINCE_DEBUG("registry", "%s: cannot make a temporary file: %s", folder.c_str(), strerror(errno));
        return false;
    }
    struct stat st;
    // fdatasync is enough: the rename below is what makes the new file visible.
    bool ok = fchmod(fd, 0644) == 0 && WriteAll(fd, text) && fdatasync(fd) == 0 && fstat(fd, &st) == 0;
    close(fd);
    if (ok && rename(temp.c_str(), file_.c_str()) != 0) ok = false;
    if (!ok) {
        WINCE_DEBUG("registry", "%s: cannot write: %s", file_.c_str(), strerror(errno));
        unlink(temp.c_str());
        return false;
    }
    if (int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        fsync(dir);
        close(dir);
    }
    // The rename changed the ctime; take the stamp as other processes will see it.
    if (stat(file_.c_str(), &st) == 0) stamp_ = StampOf(st);
    bytes_ = std::move(text);
    if (uint64_t *counter = Changes())
        MarkChecked(std::atomic_ref<uint64_t>(*counter).fetch_add(1, std::memory_order_release) + 1);
    return true;
}

// Needs neither the store nor its lock: a new device's registry file is
// written while a caller may hold both.
void NoteRegistryFileReplaced(const fs::path &file) {
    if (uint64_t *counter = MapChangeCounter(file)) {
        std::atomic_ref<uint64_t>(*counter).fetch_add(1, std::memory_order_release);
        munmap(counter, 8);
    }
}

}  // namespace wince::registry
