// Property sheet pages: CreatePropertySheetPage, DestroyPropertySheetPage,
// the page's title and its window, a child dialog of the sheet.
#include <cstring>

#include "dialog/dialog_create.h"
#include "sheet.h"

namespace wince {
namespace {

bool ReadTemplate(PROPSHEETPAGEW *psp, DialogTemplate &t) {
    if (psp->dwFlags & PSP_DLGINDIRECT) {
        // An in-memory template carries no size: its own counts bound the walk.
        if (psp->pResource && ParseDialogTemplate(psp->pResource, SIZE_MAX / 2, t)) return true;
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return LoadDialogTemplate(psp->hInstance, psp->pszTemplate, t);
}

}  // namespace

std::u16string SheetText(HINSTANCE instance, LPCWSTR text) {
    if (!text) return u"";
    if (!IS_INTRESOURCE(text)) return text;
    WCHAR buffer[256];
    int n = LoadStringW(instance, static_cast<UINT>(reinterpret_cast<UINT_PTR>(text)), buffer, 256);
    return std::u16string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

std::u16string PageTitle(HPROPSHEETPAGE page) {
    PROPSHEETPAGEW *psp = page->Page();
    if (psp->dwFlags & PSP_USETITLE) return SheetText(psp->hInstance, psp->pszTitle);
    DialogTemplate t;
    if (!ReadTemplate(psp, t)) return u"";
    return t.title.text;
}

HWND CreatePageWindow(HPROPSHEETPAGE page, HWND sheet) {
    PROPSHEETPAGEW *psp = page->Page();
    if ((psp->dwFlags & PSP_USECALLBACK) && psp->pfnCallback && !psp->pfnCallback(nullptr, PSPCB_CREATE, psp))
        return nullptr;
    DialogTemplate t;
    if (!ReadTemplate(psp, t)) return nullptr;
    // A page is a control parent inside the sheet, whatever its template says.
    t.style &= ~static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME);
    t.style |= WS_CHILD | DS_CONTROL;
    t.x = t.y = 0;
    return CreateDialogFromTemplate(psp->hInstance, t, sheet, psp->pfnDlgProc, reinterpret_cast<LPARAM>(psp), false);
}

}  // namespace wince

using namespace wince;

HPROPSHEETPAGE WINAPI CreatePropertySheetPageW(LPCPROPSHEETPAGEW lppsp) {
    if (!lppsp || lppsp->dwSize < sizeof(PROPSHEETPAGEW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto *page = new _PSP;
    page->bytes.resize(lppsp->dwSize);
    memcpy(page->bytes.data(), lppsp, lppsp->dwSize);
    return page;
}

BOOL WINAPI DestroyPropertySheetPage(HPROPSHEETPAGE hPSPage) {
    if (!hPSPage) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    PROPSHEETPAGEW *psp = hPSPage->Page();
    if ((psp->dwFlags & PSP_USECALLBACK) && psp->pfnCallback) psp->pfnCallback(nullptr, PSPCB_RELEASE, psp);
    delete hPSPage;
    return TRUE;
}
