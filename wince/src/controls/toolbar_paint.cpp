// "ToolbarWindow32": where its buttons lie, how they are drawn and what a
// tap on them does.
#include <algorithm>

#include "control_util.h"
#include "toolbar.h"

namespace wince::controls {
namespace {

bool Shows(const ToolbarButton &b) { return !(b.state & TBSTATE_HIDDEN); }
bool IsSeparator(const ToolbarButton &b) { return (b.style & TBSTYLE_SEP) != 0; }
bool Usable(const ToolbarButton &b) { return Shows(b) && !IsSeparator(b) && (b.state & TBSTATE_ENABLED); }
bool HasArrow(const ToolbarButton &b) {
    return (b.style & TBSTYLE_DROPDOWN) && !(b.style & TBSTYLE_NO_DROPDOWN_ARROW);
}

int HitButton(const std::vector<RECT> &rects, POINT p) {
    for (size_t i = 0; i < rects.size(); ++i)
        if (!IsRectEmpty(&rects[i]) && PtInRect(&rects[i], p)) return static_cast<int>(i);
    return -1;
}

HFONT BarFont(const ToolbarState &s) {
    if (s.font) return s.font;
    static HFONT font = nullptr;
    if (!font) {
        LOGFONTW lf{};
        lf.lfHeight = -Scaled(12);
        lf.lfWeight = FW_NORMAL;
        lstrcpyW(lf.lfFaceName, u"Tahoma");
        font = CreateFontIndirectW(&lf);
    }
    return font;
}

// A menu bar's own popup opens above its button; the chosen command goes
// to the bar's owner.
void OpenPopup(HWND hwnd, ToolbarState &s, int index, const RECT &button) {
    POINT at{button.left, button.top};
    ClientToScreen(hwnd, &at);
    TrackPopupMenuEx(s.buttons[index].popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN, at.x, at.y, s.notify, nullptr);
}

void DropDown(HWND hwnd, ToolbarState &s, int index, const RECT &button) {
    if (s.buttons[index].popup) {
        OpenPopup(hwnd, s, index, button);
        return;
    }
    NMTOOLBARW nm{};
    nm.hdr.hwndFrom = hwnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
    nm.hdr.code = TBN_DROPDOWN;
    nm.iItem = s.buttons[index].command;
    nm.tbButton.iBitmap = s.buttons[index].image;
    nm.tbButton.idCommand = s.buttons[index].command;
    nm.tbButton.fsState = s.buttons[index].state;
    nm.tbButton.fsStyle = s.buttons[index].style;
    nm.tbButton.dwData = s.buttons[index].data;
    nm.rcButton = button;
    if (s.notify) SendMessageW(s.notify, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

}  // namespace

int ButtonMargin() { return Scaled(6); }
int DropDownArrowWidth() { return Scaled(10); }

std::vector<RECT> LayoutToolbar(const ToolbarState &s, int barHeight, const TextWidth &measure) {
    std::vector<RECT> rects;
    int x = 0, height = s.menuBar ? barHeight : s.buttonSize.cy;
    for (const ToolbarButton &b : s.buttons) {
        int width = 0;
        if (!Shows(b)) width = 0;
        else if (IsSeparator(b)) width = b.image > 0 ? b.image : 8;
        else if (b.width > 0) width = b.width;
        else if ((b.style & TBSTYLE_AUTOSIZE) || (b.image == I_IMAGENONE && !b.text.empty()))
            width = measure(b.text) + 2 * ButtonMargin();
        else width = s.buttonSize.cx;
        if (Shows(b) && !IsSeparator(b) && b.width <= 0 && HasArrow(b)) width += DropDownArrowWidth();
        rects.push_back(width > 0 ? RECT{x, 0, x + width, height} : RECT{x, 0, x, 0});
        x += width;
    }
    return rects;
}

std::vector<RECT> ButtonRects(HWND hwnd, const ToolbarState &s) {
    RECT client;
    GetClientRect(hwnd, &client);
    HDC hdc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(hdc, BarFont(s));
    std::vector<RECT> rects = LayoutToolbar(s, client.bottom, [hdc](const std::u16string &text) {
        SIZE size{0, 0};
        if (!text.empty()) GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    });
    SelectObject(hdc, old);
    ReleaseDC(hwnd, hdc);
    return rects;
}

void PaintToolbar(HWND hwnd, ToolbarState &s) {
    std::vector<RECT> rects = ButtonRects(hwnd, s);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    Fill(hdc, client, GetSysColor(COLOR_BTNFACE));
    if (s.menuBar) Fill(hdc, RECT{0, 0, client.right, 1}, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldFont = SelectObject(hdc, BarFont(s));
    SetBkMode(hdc, TRANSPARENT);
    for (size_t i = 0; i < s.buttons.size(); ++i) {
        const ToolbarButton &b = s.buttons[i];
        RECT r = rects[i];
        if (IsRectEmpty(&r)) continue;
        if (IsSeparator(b)) {
            int mid = (r.left + r.right) / 2;
            Fill(hdc, RECT{mid, r.top + Scaled(4), mid + 1, r.bottom - Scaled(4)}, GetSysColor(COLOR_BTNSHADOW));
            continue;
        }
        bool down = static_cast<int>(i) == s.pressed || (b.state & (TBSTATE_PRESSED | TBSTATE_CHECKED));
        if (down) Fill(hdc, r, GetSysColor(COLOR_HIGHLIGHT));
        if (!(GetWindowLongW(hwnd, GWL_STYLE) & TBSTYLE_FLAT) && !s.menuBar)
            Frame(hdc, r, 1, GetSysColor(COLOR_BTNSHADOW));
        if (!(b.state & TBSTATE_ENABLED)) UseGrayText(hdc);
        else SetTextColor(hdc, GetSysColor(down ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
        RECT text = r;
        if (HasArrow(b) && b.width <= 0) {
            text.right -= DropDownArrowWidth();
            // A small downward triangle in the arrow's part.
            int cx = text.right + DropDownArrowWidth() / 2, cy = (r.top + r.bottom) / 2;
            for (int row = 0; row < 3; ++row)
                Fill(hdc, RECT{cx - 2 + row, cy - 1 + row, cx + 3 - row, cy + row}, GetTextColor(hdc));
        }
        if (!b.text.empty())
            DrawTextW(hdc, b.text.c_str(), static_cast<int>(b.text.size()), &text,
                      DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }
    SelectObject(hdc, oldFont);
    EndPaint(hwnd, &ps);
}

void ToolbarStylusDown(HWND hwnd, ToolbarState &s, POINT p) {
    std::vector<RECT> rects = ButtonRects(hwnd, s);
    int index = HitButton(rects, p);
    if (index < 0 || !Usable(s.buttons[index])) return;
    s.pressed = index;
    InvalidateRect(hwnd, nullptr, TRUE);
    if (s.buttons[index].style & TBSTYLE_DROPDOWN) {
        // The popup opens at once and runs its own loop; the lift that
        // follows belongs to it.
        UpdateWindow(hwnd);
        DropDown(hwnd, s, index, rects[index]);
        if (ToolbarOf(hwnd) == &s) {
            s.pressed = -1;
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return;
    }
    SetCapture(hwnd);
}

void ToolbarStylusUp(HWND hwnd, ToolbarState &s, POINT p) {
    int index = s.pressed;
    if (index < 0) return;
    s.pressed = -1;
    if (GetCapture() == hwnd) ReleaseCapture();
    InvalidateRect(hwnd, nullptr, TRUE);
    std::vector<RECT> rects = ButtonRects(hwnd, s);
    if (static_cast<size_t>(index) >= s.buttons.size() || HitButton(rects, p) != index) return;
    ToolbarButton &b = s.buttons[index];
    if (!Usable(b)) return;
    if (b.style & TBSTYLE_CHECK) b.state ^= TBSTATE_CHECKED;
    if (s.notify)
        SendMessageW(s.notify, WM_COMMAND, MAKEWPARAM(b.command, 0), reinterpret_cast<LPARAM>(hwnd));
}

}  // namespace wince::controls
