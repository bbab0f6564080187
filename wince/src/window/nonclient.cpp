// The frame the window manager draws around a client area: border, caption
// and scroll bars.
#include "paint.h"
#include "scroll.h"

namespace wince {

void DrawNonClient(Window *w) {
    w->nonClientDirty = false;
    RECT whole{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    RECT client = ClientRectInWindow(*w);
    if (EqualRect(&whole, &client)) return;
    HDC hdc = GetWindowDC(w->handle);
    if (!hdc) return;
    if ((w->style & (WS_BORDER | WS_DLGFRAME)) || (w->exStyle & WS_EX_DLGMODALFRAME))
        FrameRect(hdc, &whole, GetSysColorBrush(COLOR_WINDOWFRAME));
    if ((w->style & WS_CAPTION) == WS_CAPTION) {
        RECT band{1, 1, whole.right - 1, 1 + GetSystemMetrics(SM_CYCAPTION)};
        FillRect(hdc, &band, GetSysColorBrush(COLOR_ACTIVECAPTION));
        HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(SYSTEM_FONT));
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(COLOR_CAPTIONTEXT));
        RECT text = band;
        text.left += GetSystemMetrics(SM_CXEDGE) * 2;
        DrawTextW(hdc, w->text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
        SelectObject(hdc, oldFont);
    }
    if (w->style & WS_VSCROLL) DrawScrollBar(hdc, *w, SB_VERT);
    if (w->style & WS_HSCROLL) DrawScrollBar(hdc, *w, SB_HORZ);
    ReleaseDC(w->handle, hdc);
    MarkScreenDirty();
}

}  // namespace wince
