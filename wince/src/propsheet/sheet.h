// What the property sheet manager keeps: a page as CreatePropertySheetPage
// made it, and a running sheet with its pages, tabs and state.
#pragma once

#include <commctrl.h>

#include <string>
#include <vector>

// The record behind an HPROPSHEETPAGE: the caller's PROPSHEETPAGE copied
// whole (dwSize bytes, so that data a program appends travels with it); its
// address is what the page's WM_INITDIALOG receives.
struct _PSP {
    std::vector<BYTE> bytes;
    PROPSHEETPAGEW *Page() { return reinterpret_cast<PROPSHEETPAGEW *>(bytes.data()); }
};

namespace wince {

struct SheetPage {
    HPROPSHEETPAGE handle = nullptr;
    HWND window = nullptr;  // made when the page is first shown
};

struct Sheet {
    PROPSHEETHEADERW header{};
    std::u16string caption;
    std::vector<SheetPage> pages;
    HWND hwnd = nullptr;
    HWND tab = nullptr;
    int current = -1;
    int startPage = 0;
    std::vector<HWND> changed;  // pages that sent PSM_CHANGED
    bool finished = false;      // OK or Cancel has run its course
    INT_PTR result = IDCANCEL;
};

// The tab control's identifier within the sheet.
constexpr int kSheetTabId = 0x3020;

// The sheet's dialog procedure; WM_INITDIALOG's lParam is the Sheet.
BOOL CALLBACK SheetDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
Sheet *FindSheet(HWND hwnd);

// WM_NOTIFY with a PSHNOTIFY to a page; the page's answer (DWLP_MSGRESULT).
LRESULT NotifyPage(const Sheet &sheet, HWND page, UINT code, LPARAM lParam = 0);
// Shows the page at index, making its window first if need be. With leave,
// the current page is asked first (PSN_KILLACTIVE) and may refuse. False
// when the page stays as it was.
bool SelectPage(Sheet &sheet, int index, bool leave);
// Places the tab strip along the bottom and the pages above it.
void LayOutSheet(Sheet &sheet);
// Adds a page at the end (PSM_ADDPAGE and the header's pages).
bool AppendPage(Sheet &sheet, HPROPSHEETPAGE page);
// The sheet's OK, Apply and Cancel; each may be refused by a page.
void PressOk(Sheet &sheet);
bool ApplyPages(Sheet &sheet);
void PressCancel(Sheet &sheet);
// The PSM_ messages; false for a message that is not one of them.
bool SheetMessage(Sheet &sheet, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result);

// A text given as a string or as a string resource of the instance.
std::u16string SheetText(HINSTANCE instance, LPCWSTR text);
// The page's tab text: its title with PSP_USETITLE, else its template's caption.
std::u16string PageTitle(HPROPSHEETPAGE page);
// Makes the page's window as a hidden child of the sheet; null when the
// page's callback refuses or its template cannot be read.
HWND CreatePageWindow(HPROPSHEETPAGE page, HWND sheet);

}  // namespace wince
