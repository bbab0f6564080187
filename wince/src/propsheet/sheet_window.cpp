// The sheet's window: a dialog that fills the work area, its tab strip
// along the bottom and the active page above it.
#include <aygshell.h>

#include <unordered_map>

#include "sheet.h"

namespace wince {
namespace {

std::unordered_map<HWND, Sheet *> &Sheets() {
    static auto *sheets = new std::unordered_map<HWND, Sheet *>;
    return *sheets;
}

BOOL Answer(HWND hwnd, LRESULT result) {
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

BOOL InitSheet(HWND hwnd, Sheet *sheet) {
    Sheets()[hwnd] = sheet;
    sheet->hwnd = hwnd;
    // The Pocket PC sheet fills the space between the shell's bars, and its
    // OK is the navigation bar's "ok".
    SHINITDLGINFO shidi{SHIDIM_FLAGS, hwnd, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
    SHInitDialog(&shidi);
    sheet->tab = CreateWindowExW(0, WC_TABCONTROLW, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TCS_BOTTOM, 0, 0, 0, 0,
                                 hwnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kSheetTabId)), nullptr, nullptr);
    SendMessageW(sheet->tab, WM_SETFONT, SendMessageW(hwnd, WM_GETFONT, 0, 0), FALSE);
    std::vector<SheetPage> pages;
    pages.swap(sheet->pages);
    for (const SheetPage &page : pages) AppendPage(*sheet, page.handle);
    LayOutSheet(*sheet);
    int start = sheet->startPage;
    if (start < 0 || start >= static_cast<int>(sheet->pages.size())) start = 0;
    // Before the first page shows, so that a framework that subclasses the
    // sheet here sees that page's activation too.
    if ((sheet->header.dwFlags & PSH_USECALLBACK) && sheet->header.pfnCallback)
        sheet->header.pfnCallback(hwnd, PSCB_INITIALIZED, 0);
    if (IsWindow(hwnd) && !sheet->pages.empty()) SelectPage(*sheet, start, false);
    return TRUE;
}

BOOL TabNotify(HWND hwnd, Sheet &sheet, const NMHDR *hdr) {
    if (!hdr || hdr->hwndFrom != sheet.tab) return FALSE;
    if (hdr->code == TCN_SELCHANGING) {
        bool refused = sheet.current >= 0 && NotifyPage(sheet, sheet.pages[sheet.current].window, PSN_KILLACTIVE);
        return Answer(hwnd, refused ? TRUE : FALSE);
    }
    if (hdr->code == TCN_SELCHANGE) {
        int chosen = static_cast<int>(SendMessageW(sheet.tab, TCM_GETCURSEL, 0, 0));
        // A page that cannot be made leaves the tab on the page that stays.
        if (!SelectPage(sheet, chosen, false) && sheet.current >= 0)
            SendMessageW(sheet.tab, TCM_SETCURSEL, sheet.current, 0);
        return Answer(hwnd, 0);
    }
    return FALSE;
}

BOOL Command(Sheet &sheet, WORD id) {
    if (id == IDOK) PressOk(sheet);
    else if (id == IDCANCEL) PressCancel(sheet);
    else return FALSE;
    return TRUE;
}

// The sheet closes without OK or Cancel (its owner went, the program is
// quitting): the pages hear PSN_RESET as for Cancel.
void Destroying(HWND hwnd, Sheet &sheet) {
    if (!sheet.finished) {
        sheet.finished = true;
        sheet.result = IDCANCEL;
        for (const SheetPage &page : sheet.pages)
            if (page.window && IsWindow(page.window)) NotifyPage(sheet, page.window, PSN_RESET);
    }
    for (SheetPage &page : sheet.pages) page.window = nullptr;
    sheet.hwnd = nullptr;
    Sheets().erase(hwnd);
}

}  // namespace

Sheet *FindSheet(HWND hwnd) {
    auto it = Sheets().find(hwnd);
    return it == Sheets().end() ? nullptr : it->second;
}

void LayOutSheet(Sheet &sheet) {
    RECT client;
    GetClientRect(sheet.hwnd, &client);
    RECT display = client;
    SendMessageW(sheet.tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    SetWindowPos(sheet.tab, nullptr, client.left, display.bottom, client.right - client.left,
                 client.bottom - display.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const SheetPage &page : sheet.pages)
        if (page.window)
            SetWindowPos(page.window, nullptr, display.left, display.top, display.right - display.left,
                         display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK SheetDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) return InitSheet(hwnd, reinterpret_cast<Sheet *>(lParam));
    Sheet *sheet = FindSheet(hwnd);
    if (!sheet) return FALSE;
    switch (msg) {
        case WM_SIZE:
            LayOutSheet(*sheet);
            return TRUE;
        case WM_NOTIFY:
            return TabNotify(hwnd, *sheet, reinterpret_cast<const NMHDR *>(lParam));
        case WM_COMMAND:
            return Command(*sheet, LOWORD(wParam));
        case WM_DESTROY:
            Destroying(hwnd, *sheet);
            return FALSE;
    }
    LRESULT result = 0;
    if (SheetMessage(*sheet, msg, wParam, lParam, result)) return Answer(hwnd, result);
    return FALSE;
}

}  // namespace wince
