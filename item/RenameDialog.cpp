#include "config/WideString.h"
#include "item/RenameDialog.h"

#include "catalogue/DocumentEntry.h"
#include "config/LocalizationTable.h"
#include "drawing/ScreenMode.h"
#include "item/ItemState.h"
#include "item/res/resource.h"

namespace {

#ifndef SETTINGCHANGE_RESET
#define SETTINGCHANGE_RESET 0x3002  // wParam of WM_SETTINGCHANGE when the screen turned
#endif

constexpr int kNameLimit = 260;
constexpr WCHAR kForbidden[] = TEXT("*\\/?<>:\"|");

// The open dialog's request; there is at most one, the dialog being modal.
RenameRequest *openRequest = nullptr;

void ShowRefusal(HWND dialog, const WideString &text) {
    WideString caption = LoadText(IDS_RENAME_CAPTION);
    MessageBoxW(dialog, text.c_str(), caption.c_str(), MB_OK | MB_ICONHAND);
}

bool IsSpace(WCHAR c) {
    WORD type = 0;
    return GetStringTypeW(CT_CTYPE1, &c, 1, &type) && (type & C1_SPACE);
}

WideString Trimmed(const WideString &text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsSpace(text[begin])) ++begin;
    while (end > begin && IsSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

void OnInitDialog(HWND dialog, RenameRequest *request) {
    TranslateDialogTexts(dialog);
    openRequest = request;
    PlaceDialogForLandscape(dialog);
    SetDlgItemTextW(dialog, IDC_NEW_NAME, request->name.c_str());
    SendDlgItemMessageW(dialog, IDC_NEW_NAME, EM_LIMITTEXT, kNameLimit, 0);
    SendDlgItemMessageW(dialog, IDC_NEW_NAME, EM_SETSEL, 0, -1);
}

}  // namespace

WideString FormatWithName(const WideString &format, const WideString &name) {
    // A translation is text from a file: only the one insert is honoured.
    WideString out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == TEXT('%') && i + 1 < format.size() && format[i + 1] == TEXT('s')) {
            out += name;
            ++i;
        } else if (format[i] == TEXT('%') && i + 1 < format.size() && format[i + 1] == TEXT('%')) {
            out += TEXT('%');
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

bool ValidateNewName(HWND dialog, RenameRequest &request) {
    HWND edit = GetDlgItem(dialog, IDC_NEW_NAME);
    if (!edit) return false;  // nothing could be read
    WCHAR buffer[kNameLimit];
    int length = GetWindowTextW(edit, buffer, kNameLimit);
    request.newName = Trimmed(WideString(buffer, length > 0 ? length : 0));
    if (request.newName.empty()) {
        ShowRefusal(dialog, LoadText(IDS_EMPTY_NAME));
        return false;
    }
    if (request.newName.find_first_of(kForbidden) != WideString::npos) {
        ShowRefusal(dialog, LoadText(IDS_BAD_CHARACTERS));
        return false;
    }
    // The file system ignores case: the document's own name in other
    // letters is found here too.
    WideString path = JoinPath(request.folder, request.newName) + request.extension;
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        ShowRefusal(dialog, FormatWithName(LoadText(IDS_NAME_EXISTS), request.newName));
        return false;
    }
    return true;
}

BOOL CALLBACK RenameDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            OnInitDialog(dialog, reinterpret_cast<RenameRequest *>(lParam));
            return TRUE;  // the edit field, first control, takes the focus
        case WM_SETTINGCHANGE:
            // The screen turned: the dialog manager centred the dialog again;
            // keep it clear of the input panel in landscape as at the start.
            if (wParam == SETTINGCHANGE_RESET) PlaceDialogForLandscape(dialog);
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                if (openRequest && ValidateNewName(dialog, *openRequest)) EndDialog(dialog, IDOK);
            } else if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return FALSE;
    }
    return FALSE;
}

INT_PTR RunRenameDialog(HWND owner, RenameRequest &request) {
    HRSRC found = FindResourceW(ModuleHandle, MAKEINTRESOURCEW(IDD_DOCUMENT_NAME), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(ModuleHandle, found) : nullptr;
    auto *dialogTemplate = loaded ? static_cast<LPCDLGTEMPLATE>(LockResource(loaded)) : nullptr;
    if (!dialogTemplate) return -1;
    INT_PTR result = DialogBoxIndirectParamW(ModuleHandle, dialogTemplate, owner, RenameDialogProc,
                                             reinterpret_cast<LPARAM>(&request));
    openRequest = nullptr;
    return result;
}
