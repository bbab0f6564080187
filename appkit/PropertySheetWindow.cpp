#include "appkit/PropertySheetWindow.h"

#include "appkit/Application.h"

namespace {
// The sheet whose PropertySheet call is running: its callback binds it.
PropertySheetWindow *starting = nullptr;
}  // namespace

PropertySheetWindow::PropertySheetWindow(UINT captionId, Window *parent, UINT startPage)
    : captionId_(captionId), parent_(parent), startPage_(startPage) {}

PropertyPage *PropertySheetWindow::ActivePage() const {
    if (!Handle()) return nullptr;
    auto page = reinterpret_cast<HWND>(SendMessageW(Handle(), PSM_GETCURRENTPAGEHWND, 0, 0));
    return dynamic_cast<PropertyPage *>(Window::FromHandlePermanent(page));
}

int CALLBACK PropertySheetWindow::SheetCallback(HWND hwnd, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && starting && !starting->Handle()) starting->Subclass(hwnd);
    return 0;
}

INT_PTR PropertySheetWindow::DoModal() {
    if (Handle() || pages_.empty()) return -1;
    std::vector<PROPSHEETPAGEW> headers;
    for (PropertyPage *page : pages_) headers.push_back(page->Header());
    PROPSHEETHEADERW sheet{};
    sheet.dwSize = sizeof(sheet);
    sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_MAXIMIZE;
    sheet.hwndParent = parent_ ? parent_->Handle() : nullptr;
    sheet.hInstance = ProgramInstance();
    sheet.pszCaption = MAKEINTRESOURCEW(captionId_);
    sheet.nPages = static_cast<UINT>(headers.size());
    sheet.nStartPage = startPage_;
    sheet.ppsp = headers.data();
    sheet.pfnCallback = &PropertySheetWindow::SheetCallback;
    PropertySheetWindow *outer = starting;
    starting = this;
    INT_PTR result = PropertySheetW(&sheet);
    starting = outer;
    if (Handle()) Detach();
    return result;
}
