// Character classification and code-page conversion.
#include <windows.h>

#include <cstring>
#include <cwctype>
#include <locale.h>
#include <wctype.h>

#include "unicode.h"

namespace {

locale_t Locale() {
    static locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return loc;
}

WORD CType1(char16_t c) {
    WORD t = 0;
    if (c >= 0xD800 && c <= 0xDFFF) return 0;
    locale_t loc = Locale();
    wint_t w = c;
    auto is = [&](int (*fn)(wint_t, locale_t), int (*ascii)(wint_t)) { return loc ? fn(w, loc) : ascii(w); };
    if (is(iswupper_l, iswupper)) t |= C1_UPPER;
    if (is(iswlower_l, iswlower)) t |= C1_LOWER;
    if (c >= u'0' && c <= u'9') t |= C1_DIGIT;
    if (is(iswspace_l, iswspace) || c == 0xA0) t |= C1_SPACE;
    if (is(iswpunct_l, iswpunct)) t |= C1_PUNCT;
    if (is(iswcntrl_l, iswcntrl)) t |= C1_CNTRL;
    if (c == u' ' || c == u'\t' || c == 0xA0 || c == 0x3000) t |= C1_BLANK;
    if ((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')) t |= C1_XDIGIT;
    if (is(iswalpha_l, iswalpha)) t |= C1_ALPHA;
    if (t & (C1_UPPER | C1_LOWER)) t |= C1_ALPHA;
    return t;
}

}  // namespace

BOOL WINAPI GetStringTypeW(DWORD dwInfoType, LPCWSTR lpSrcStr, int cchSrc, LPWORD lpCharType) {
    if (!lpSrcStr || !lpCharType || cchSrc == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (dwInfoType != CT_CTYPE1) {
        // Only the first class of character types is provided.
        SetLastError(dwInfoType == CT_CTYPE2 || dwInfoType == CT_CTYPE3 ? ERROR_CALL_NOT_IMPLEMENTED
                                                                         : ERROR_INVALID_FLAGS);
        return FALSE;
    }
    int n = cchSrc < 0 ? lstrlenW(lpSrcStr) + 1 : cchSrc;
    for (int i = 0; i < n; ++i) lpCharType[i] = CType1(lpSrcStr[i]);
    return TRUE;
}

// CP_ACP and CP_OEMCP are Latin-1 on the simulated device; CP_UTF8 is UTF-8.
int WINAPI MultiByteToWideChar(UINT CodePage, DWORD, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                               int cchWideChar) {
    if (!lpMultiByteStr || cbMultiByte == 0 || cchWideChar < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t n = cbMultiByte < 0 ? strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    std::u16string text;
    if (CodePage == CP_UTF8) {
        text = wince::FromUtf8(std::string_view(lpMultiByteStr, n));
    } else if (CodePage == CP_ACP || CodePage == CP_OEMCP || CodePage == 1252 || CodePage == 28591) {
        for (size_t i = 0; i < n; ++i) text += static_cast<char16_t>(static_cast<unsigned char>(lpMultiByteStr[i]));
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (cchWideChar == 0) return static_cast<int>(text.size());
    if (text.size() > static_cast<size_t>(cchWideChar)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    text.copy(lpWideCharStr, text.size());
    return static_cast<int>(text.size());
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                               int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) {
    if (!lpWideCharStr || cchWideChar == 0 || cbMultiByte < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t n = cchWideChar < 0 ? wince::StringLength(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
    std::u16string_view text(lpWideCharStr, n);
    std::string bytes;
    BOOL usedDefault = FALSE;
    if (CodePage == CP_UTF8) {
        bytes = wince::ToUtf8(text);
    } else if (CodePage == CP_ACP || CodePage == CP_OEMCP || CodePage == 1252 || CodePage == 28591) {
        char fallback = lpDefaultChar ? *lpDefaultChar : '?';
        for (char16_t c : text) {
            if (c > 0xFF) usedDefault = TRUE;
            bytes += c > 0xFF ? fallback : static_cast<char>(c);
        }
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (lpUsedDefaultChar) *lpUsedDefaultChar = usedDefault;
    if (cbMultiByte == 0) return static_cast<int>(bytes.size());
    if (bytes.size() > static_cast<size_t>(cbMultiByte)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    bytes.copy(lpMultiByteStr, bytes.size());
    return static_cast<int>(bytes.size());
}
