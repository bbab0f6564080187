#include "control_util.h"

namespace wince::controls {

int Scaled(int at96) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return (at96 * (dpi ? dpi : 96) + 48) / 96;
}

void RegisterControlClass(LPCWSTR name, WNDPROC proc, UINT style) {
    WNDCLASSW wc{};
    wc.style = style | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(void *);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

void SetState(HWND hwnd, void *state) { SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(state)); }

HFONT FontOrSystem(HFONT font) { return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)); }

int FontHeight(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FontOrSystem(font));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm.tmHeight;
}

void NotifyParent(HWND control, WORD code) {
    HWND parent = GetParent(control);
    if (!parent) return;
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

HBRUSH ControlColors(HWND control, HDC hdc, UINT ctlColorMessage) {
    HWND parent = GetParent(control);
    HBRUSH brush = nullptr;
    if (parent)
        brush = reinterpret_cast<HBRUSH>(
            SendMessageW(parent, ctlColorMessage, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control)));
    if (!brush) brush = reinterpret_cast<HBRUSH>(DefWindowProcW(control, ctlColorMessage,
                                                                 reinterpret_cast<WPARAM>(hdc),
                                                                 reinterpret_cast<LPARAM>(control)));
    return brush;
}

void UseGrayText(HDC hdc) { SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT)); }

void DrawFocusFrame(HDC hdc, const RECT &r) {
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    DrawFocusRect(hdc, &inner);
}

void Fill(HDC hdc, const RECT &r, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(hdc, &r, brush);
    DeleteObject(brush);
}

void Frame(HDC hdc, const RECT &r, int thickness, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    RECT f = r;
    for (int i = 0; i < thickness && f.right - f.left > 0 && f.bottom - f.top > 0; ++i) {
        FrameRect(hdc, &f, brush);
        InflateRect(&f, -1, -1);
    }
    DeleteObject(brush);
}

int MeasureTextWidth(HFONT font, const std::u16string &text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FontOrSystem(font));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size.cx;
}

void RegisterWindowClassOnce(LPCWSTR name, WNDPROC proc) {
    WNDCLASSW existing;
    if (GetClassInfoW(nullptr, name, &existing)) return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

bool RowForScrollCode(WPARAM wParam, int top, int page, int count, int &row) {
    switch (LOWORD(wParam)) {
        case SB_LINEUP: row = top - 1; return true;
        case SB_LINEDOWN: row = top + 1; return true;
        case SB_PAGEUP: row = top - page; return true;
        case SB_PAGEDOWN: row = top + page; return true;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: row = static_cast<short>(HIWORD(wParam)); return true;
        case SB_TOP: row = 0; return true;
        case SB_BOTTOM: row = count; return true;
        default: return false;
    }
}

}  // namespace wince::controls
