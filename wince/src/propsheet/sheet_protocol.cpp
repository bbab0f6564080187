// The sheet's protocol with its pages: page changes (PSN_KILLACTIVE, then
// PSN_SETACTIVE), OK (PSN_KILLACTIVE, then PSN_APPLY to every page that
// has a window), Cancel (PSN_QUERYCANCEL, then PSN_RESET), and the PSM_
// messages.
#include <algorithm>

#include "sheet.h"

namespace wince {
namespace {

HWND FirstControl(HWND page) {
    HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
    return first ? first : page;
}

int IndexOfHandle(const Sheet &sheet, HPROPSHEETPAGE handle) {
    for (size_t i = 0; i < sheet.pages.size(); ++i)
        if (sheet.pages[i].handle == handle) return static_cast<int>(i);
    return -1;
}

// A page named by handle (which wins) or by index.
int PageIndex(const Sheet &sheet, WPARAM index, LPARAM handle) {
    if (handle) return IndexOfHandle(sheet, reinterpret_cast<HPROPSHEETPAGE>(handle));
    return index < sheet.pages.size() ? static_cast<int>(index) : -1;
}

bool MakeWindow(Sheet &sheet, int index) {
    SheetPage &page = sheet.pages[index];
    if (page.window) return true;
    page.window = CreatePageWindow(page.handle, sheet.hwnd);
    if (!page.window) return false;
    LayOutSheet(sheet);
    return true;
}

void Finish(Sheet &sheet, INT_PTR result) {
    sheet.finished = true;
    sheet.result = result;
    EndDialog(sheet.hwnd, result);
}

bool RemovePage(Sheet &sheet, int index) {
    if (index < 0) return false;
    SheetPage page = sheet.pages[index];
    sheet.pages.erase(sheet.pages.begin() + index);
    SendMessageW(sheet.tab, TCM_DELETEITEM, index, 0);
    bool wasCurrent = index == sheet.current;
    if (sheet.current > index) sheet.current--;
    if (wasCurrent) sheet.current = -1;
    if (page.window) {
        sheet.changed.erase(std::remove(sheet.changed.begin(), sheet.changed.end(), page.window), sheet.changed.end());
        DestroyWindow(page.window);
    }
    DestroyPropertySheetPage(page.handle);
    if (wasCurrent && !sheet.pages.empty())
        SelectPage(sheet, std::min<int>(index, static_cast<int>(sheet.pages.size()) - 1), false);
    else if (sheet.current >= 0)
        SendMessageW(sheet.tab, TCM_SETCURSEL, sheet.current, 0);
    return true;
}

void MarkChanged(Sheet &sheet, HWND page, bool changed) {
    auto it = std::find(sheet.changed.begin(), sheet.changed.end(), page);
    if (changed && it == sheet.changed.end()) sheet.changed.push_back(page);
    if (!changed && it != sheet.changed.end()) sheet.changed.erase(it);
}

void PressButton(Sheet &sheet, WPARAM button) {
    switch (button) {
        case PSBTN_OK:
            PressOk(sheet);
            break;
        case PSBTN_CANCEL:
            PressCancel(sheet);
            break;
        case PSBTN_APPLYNOW:
            // The Apply button is there, and enabled, only when a page changed something.
            if (!(sheet.header.dwFlags & PSH_NOAPPLYNOW) && !sheet.changed.empty()) ApplyPages(sheet);
            break;
    }
}

}  // namespace

LRESULT NotifyPage(const Sheet &sheet, HWND page, UINT code, LPARAM lParam) {
    if (!page) return 0;
    PSHNOTIFY notify{};
    notify.hdr.hwndFrom = sheet.hwnd;
    notify.hdr.idFrom = 0;
    notify.hdr.code = code;
    notify.lParam = lParam;
    return SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
}

bool SelectPage(Sheet &sheet, int index, bool leave) {
    if (index < 0 || index >= static_cast<int>(sheet.pages.size())) return false;
    HWND old = sheet.current >= 0 ? sheet.pages[sheet.current].window : nullptr;
    if (index == sheet.current) return true;
    if (leave && old && NotifyPage(sheet, old, PSN_KILLACTIVE)) return false;
    if (!MakeWindow(sheet, index)) return false;
    HWND now = sheet.pages[index].window;
    sheet.current = index;
    SendMessageW(sheet.tab, TCM_SETCURSEL, index, 0);
    NotifyPage(sheet, now, PSN_SETACTIVE);
    if (!IsWindow(now)) return false;
    HWND focus = GetFocus();
    bool focusInOld = old && (focus == old || IsChild(old, focus));
    ShowWindow(now, SW_SHOW);
    if (old && old != now && IsWindow(old)) ShowWindow(old, SW_HIDE);
    if (focusInOld || !focus || (focus != sheet.hwnd && !IsChild(sheet.hwnd, focus))) SetFocus(FirstControl(now));
    return true;
}

bool AppendPage(Sheet &sheet, HPROPSHEETPAGE page) {
    if (!page || sheet.pages.size() >= MAXPROPPAGES - 1) return false;
    sheet.pages.push_back(SheetPage{page, nullptr});
    int index = static_cast<int>(sheet.pages.size()) - 1;
    std::u16string title = PageTitle(page);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = title.data();
    SendMessageW(sheet.tab, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
    if (page->Page()->dwFlags & PSP_PREMATURE) MakeWindow(sheet, index);
    return true;
}

bool ApplyPages(Sheet &sheet) {
    for (size_t i = 0; i < sheet.pages.size(); ++i) {
        HWND window = sheet.pages[i].window;
        if (!window) continue;
        LRESULT answer = NotifyPage(sheet, window, PSN_APPLY, TRUE);
        if (answer == PSNRET_INVALID_NOCHANGEPAGE) return false;
        if (answer == PSNRET_INVALID) {
            // The page that refused is shown, so the user sees why.
            SelectPage(sheet, static_cast<int>(i), false);
            return false;
        }
    }
    sheet.changed.clear();
    return true;
}

void PressOk(Sheet &sheet) {
    if (sheet.finished) return;
    if (sheet.current >= 0 && NotifyPage(sheet, sheet.pages[sheet.current].window, PSN_KILLACTIVE)) return;
    if (!ApplyPages(sheet)) return;
    Finish(sheet, IDOK);
}

void PressCancel(Sheet &sheet) {
    if (sheet.finished) return;
    if (sheet.current >= 0 && NotifyPage(sheet, sheet.pages[sheet.current].window, PSN_QUERYCANCEL)) return;
    for (const SheetPage &page : sheet.pages)
        if (page.window) NotifyPage(sheet, page.window, PSN_RESET);
    Finish(sheet, IDCANCEL);
}

bool SheetMessage(Sheet &sheet, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) {
    switch (msg) {
        case PSM_SETCURSEL:
            result = SelectPage(sheet, PageIndex(sheet, wParam, lParam), true);
            return true;
        case PSM_GETCURRENTPAGEHWND:
            result = reinterpret_cast<LRESULT>(
                sheet.finished || sheet.current < 0 ? nullptr : sheet.pages[sheet.current].window);
            return true;
        case PSM_GETTABCONTROL:
            result = reinterpret_cast<LRESULT>(sheet.tab);
            return true;
        case PSM_PRESSBUTTON:
            PressButton(sheet, wParam);
            result = 0;
            return true;
        case PSM_CHANGED:
        case PSM_UNCHANGED:
            MarkChanged(sheet, reinterpret_cast<HWND>(wParam), msg == PSM_CHANGED);
            result = 0;
            return true;
        case PSM_APPLY:
            result = ApplyPages(sheet);
            return true;
        case PSM_ADDPAGE:
            result = AppendPage(sheet, reinterpret_cast<HPROPSHEETPAGE>(lParam));
            return true;
        case PSM_REMOVEPAGE:
            result = RemovePage(sheet, PageIndex(sheet, wParam, lParam));
            return true;
        case PSM_SETTITLEW:
            sheet.caption = SheetText(sheet.header.hInstance, reinterpret_cast<LPCWSTR>(lParam));
            SetWindowTextW(sheet.hwnd, sheet.caption.c_str());
            result = 0;
            return true;
    }
    return false;
}

}  // namespace wince
