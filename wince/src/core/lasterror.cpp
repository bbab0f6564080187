// The calling thread's last-error code.
#include <windows.h>

namespace {
// Every call sets it: found at a fixed offset, without a call into the loader.
[[gnu::tls_model("initial-exec")]] thread_local DWORD lastError = ERROR_SUCCESS;
}

DWORD WINAPI GetLastError(void) { return lastError; }

void WINAPI SetLastError(DWORD dwErrCode) { lastError = dwErrCode; }
