// Functions the layer declares but does not provide yet. Each fails the way
// the platform reports a missing function, never pretending to succeed.
#include <windows.h>

#include <shellapi.h>

namespace {

template <typename R>
R NotProvided(R failure) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return failure;
}

}  // namespace

