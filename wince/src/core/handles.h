// The kernel's handle table: files, find handles and, later, processes share
// one numbering, as on the device, and CloseHandle releases any of them.
#pragma once

#include <memory>
#include <typeinfo>

#include <windows.h>

namespace wince {

class KernelObject {
   public:
    virtual ~KernelObject() = default;
    // FindClose, not CloseHandle, releases a find handle.
    virtual bool ClosedByCloseHandle() const { return true; }
};

HANDLE AllocHandle(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);
bool FreeHandle(HANDLE handle);

template <typename T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle) {
    std::shared_ptr<KernelObject> object = LookupHandle(handle);
    // Most handles are asked for as what they are: a type compare is
    // cheaper than a search through the class tree (FindNextFile per entry).
    if (object && typeid(*object) == typeid(T)) return std::static_pointer_cast<T>(std::move(object));
    return std::dynamic_pointer_cast<T>(std::move(object));
}

}  // namespace wince
