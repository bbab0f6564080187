// The kernel's and the user library's string functions.
#include <windows.h>

#include "collation.h"
#include "unicode.h"

int WINAPI lstrlenW(LPCWSTR lpString) {
    if (!lpString) return 0;
    return static_cast<int>(wince::StringLength(lpString));
}

LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2) {
    if (!lpString1 || !lpString2) return nullptr;
    LPWSTR d = lpString1;
    while ((*d++ = *lpString2++)) {
    }
    return lpString1;
}

// Copies at most iMaxLength - 1 characters and always terminates.
LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength) {
    if (!lpString1 || !lpString2) return nullptr;
    if (iMaxLength <= 0) return lpString1;
    int i = 0;
    for (; i < iMaxLength - 1 && lpString2[i]; ++i) lpString1[i] = lpString2[i];
    lpString1[i] = 0;
    return lpString1;
}

LPWSTR WINAPI lstrcatW(LPWSTR lpString1, LPCWSTR lpString2) {
    if (!lpString1 || !lpString2) return nullptr;
    lstrcpyW(lpString1 + lstrlenW(lpString1), lpString2);
    return lpString1;
}

int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2) {
    return wince::Collate(lpString1 ? lpString1 : u"", -1, lpString2 ? lpString2 : u"", -1, false);
}

int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2) {
    return wince::Collate(lpString1 ? lpString1 : u"", -1, lpString2 ? lpString2 : u"", -1, true);
}

int WINAPI CompareStringW(LCID, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                          int cchCount2) {
    if (!lpString1 || !lpString2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (dwCmpFlags & ~static_cast<DWORD>(NORM_IGNORECASE)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    int r = wince::Collate(lpString1, cchCount1, lpString2, cchCount2, dwCmpFlags & NORM_IGNORECASE);
    return r < 0 ? CSTR_LESS_THAN : r > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
}

// A pointer argument whose high word is zero is a single character, as on
// the device: CharLower/CharUpper then return the converted character.
LPWSTR WINAPI CharLowerW(LPWSTR lpsz) {
    auto value = reinterpret_cast<uintptr_t>(lpsz);
    if (value <= 0xFFFF) return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(wince::FoldLower(value)));
    for (LPWSTR p = lpsz; *p; ++p) *p = wince::FoldLower(*p);
    return lpsz;
}

LPWSTR WINAPI CharUpperW(LPWSTR lpsz) {
    auto value = reinterpret_cast<uintptr_t>(lpsz);
    if (value <= 0xFFFF) return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(wince::FoldUpper(value)));
    for (LPWSTR p = lpsz; *p; ++p) *p = wince::FoldUpper(*p);
    return lpsz;
}

DWORD WINAPI CharLowerBuffW(LPWSTR lpsz, DWORD cchLength) {
    if (!lpsz) return 0;
    for (DWORD i = 0; i < cchLength; ++i) lpsz[i] = wince::FoldLower(lpsz[i]);
    return cchLength;
}

DWORD WINAPI CharUpperBuffW(LPWSTR lpsz, DWORD cchLength) {
    if (!lpsz) return 0;
    for (DWORD i = 0; i < cchLength; ++i) lpsz[i] = wince::FoldUpper(lpsz[i]);
    return cchLength;
}

LPWSTR WINAPI CharNextW(LPCWSTR lpsz) {
    if (!lpsz) return nullptr;
    return const_cast<LPWSTR>(*lpsz ? lpsz + 1 : lpsz);
}

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
    void *p = (uFlags & LMEM_ZEROINIT) ? calloc(1, uBytes ? uBytes : 1) : malloc(uBytes ? uBytes : 1);
    if (!p) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return p;
}

HLOCAL WINAPI LocalReAlloc(HLOCAL hMem, SIZE_T uBytes, UINT) {
    void *p = realloc(hMem, uBytes ? uBytes : 1);
    if (!p) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return p;
}

HLOCAL WINAPI LocalFree(HLOCAL hMem) {
    free(hMem);
    return nullptr;
}
