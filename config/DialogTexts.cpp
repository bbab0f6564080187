// Texts fetched by identifier and dialogs translated as they open.
#include <vector>

#include "config/LocalizationTable.h"
#include "config/WideString.h"

namespace {

constexpr int kTextBuffer = 1024;
constexpr int kWindowTextBuffer = 4096;
constexpr int kClassNameBuffer = 260;

void TranslateWindowText(HWND window) {
    std::vector<WCHAR> text(kWindowTextBuffer + 1, 0);
    GetWindowTextW(window, text.data(), kWindowTextBuffer);
    WideString translated = FindTranslation(text.data());
    if (!translated.empty()) SetWindowTextW(window, translated.c_str());
}

void TranslateComboItems(HWND combo) {
    std::vector<WCHAR> item(kWindowTextBuffer, 0);
    int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) == -1) continue;
        // Longer items than the buffer are not supported.
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) >= kWindowTextBuffer) continue;
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        WideString translated = FindTranslation(item.data());
        if (translated.empty()) continue;
        SendMessageW(combo, CB_DELETESTRING, i, 0);
        SendMessageW(combo, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(translated.c_str()));
    }
}

}  // namespace

WideString LoadText(UINT id) {
    WCHAR buffer[kTextBuffer];
    if (LoadStringW(LocalizationModule(), id, buffer, kTextBuffer) <= 0) return WideString();
    WideString translated = FindTranslation(buffer);
    if (translated.empty()) return buffer;
    if (translated.size() > kTextBuffer) translated.resize(kTextBuffer);
    return translated;
}

void TranslateDialogTexts(HWND dialog) {
    if (!dialog || !IsWindow(dialog)) return;
    TranslateWindowText(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        TranslateWindowText(child);
        WCHAR className[kClassNameBuffer];
        if (GetClassNameW(child, className, kClassNameBuffer) && lstrcmpiW(className, TEXT("combobox")) == 0)
            TranslateComboItems(child);
    }
}
