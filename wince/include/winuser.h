// User interface services. This header grows with the window manager; for
// now it carries the character functions that live in the user library.
#pragma once

#include <stdarg.h>

#include "windef.h"

WINBASEAPI LPWSTR WINAPI CharLowerW(LPWSTR lpsz);
WINBASEAPI LPWSTR WINAPI CharUpperW(LPWSTR lpsz);
WINBASEAPI DWORD WINAPI CharLowerBuffW(LPWSTR lpsz, DWORD cchLength);
WINBASEAPI DWORD WINAPI CharUpperBuffW(LPWSTR lpsz, DWORD cchLength);
WINBASEAPI LPWSTR WINAPI CharNextW(LPCWSTR lpsz);
WINBASEAPI int WINAPIV wsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, ...);
WINBASEAPI int WINAPI wvsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, va_list arglist);

#define CharLower CharLowerW
#define CharUpper CharUpperW
#define CharLowerBuff CharLowerBuffW
#define CharUpperBuff CharUpperBuffW
#define CharNext CharNextW
#define wsprintf wsprintfW
#define wvsprintf wvsprintfW
