// The dialog item functions: controls by id, their text, numbers and
// check states.
#include <climits>
#include <string>

#include "window/window.h"

using namespace wince;

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    Window *dialog = CheckHandle(hDlg);
    if (!dialog) return nullptr;
    for (Window *child : dialog->children)
        if (static_cast<int>(child->id) == nIDDlgItem || child->id == static_cast<UINT_PTR>(nIDDlgItem))
            return child->handle;
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    Window *w = CheckHandle(hWnd);
    if (!w || !w->IsChild()) return 0;
    return static_cast<int>(w->id);
}

BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString) {
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item ? SetWindowTextW(item, lpString) : FALSE;
}

UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax) {
    if (lpString && cchMax > 0) lpString[0] = 0;
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item ? static_cast<UINT>(GetWindowTextW(item, lpString, cchMax)) : 0;
}

BOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned) {
    WCHAR text[16];
    wsprintfW(text, bSigned ? u"%d" : u"%u", uValue);
    return SetDlgItemTextW(hDlg, nIDDlgItem, text);
}

// Spaces around the number are allowed; anything else, or a value out of
// range, fails.
UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL *lpTranslated, BOOL bSigned) {
    if (lpTranslated) *lpTranslated = FALSE;
    WCHAR text[64];
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    if (!item) return 0;
    int length = GetWindowTextW(item, text, 64);
    if (length >= 63) return 0;
    const WCHAR *p = text;
    while (*p == ' ') ++p;
    bool negative = false;
    if (bSigned && (*p == '-' || *p == '+')) negative = *p++ == '-';
    if (*p < '0' || *p > '9') return 0;
    unsigned long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > 0xFFFFFFFFull) return 0;
    }
    while (*p == ' ') ++p;
    if (*p) return 0;
    if (bSigned) {
        if (negative ? value > 0x80000000ull : value > static_cast<unsigned long long>(INT_MAX)) return 0;
        if (lpTranslated) *lpTranslated = TRUE;
        return static_cast<UINT>(negative ? -static_cast<long long>(value) : static_cast<long long>(value));
    }
    if (lpTranslated) *lpTranslated = TRUE;
    return static_cast<UINT>(value);
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    HWND item = GetDlgItem(hDlg, nIDButton);
    if (!item) return FALSE;
    SendMessageW(item, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    HWND item = GetDlgItem(hDlg, nIDButton);
    return item ? static_cast<UINT>(SendMessageW(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL WINAPI CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    Window *dialog = CheckHandle(hDlg);
    if (!dialog) return FALSE;
    std::vector<HWND> buttons;
    for (Window *child : dialog->children) {
        int id = static_cast<int>(child->id);
        if (id >= nIDFirstButton && id <= nIDLastButton) buttons.push_back(child->handle);
    }
    for (HWND b : buttons)
        if (IsWindow(b)) SendMessageW(b, BM_SETCHECK, GetDlgCtrlID(b) == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    return TRUE;
}

LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item ? SendMessageW(item, Msg, wParam, lParam) : 0;
}
