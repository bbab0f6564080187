#include "appkit/PropertyPage.h"

#include "appkit/Application.h"

PropertyPage::PropertyPage(UINT templateId, UINT captionId) : Dialog(templateId, nullptr) {
    header_.dwSize = sizeof(header_);
    header_.dwFlags = PSP_DEFAULT;
    header_.hInstance = ProgramInstance();
    header_.pszTemplate = MAKEINTRESOURCEW(templateId);
    header_.pfnDlgProc = &PropertyPage::PageDialogProc;
    header_.lParam = reinterpret_cast<LPARAM>(this);
    if (captionId != 0) {
        WCHAR caption[256];
        if (LoadStringW(header_.hInstance, captionId, caption, 256) > 0) SetTitle(caption);
    }
}

void PropertyPage::SetTitle(const WideString &title) {
    title_ = title;
    header_.pszTitle = title_.c_str();
    header_.dwFlags |= PSP_USETITLE;
}

BOOL PropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

BOOL CALLBACK PropertyPage::PageDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    // The sheet hands the page its copy of the page header.
    auto *header = reinterpret_cast<const PROPSHEETPAGEW *>(lParam);
    auto *page = header ? reinterpret_cast<PropertyPage *>(header->lParam) : nullptr;
    return page ? page->StartDialog(hwnd, wParam, lParam) : FALSE;
}

bool PropertyPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
    if (message == WM_NOTIFY && lParam) {
        const NMHDR &header = *reinterpret_cast<const NMHDR *>(lParam);
        switch (header.code) {
            case PSN_SETACTIVE:
            case PSN_KILLACTIVE:
            case PSN_APPLY:
            case PSN_RESET:
                result = OnSheetNotify(header);
                SetWindowLongW(Handle(), DWL_MSGRESULT, static_cast<LONG>(result));
                return true;
        }
    }
    return Dialog::OnMessage(message, wParam, lParam, result);
}

LRESULT PropertyPage::OnSheetNotify(const NMHDR &header) {
    switch (header.code) {
        case PSN_SETACTIVE:
            return OnSetActive() ? 0 : -1;
        case PSN_KILLACTIVE:
            return OnKillActive() ? FALSE : TRUE;
        case PSN_APPLY:
            return OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        case PSN_RESET:
            OnCancel();
            return 0;
    }
    return 0;
}
