// An open file: the host descriptor behind a file handle, with the access
// the handle was opened for and its entry in the sharing table.
#pragma once

#include <unistd.h>

#include <cstdint>

#include "../core/handles.h"
#include "sharing.h"

namespace wince {

class FileObject : public KernelObject {
   public:
    FileObject(int fd, DWORD access, uint64_t shareToken) : fd_(fd), access_(access), shareToken_(shareToken) {}
    ~FileObject() override {
        close(fd_);
        UnregisterOpen(shareToken_);
    }
    FileObject(const FileObject &) = delete;
    FileObject &operator=(const FileObject &) = delete;

    int Fd() const { return fd_; }
    bool CanRead() const { return access_ & (GENERIC_READ | GENERIC_ALL); }
    bool CanWrite() const { return access_ & (GENERIC_WRITE | GENERIC_ALL); }

   private:
    int fd_;
    DWORD access_;
    uint64_t shareToken_;
};

}  // namespace wince
