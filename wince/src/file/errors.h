// Host errno values as Win32 error codes, and the guard that keeps C++
// exceptions from crossing the platform boundary.
#pragma once

#include <new>
#include <stdexcept>

#include <windows.h>

// Not in the public headers yet; the values are the documented ones.
#ifndef ERROR_NEGATIVE_SEEK
#define ERROR_NEGATIVE_SEEK 131L
#endif

namespace wince {

DWORD Win32ErrorFromErrno(int error);

// Sets the last error and returns the failure value, for one-line early returns.
inline BOOL FailWith(DWORD error) {
    SetLastError(error);
    return FALSE;
}

template <typename Result, typename Body>
Result Guarded(Result failure, Body &&body) noexcept {
    try {
        return body();
    } catch (const std::exception &) {
        // Allocation is the only thing that throws here in practice.
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return failure;
}

// Defined with the listing cache, which it tells that a call of this
// program may have changed files.
void NoteFileChange();

// Guarded, for calls that may change a file or folder (an access time
// included): once the change is made, the next find takes it in.
template <typename Result, typename Body>
Result GuardedChange(Result failure, Body &&body) noexcept {
    Result result = Guarded(failure, static_cast<Body &&>(body));
    NoteFileChange();
    return result;
}

}  // namespace wince
