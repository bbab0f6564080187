// Running the options sheet in this process on a test device, and the
// steps a user takes in it: tabs, "ok", the page's controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/unicode.h"

#include "dialog_support.h"
#include "options/OptionsSheet.h"
#include "dialog/message_box.h"

namespace options_test {

using namespace dialog_test;

// The sheet in front, and its current page.
inline HWND Sheet() {
    for (HWND h = GetActiveWindow(); h; h = GetParent(h))
        if (SendMessageW(h, PSM_GETTABCONTROL, 0, 0)) return h;
    return GetActiveWindow();
}
inline HWND Page() { return reinterpret_cast<HWND>(SendMessageW(Sheet(), PSM_GETCURRENTPAGEHWND, 0, 0)); }
inline HWND PageItem(int id) { return GetDlgItem(Page(), id); }

inline int CurrentTab() {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(Sheet(), PSM_GETTABCONTROL, 0, 0));
    return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
}

// Taps the tab at index, as a user does.
inline void TapTab(int index) {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(Sheet(), PSM_GETTABCONTROL, 0, 0));
    RECT r{};
    SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tabs, &p);
    Tap(p);
}

// The navigation bar's "ok" sends this to the sheet.
inline void PressOk() { PostMessageW(Sheet(), WM_COMMAND, IDOK, 0); }
inline void PressCancel() { PostMessageW(Sheet(), WM_COMMAND, IDCANCEL, 0); }

// A check box clicked as a tap on it clicks it, wherever the page is scrolled.
inline void ClickBox(int id) { SendMessageW(PageItem(id), BM_CLICK, 0, 0); }

inline void SetPageText(int id, LPCWSTR text) { SetWindowTextW(PageItem(id), text); }
inline bool Checked(int id) { return SendMessageW(PageItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

inline std::u16string TextOf(HWND hwnd) {
    WCHAR text[512] = {0};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

// The registry file as it is on disk.
inline std::string RegistryFile(const testing_support::TempDevice &device) {
    std::ifstream in(device.Root() / "registry.reg", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A sheet with a hidden owner, as the program runs it.
inline INT_PTR RunSheet() {
    Window owner;
    owner.Attach(CreateWindowExW(0, TEXT("STATIC"), TEXT("Settings"), WS_CAPTION, -1, -1, 0, 0, nullptr, nullptr,
                                 nullptr, nullptr));
    CSheet sheet(&owner);
    return sheet.DoModal();
}

// Message boxes shown while it lives, as "caption: text".
class MessageBoxes {
   public:
    MessageBoxes() {
        previous_ = wince::SetMessageBoxObserver(
            [this](const std::u16string &text, const std::u16string &caption, UINT type, int) {
                shown.push_back(wince::ToUtf8(caption) + ": " + wince::ToUtf8(text));
                types.push_back(type);
            });
    }
    ~MessageBoxes() { wince::SetMessageBoxObserver(previous_); }
    std::vector<std::string> shown;
    std::vector<UINT> types;

   private:
    wince::MessageBoxObserver previous_;
};

// A registry value of the settings, read afresh from the file.
inline DWORD StoredDword(LPCWSTR name) {
    HKEY key = nullptr;
    DWORD value = 0xDEAD, size = sizeof(value), type = 0;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Varnhold\\Pelloran"), 0, 0, &key) != ERROR_SUCCESS)
        return 0xDEAD;
    RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size);
    RegCloseKey(key);
    return value;
}

inline std::u16string StoredFolder() {
    HKEY key = nullptr;
    WCHAR value[300] = {0};
    DWORD size = sizeof(value), type = 0;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Varnhold\\Pelloran"), 0, 0, &key) != ERROR_SUCCESS)
        return u"(none)";
    RegQueryValueExW(key, TEXT("Folder"), nullptr, &type, reinterpret_cast<BYTE *>(value), &size);
    RegCloseKey(key);
    return value;
}

}  // namespace options_test
