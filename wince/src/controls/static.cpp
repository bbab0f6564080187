// The "STATIC" class: text, icons and bitmaps on the parent's background.
#include <string>

#include "control_util.h"
#include "window/window_class.h"

namespace wince::controls {
namespace {

struct StaticState {
    HFONT font = nullptr;
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
};

UINT TypeOf(HWND hwnd) { return static_cast<UINT>(GetWindowLongW(hwnd, GWL_STYLE)) & SS_TYPEMASK; }

SIZE ImageSize(HANDLE image, bool isIcon) {
    SIZE size{0, 0};
    if (!image) return size;
    BITMAP bm{};
    if (isIcon) {
        ICONINFO info{};
        if (!GetIconInfo(static_cast<HICON>(image), &info)) return size;
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    } else {
        GetObjectW(image, sizeof bm, &bm);
    }
    return SIZE{bm.bmWidth, bm.bmHeight};
}

// Without SS_CENTERIMAGE the control takes the image's size.
void FitToImage(HWND hwnd, HANDLE image, bool isIcon) {
    if (!image || (GetWindowLongW(hwnd, GWL_STYLE) & SS_CENTERIMAGE)) return;
    SIZE size = ImageSize(image, isIcon);
    if (size.cx > 0) SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A template names the image by ordinal, "#number" or name.
LPCWSTR ImageName(LPCWSTR name, std::u16string &storage) {
    if (!name || IS_INTRESOURCE(name)) return name;
    if (name[0] == u'#') {
        unsigned id = 0;
        for (LPCWSTR p = name + 1; *p >= u'0' && *p <= u'9'; ++p) id = id * 10 + (*p - u'0');
        return MAKEINTRESOURCEW(id);
    }
    storage = name;
    return storage.c_str();
}

void LoadImageOnCreate(HWND hwnd, StaticState *s, const CREATESTRUCTW *cs) {
    std::u16string storage;
    LPCWSTR name = ImageName(cs->lpszName, storage);
    if (!name || (!IS_INTRESOURCE(name) && !*name)) return;
    UINT type = TypeOf(hwnd);
    if (type == SS_ICON) {
        s->icon = LoadIconW(cs->hInstance, name);
        if (!s->icon) s->icon = LoadIconW(nullptr, name);
        FitToImage(hwnd, s->icon, true);
    } else if (type == SS_BITMAP) {
        s->bitmap = LoadBitmapW(cs->hInstance, name);
        FitToImage(hwnd, s->bitmap, false);
    }
}

// STM_SETIMAGE: the previous image of the kind, or null when the style
// shows another kind.
LRESULT SetImage(HWND hwnd, StaticState *s, WPARAM kind, HANDLE image) {
    UINT type = TypeOf(hwnd);
    HANDLE old = nullptr;
    if (kind == IMAGE_ICON && type == SS_ICON) {
        old = s->icon;
        s->icon = static_cast<HICON>(image);
        FitToImage(hwnd, image, true);
    } else if (kind == IMAGE_BITMAP && type == SS_BITMAP) {
        old = s->bitmap;
        s->bitmap = static_cast<HBITMAP>(image);
        FitToImage(hwnd, image, false);
    } else {
        return 0;
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(old);
}

void PaintText(HWND hwnd, HDC hdc, const RECT &client, StaticState *s) {
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
        case SS_CENTER:
            format |= DT_CENTER | DT_WORDBREAK;
            break;
        case SS_RIGHT:
            format |= DT_RIGHT | DT_WORDBREAK;
            break;
        case SS_LEFTNOWORDWRAP:
            format |= DT_LEFT;
            break;
        default:
            format |= DT_LEFT | DT_WORDBREAK;
            break;
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE | DT_VCENTER;
    int n = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<size_t>(n) + 1, u'\0');
    GetWindowTextW(hwnd, text.data(), n + 1);
    HGDIOBJ oldFont = SelectObject(hdc, FontOrSystem(s->font));
    SetBkMode(hdc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd)) UseGrayText(hdc);
    RECT r = client;
    DrawTextW(hdc, text.c_str(), n, &r, format);
    SelectObject(hdc, oldFont);
}

void PaintImage(HWND hwnd, HDC hdc, const RECT &client, StaticState *s, UINT type) {
    bool isIcon = type == SS_ICON;
    HANDLE image = isIcon ? static_cast<HANDLE>(s->icon) : static_cast<HANDLE>(s->bitmap);
    if (!image) return;
    SIZE size = ImageSize(image, isIcon);
    int x = 0, y = 0;
    if (GetWindowLongW(hwnd, GWL_STYLE) & SS_CENTERIMAGE) {
        x = (client.right - size.cx) / 2;
        y = (client.bottom - size.cy) / 2;
    }
    if (isIcon) {
        DrawIconEx(hdc, x, y, s->icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
        return;
    }
    HDC memory = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(memory, s->bitmap);
    BitBlt(hdc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void Paint(HWND hwnd, StaticState *s) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH background = ControlColors(hwnd, hdc, WM_CTLCOLORSTATIC);
    FillRect(hdc, &client, background);
    UINT type = TypeOf(hwnd);
    if (type == SS_ICON || type == SS_BITMAP) PaintImage(hwnd, hdc, client, s, type);
    else PaintText(hwnd, hdc, client, s);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *s = StateOf<StaticState>(hwnd);
    if (msg == WM_CREATE) {
        s = new StaticState;
        SetState(hwnd, s);
        LoadImageOnCreate(hwnd, s, reinterpret_cast<const CREATESTRUCTW *>(lParam));
        return 0;
    }
    if (!s) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_DESTROY:
            SetState(hwnd, nullptr);
            delete s;
            return 0;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_SETFONT:
            s->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(s->font);
        case WM_SETTEXT: {
            LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return r;
        }
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case STM_SETIMAGE:
            return SetImage(hwnd, s, wParam, reinterpret_cast<HANDLE>(lParam));
        case STM_GETIMAGE:
            if (wParam == IMAGE_ICON) return reinterpret_cast<LRESULT>(s->icon);
            if (wParam == IMAGE_BITMAP) return reinterpret_cast<LRESULT>(s->bitmap);
            return 0;
        case STM_SETICON:
            return SetImage(hwnd, s, IMAGE_ICON, reinterpret_cast<HANDLE>(wParam));
        case STM_GETICON:
            return reinterpret_cast<LRESULT>(s->icon);
        case WM_LBUTTONDOWN:
            if (GetWindowLongW(hwnd, GWL_STYLE) & SS_NOTIFY) NotifyParent(hwnd, STN_CLICKED);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd, s);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct Registration {
    Registration() {
        AddSystemClassRegistrar([] { RegisterControlClass(u"STATIC", StaticProc); });
    }
} registration;

}  // namespace
}  // namespace wince::controls
