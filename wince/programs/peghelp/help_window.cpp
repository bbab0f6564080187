#include "help_window.h"

#include <algorithm>
#include <memory>

#include <aygshell.h>

namespace peghelp {
namespace {

constexpr char16_t kClass[] = u"PegHelpView";
constexpr int kMargin = 4;  // at 96 dpi

struct View {
    std::vector<HelpParagraph> paragraphs;
    HFONT normal = nullptr, bold = nullptr;
    HelpLayout layout;
    int offset = 0;  // how far the text is scrolled up
    int dragFrom = -1;
};

View *ViewOf(HWND hwnd) { return reinterpret_cast<View *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

int Scale(int pixels) {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return (pixels * dpi + 48) / 96;
}

int LineStep() { return Scale(14); }

RECT TextArea(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    InflateRect(&r, -Scale(kMargin), -Scale(kMargin));
    return r;
}

HFONT MakeFont(bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = -Scale(11);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lstrcpyW(lf.lfFaceName, u"Tahoma");
    return CreateFontIndirectW(&lf);
}

void Relayout(HWND hwnd, View &v) {
    HDC dc = GetDC(hwnd);
    RECT area = TextArea(hwnd);
    v.layout = LayOut(dc, v.paragraphs, area.right - area.left, v.normal, v.bold);
    ReleaseDC(hwnd, dc);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, v.layout.height, 0, 0, 0};
    RECT client;
    GetClientRect(hwnd, &client);
    si.nPage = static_cast<UINT>(std::max<LONG>(client.bottom - Scale(kMargin) * 2, 1));
    int most = std::max(0, v.layout.height - static_cast<int>(si.nPage));
    v.offset = std::clamp(v.offset, 0, most);
    si.nPos = v.offset;
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void ScrollTo(HWND hwnd, View &v, int offset) {
    SCROLLINFO si{sizeof si, SIF_PAGE, 0, 0, 0, 0, 0};
    GetScrollInfo(hwnd, SB_VERT, &si);
    int most = std::max(0, v.layout.height - static_cast<int>(si.nPage));
    offset = std::clamp(offset, 0, most);
    if (offset == v.offset) return;
    v.offset = offset;
    si.fMask = SIF_POS;
    si.nPos = offset;
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
    InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT OnPaint(HWND hwnd, View &v) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT area = TextArea(hwnd);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ old = SelectObject(dc, v.normal);
    for (size_t i = 0; i < v.paragraphs.size(); ++i) {
        int top = area.top + v.layout.tops[i] - v.offset;
        int bottom = i + 1 < v.layout.tops.size() ? area.top + v.layout.tops[i + 1] - v.offset : area.top + v.layout.height - v.offset;
        if (bottom < 0 || top > area.bottom) continue;  // not on the screen
        RECT r{area.left, top, area.right, bottom};
        SelectObject(dc, v.paragraphs[i].heading ? v.bold : v.normal);
        DrawTextW(dc, v.paragraphs[i].text.c_str(), static_cast<int>(v.paragraphs[i].text.size()), &r,
                  DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT OnVScroll(HWND hwnd, View &v, WPARAM wParam) {
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(hwnd, SB_VERT, &si);
    int page = static_cast<int>(si.nPage);
    switch (LOWORD(wParam)) {
        case SB_LINEUP: ScrollTo(hwnd, v, v.offset - LineStep()); break;
        case SB_LINEDOWN: ScrollTo(hwnd, v, v.offset + LineStep()); break;
        case SB_PAGEUP: ScrollTo(hwnd, v, v.offset - page); break;
        case SB_PAGEDOWN: ScrollTo(hwnd, v, v.offset + page); break;
        case SB_THUMBTRACK: ScrollTo(hwnd, v, si.nTrackPos); break;
        case SB_THUMBPOSITION: ScrollTo(hwnd, v, static_cast<short>(HIWORD(wParam))); break;
        case SB_TOP: ScrollTo(hwnd, v, 0); break;
        case SB_BOTTOM: ScrollTo(hwnd, v, v.layout.height); break;
    }
    return 0;
}

LRESULT OnKeyDown(HWND hwnd, View &v, WPARAM key) {
    switch (key) {
        case VK_UP: ScrollTo(hwnd, v, v.offset - LineStep()); return 0;
        case VK_DOWN: ScrollTo(hwnd, v, v.offset + LineStep()); return 0;
        case VK_PRIOR: return OnVScroll(hwnd, v, SB_PAGEUP);
        case VK_NEXT: return OnVScroll(hwnd, v, SB_PAGEDOWN);
        case VK_ESCAPE:
        case VK_RETURN: DestroyWindow(hwnd); return 0;
    }
    return 0;
}

// The stylus drags the text: down at one place, the text follows it.
LRESULT OnStylus(HWND hwnd, View &v, UINT msg, LPARAM lParam) {
    int y = static_cast<short>(HIWORD(lParam));
    if (msg == WM_LBUTTONDOWN) {
        v.dragFrom = y;
        SetCapture(hwnd);
    } else if (msg == WM_MOUSEMOVE && v.dragFrom >= 0) {
        ScrollTo(hwnd, v, v.offset + (v.dragFrom - y));
        v.dragFrom = y;
    } else if (msg == WM_LBUTTONUP && v.dragFrom >= 0) {
        v.dragFrom = -1;
        ReleaseCapture();
    }
    return 0;
}

LRESULT CALLBACK HelpProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    View *v = ViewOf(hwnd);
    switch (msg) {
        case WM_CREATE: {
            auto *create = reinterpret_cast<CREATESTRUCTW *>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            return 0;
        }
        case WM_SIZE:
            if (v) Relayout(hwnd, *v);
            return 0;
        case WM_PAINT:
            if (v) return OnPaint(hwnd, *v);
            break;
        case WM_VSCROLL:
            if (v) return OnVScroll(hwnd, *v, wParam);
            break;
        case WM_KEYDOWN:
            if (v) return OnKeyDown(hwnd, *v, wParam);
            break;
        case WM_COMMAND:
            // The navigation bar's "ok" closes help.
            if (LOWORD(wParam) == IDOK) {
                DestroyWindow(hwnd);
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            if (v) return OnStylus(hwnd, *v, msg, lParam);
            break;
        case WM_DESTROY:
            if (v) {
                DeleteObject(v->normal);
                DeleteObject(v->bold);
                delete v;
                SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            }
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HelpLayout LayOut(HDC dc, const std::vector<HelpParagraph> &paragraphs, int width, HFONT normal, HFONT bold) {
    HelpLayout layout;
    HGDIOBJ old = SelectObject(dc, normal);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    int gap = tm.tmHeight / 2;  // between paragraphs
    for (const HelpParagraph &p : paragraphs) {
        layout.tops.push_back(layout.height);
        SelectObject(dc, p.heading ? bold : normal);
        RECT r{0, 0, std::max(width, 1), 0};
        DrawTextW(dc, p.text.c_str(), static_cast<int>(p.text.size()), &r,
                  DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        layout.height += (r.bottom - r.top) + gap;
    }
    SelectObject(dc, old);
    return layout;
}

HWND CreateHelpWindow(HINSTANCE instance, std::vector<HelpParagraph> paragraphs) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HelpProc;
    wc.hInstance = instance;
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    // The view ends with the window.
    auto *view = new View;
    view->paragraphs = std::move(paragraphs);
    view->normal = MakeFont(false);
    view->bold = MakeFont(true);
    RECT work;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    HWND hwnd = CreateWindowExW(0, kClass, u"Help", WS_POPUP | WS_VSCROLL, work.left, work.top,
                                work.right - work.left, work.bottom - work.top, nullptr, nullptr, instance, view);
    if (!hwnd) return nullptr;
    // "ok" in the navigation bar; the bars may take their room only now.
    SHDoneButton(hwnd, SHDB_SHOW);
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        MoveWindow(hwnd, work.left, work.top, work.right - work.left, work.bottom - work.top, FALSE);
    Relayout(hwnd, *view);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    SetFocus(hwnd);
    return hwnd;
}

}  // namespace peghelp
