// PropertySheet: checks the header, makes the pages and the sheet, runs it
// modally and releases everything; the result is IDOK or IDCANCEL.
#include <memory>

#include "dialog/dialog_create.h"
#include "dialog/template_writer.h"
#include "sheet.h"

namespace wince {
namespace {

bool CollectPages(const PROPSHEETHEADERW &h, Sheet &sheet) {
    if (h.nPages && !(h.dwFlags & PSH_PROPSHEETPAGE ? static_cast<const void *>(h.ppsp)
                                                     : static_cast<const void *>(h.phpage)))
        return false;
    const BYTE *next = reinterpret_cast<const BYTE *>(h.ppsp);
    for (UINT i = 0; i < h.nPages; ++i) {
        HPROPSHEETPAGE page;
        if (h.dwFlags & PSH_PROPSHEETPAGE) {
            auto *psp = reinterpret_cast<const PROPSHEETPAGEW *>(next);
            if (psp->dwSize < sizeof(PROPSHEETPAGEW)) return false;
            next += psp->dwSize;  // each record says how long it is
            page = CreatePropertySheetPageW(psp);
        } else {
            page = h.phpage[i];
        }
        // A page that cannot be made is left out, as are null handles.
        if (page) sheet.pages.push_back(SheetPage{page, nullptr});
    }
    return true;
}

int StartPage(const PROPSHEETHEADERW &h, const Sheet &sheet) {
    if (!(h.dwFlags & PSH_USEPSTARTPAGE)) return static_cast<int>(h.nStartPage);
    for (size_t i = 0; i < sheet.pages.size(); ++i)
        if (h.pStartPage && PageTitle(sheet.pages[i].handle) == SheetText(h.hInstance, h.pStartPage))
            return static_cast<int>(i);
    return 0;
}

void ReleasePages(Sheet &sheet) {
    for (const SheetPage &page : sheet.pages) DestroyPropertySheetPage(page.handle);
    sheet.pages.clear();
}

// The sheet's own template: a popup without a frame; it is placed over the
// work area when it starts.
DialogTemplateWriter SheetTemplate(const std::u16string &caption) {
    return DialogTemplateWriter(WS_POPUP | WS_CLIPCHILDREN, 0, 0, 100, 100, caption);
}

}  // namespace
}  // namespace wince

using namespace wince;

INT_PTR WINAPI PropertySheetW(LPCPROPSHEETHEADERW lppsph) {
    if (!lppsph || lppsph->dwSize < sizeof(PROPSHEETHEADERW) || lppsph->nPages >= MAXPROPPAGES) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (lppsph->dwFlags & (PSH_MODELESS | PSH_WIZARD)) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return -1;
    }
    if (lppsph->hwndParent && !IsWindow(lppsph->hwndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    auto sheet = std::make_unique<Sheet>();
    sheet->header = *lppsph;
    if (!CollectPages(*lppsph, *sheet)) {
        ReleasePages(*sheet);
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    sheet->caption = SheetText(lppsph->hInstance, lppsph->pszCaption);
    sheet->startPage = StartPage(*lppsph, *sheet);
    PFNPROPSHEETCALLBACK callback = (lppsph->dwFlags & PSH_USECALLBACK) ? lppsph->pfnCallback : nullptr;
    if (callback) callback(nullptr, PSCB_GETVERSION, 0);

    DialogTemplateWriter writer = SheetTemplate(sheet->caption);
    std::vector<WORD> words = writer.Words();
    // The callback may change the template's styles before the sheet is made.
    if (callback) callback(nullptr, PSCB_PRECREATE, reinterpret_cast<LPARAM>(words.data()));
    DialogTemplate t;
    if (!ParseDialogTemplate(words.data(), words.size() * sizeof(WORD), t)) {
        ReleasePages(*sheet);
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    HWND hwnd = CreateDialogFromTemplate(lppsph->hInstance, t, lppsph->hwndParent, SheetDialogProc,
                                         reinterpret_cast<LPARAM>(sheet.get()), true);
    if (!hwnd) {
        ReleasePages(*sheet);
        return -1;
    }
    RunModalDialog(hwnd);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    INT_PTR result = sheet->result;
    ReleasePages(*sheet);
    return result;
}
