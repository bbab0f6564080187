// How buttons look: plain frames on the dialog's background, a thicker
// frame for the default push button, inverted while pressed, grey text
// when disabled.
#include <algorithm>
#include <string>

#include "button.h"
#include "control_util.h"

namespace wince::controls {
namespace {

std::u16string TextOf(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<size_t>(n) + 1, u'\0');
    GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

UINT TextFormat(DWORD style, UINT fallbackAlign) {
    UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
    switch (style & BS_CENTER) {
        case BS_LEFT:
            return format | DT_LEFT;
        case BS_RIGHT:
            return format | DT_RIGHT;
        case BS_CENTER:
            return format | DT_CENTER;
    }
    return format | fallbackAlign;
}

void PaintPush(HWND hwnd, HDC hdc, const ButtonState &s, const RECT &client, bool enabled, bool isDefault) {
    HBRUSH background = ControlColors(hwnd, hdc, WM_CTLCOLORBTN);
    COLORREF text = GetTextColor(hdc);
    FillRect(hdc, &client, background);
    int thickness = isDefault ? Scaled(2) : 1;
    Frame(hdc, client, thickness, GetSysColor(enabled ? COLOR_WINDOWFRAME : COLOR_GRAYTEXT));
    RECT inner = client;
    InflateRect(&inner, -thickness, -thickness);
    if (s.pressed) {
        Fill(hdc, inner, GetSysColor(COLOR_HIGHLIGHT));
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    SetTextColor(hdc, enabled ? text : GetSysColor(COLOR_GRAYTEXT));
    RECT label = inner;
    InflateRect(&label, -Scaled(2), 0);
    std::u16string t = TextOf(hwnd);
    DrawTextW(hdc, t.c_str(), static_cast<int>(t.size()), &label,
              TextFormat(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), DT_CENTER));
    if (s.focused) DrawFocusFrame(hdc, inner);
}

// The square of a check box or the circle of a radio button, and its mark.
void PaintMark(HDC hdc, const RECT &box, UINT type, const ButtonState &s, bool enabled) {
    COLORREF ink = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    COLORREF face = GetSysColor(s.pressed ? COLOR_BTNFACE : COLOR_WINDOW);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(enabled ? COLOR_WINDOWFRAME : COLOR_GRAYTEXT));
    HBRUSH fill = CreateSolidBrush(face);
    HGDIOBJ oldPen = SelectObject(hdc, pen), oldBrush = SelectObject(hdc, fill);
    bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    if (radio) Ellipse(hdc, box.left, box.top, box.right, box.bottom);
    else Rectangle(hdc, box.left, box.top, box.right, box.bottom);
    int w = box.right - box.left;
    if (s.check && radio) {
        HBRUSH dot = CreateSolidBrush(ink);
        HPEN dotPen = CreatePen(PS_SOLID, 1, ink);
        SelectObject(hdc, dot);
        SelectObject(hdc, dotPen);
        int inset = w / 4 + 1;
        Ellipse(hdc, box.left + inset, box.top + inset, box.right - inset, box.bottom - inset);
        SelectObject(hdc, pen);
        DeleteObject(dotPen);
        SelectObject(hdc, fill);
        DeleteObject(dot);
    } else if (s.check) {
        // A tick of two strokes, grey when indeterminate.
        COLORREF tick = s.check == BST_INDETERMINATE ? GetSysColor(COLOR_GRAYTEXT) : ink;
        HPEN tickPen = CreatePen(PS_SOLID, std::max(1, w / 6), tick);
        SelectObject(hdc, tickPen);
        POINT points[3] = {{box.left + w / 4, box.top + w / 2},
                           {box.left + w * 5 / 12, box.top + w * 3 / 4 - 1},
                           {box.right - w / 4, box.top + w / 4}};
        Polyline(hdc, points, 3);
        SelectObject(hdc, pen);
        DeleteObject(tickPen);
    }
    SelectObject(hdc, oldPen);
    SelectObject(hdc, oldBrush);
    DeleteObject(pen);
    DeleteObject(fill);
}

void PaintCheck(HWND hwnd, HDC hdc, const ButtonState &s, const RECT &client, bool enabled, UINT type) {
    HBRUSH background = ControlColors(hwnd, hdc, WM_CTLCOLORSTATIC);
    FillRect(hdc, &client, background);
    if (!enabled) UseGrayText(hdc);
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    int size = std::min<int>(Scaled(13), client.bottom - client.top);
    int top = client.top + (client.bottom - client.top - size) / 2;
    bool right = (style & BS_LEFTTEXT) != 0;
    RECT box{right ? client.right - size : client.left, top, 0, top + size};
    box.right = box.left + size;
    PaintMark(hdc, box, type, s, enabled);
    RECT label = client;
    if (right) label.right = box.left - Scaled(4);
    else label.left = box.right + Scaled(4);
    std::u16string t = TextOf(hwnd);
    DrawTextW(hdc, t.c_str(), static_cast<int>(t.size()), &label, TextFormat(style, DT_LEFT));
    if (s.focused && !t.empty()) {
        RECT used = label;
        DrawTextW(hdc, t.c_str(), static_cast<int>(t.size()), &used, TextFormat(style, DT_LEFT) | DT_CALCRECT);
        used.top = label.top, used.bottom = label.bottom;
        InflateRect(&used, 1, 0);
        DrawFocusRect(hdc, &used);
    }
}

void PaintGroup(HWND hwnd, HDC hdc, const RECT &client, bool enabled) {
    HBRUSH background = ControlColors(hwnd, hdc, WM_CTLCOLORSTATIC);
    FillRect(hdc, &client, background);
    if (!enabled) UseGrayText(hdc);
    TEXTMETRICW tm{};
    GetTextMetricsW(hdc, &tm);
    RECT frame = client;
    frame.top += tm.tmHeight / 2;
    Frame(hdc, frame, 1, GetSysColor(enabled ? COLOR_WINDOWFRAME : COLOR_GRAYTEXT));
    std::u16string t = TextOf(hwnd);
    if (t.empty()) return;
    RECT label{client.left + Scaled(6), client.top, client.right - Scaled(6), client.top + tm.tmHeight};
    RECT used = label;
    DrawTextW(hdc, t.c_str(), static_cast<int>(t.size()), &used, DT_SINGLELINE | DT_CALCRECT);
    used.right = std::min(used.right + Scaled(2), label.right);
    used.left -= Scaled(2);
    FillRect(hdc, &used, background);
    DrawTextW(hdc, t.c_str(), static_cast<int>(t.size()), &label, DT_SINGLELINE | DT_LEFT);
}

}  // namespace

void PaintButton(HWND hwnd, HDC hdc, const ButtonState &s) {
    RECT client;
    GetClientRect(hwnd, &client);
    HGDIOBJ oldFont = SelectObject(hdc, FontOrSystem(s.font));
    SetBkMode(hdc, TRANSPARENT);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    UINT type = ButtonType(hwnd);
    switch (type) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            PaintCheck(hwnd, hdc, s, client, enabled, type);
            break;
        case BS_GROUPBOX:
            PaintGroup(hwnd, hdc, client, enabled);
            break;
        default:
            PaintPush(hwnd, hdc, s, client, enabled, type == BS_DEFPUSHBUTTON);
            break;
    }
    SelectObject(hdc, oldFont);
}

}  // namespace wince::controls
