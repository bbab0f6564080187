// DefWindowProc: what a window does with a message it leaves alone.
#include <aygshell.h>

#include "paint.h"
#include "window.h"

using namespace wince;

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window *w = FromHandle(hWnd);
    if (!w) return 0;
    switch (Msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hWnd, &ps);
            EndPaint(hWnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            HBRUSH brush = w->cls->background;
            if (!brush) return 0;
            RECT client;
            GetClientRect(hWnd, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
            return 1;
        }
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
            if ((w->style & WS_CAPTION) == WS_CAPTION) InvalidateNonClient(w);
            return TRUE;
        case WM_GETTEXT: {
            int max = static_cast<int>(wParam);
            auto *out = reinterpret_cast<LPWSTR>(lParam);
            if (!out || max <= 0) return 0;
            lstrcpynW(out, w->text.c_str(), max);
            return lstrlenW(out);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_CLOSE:
            DestroyWindow(hWnd);
            return 0;
        case WM_WINDOWPOSCHANGED: {
            auto *pos = reinterpret_cast<const WINDOWPOS *>(lParam);
            if (pos && !(pos->flags & SWP_NOSIZE)) {
                RECT client;
                GetClientRect(hWnd, &client);
                SendMessageW(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
            }
            if (pos && !(pos->flags & SWP_NOMOVE)) {
                Window *moved = FromHandle(hWnd);
                if (moved) SendMessageW(hWnd, WM_MOVE, 0, MAKELPARAM(moved->rect.left, moved->rect.top));
            }
            return 0;
        }
        case WM_HELP:
        case WM_NOTIFY:
            // Help requests travel up to the parent.
            if (Msg == WM_HELP && w->parent) return SendMessageW(w->parent->handle, Msg, wParam, lParam);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                HWND f = GetFocus();
                if (!f || (f != hWnd && !IsChild(hWnd, f))) SetFocus(hWnd);
            }
            return 0;
        case WM_FILECHANGEINFO:
            // A change record handed on by its receiver is released here.
            if (wParam) SHChangeNotifyFree(reinterpret_cast<LPFILECHANGENOTIFY>(wParam));
            return 0;
        case WM_CANCELMODE:
            if (GetCapture() == hWnd) ReleaseCapture();
            return 0;
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: {
            HDC hdc = reinterpret_cast<HDC>(wParam);
            SetTextColor(hdc, GetSysColor(Msg == WM_CTLCOLORSTATIC ? COLOR_STATICTEXT : COLOR_WINDOWTEXT));
            SetBkColor(hdc, GetSysColor(Msg == WM_CTLCOLORSTATIC || Msg == WM_CTLCOLORDLG ? COLOR_STATIC : COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(
                GetSysColorBrush(Msg == WM_CTLCOLORSTATIC || Msg == WM_CTLCOLORDLG ? COLOR_STATIC : COLOR_WINDOW));
        }
    }
    return 0;
}
