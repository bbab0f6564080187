#include "appkit/DataExchange.h"

#include <vector>

#include "appkit/Dialog.h"

namespace {

// The framework's wording; a program may translate it through its table.
const WCHAR kIntegerExpected[] = TEXT("Please enter a whole number.");
const WCHAR kTooLong[] = TEXT("Please enter no more than %d characters.");

WideString WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::vector<WCHAR> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, 0);
    GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return WideString(buffer.data());
}

bool IsBlank(WCHAR c) { return c == ' ' || c == '\t'; }

// The caption of the top-level window the dialog belongs to.
WideString Caption(HWND dialog) {
    HWND top = dialog;
    while (GetParent(top) && (GetWindowLongW(top, GWL_STYLE) & WS_CHILD)) top = GetParent(top);
    return WindowText(top);
}

}  // namespace

bool ParseDialogInteger(LPCWSTR text, int &value) {
    if (!text) return false;
    while (IsBlank(*text)) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    if (*text < '0' || *text > '9') return false;
    long long number = 0;
    while (*text >= '0' && *text <= '9') {
        number = number * 10 + (*text++ - '0');
        if (number > 2147483648LL) return false;
    }
    while (IsBlank(*text)) ++text;
    if (*text) return false;
    if (negative) number = -number;
    if (number > 2147483647LL) return false;
    value = static_cast<int>(number);
    return true;
}

HWND DataExchange::Item(int id) const { return GetDlgItem(dialog_.Handle(), id); }

void DataExchange::Refuse(HWND control, LPCWSTR message) {
    failed_ = true;
    MessageBoxW(dialog_.Handle(), message, Caption(dialog_.Handle()).c_str(), MB_OK | MB_ICONEXCLAMATION);
    if (control) SetFocus(control);
}

void DataExchange::Text(int id, WideString &value, int maxLength) {
    if (failed_) return;
    HWND control = Item(id);
    if (!control) return;
    if (!saving_) {
        SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
        SetWindowTextW(control, value.c_str());
        return;
    }
    WideString text = WindowText(control);
    if (static_cast<int>(text.size()) > maxLength) {
        WCHAR message[128];
        wsprintfW(message, kTooLong, maxLength);
        Refuse(control, message);
        return;
    }
    value = text;
}

void DataExchange::Integer(int id, int &value) {
    if (failed_) return;
    HWND control = Item(id);
    if (!control) return;
    if (!saving_) {
        WCHAR text[16];
        wsprintfW(text, TEXT("%d"), value);
        SetWindowTextW(control, text);
        return;
    }
    int parsed = 0;
    if (!ParseDialogInteger(WindowText(control).c_str(), parsed)) {
        Refuse(control, kIntegerExpected);
        return;
    }
    value = parsed;
}

void DataExchange::Check(int id, bool &value) {
    if (failed_) return;
    HWND control = Item(id);
    if (!control) return;
    if (!saving_) {
        SendMessageW(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    value = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DataExchange::Control(int id, Window &control) {
    if (control.Handle()) return;
    HWND window = Item(id);
    if (window) control.Subclass(window);
}
