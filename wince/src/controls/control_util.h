// What every standard control shares: its state object in the window's
// extra bytes, its font, notifications to the parent and the colours the
// parent chooses through WM_CTLCOLOR*.
#pragma once

#include <windows.h>

#include <string>

namespace wince::controls {

// Lengths given at 96 dpi, at the device's dpi.
int Scaled(int at96);

// Registers a control class whose windows keep a state pointer in their
// extra bytes.
void RegisterControlClass(LPCWSTR name, WNDPROC proc, UINT style = 0);

template <typename State>
State *StateOf(HWND hwnd) {
    return reinterpret_cast<State *>(GetWindowLongPtrW(hwnd, 0));
}
void SetState(HWND hwnd, void *state);

// The control's font, the system font when none was set.
HFONT FontOrSystem(HFONT font);
int FontHeight(HFONT font);

// WM_COMMAND with the control's id and a notification code, to its parent.
void NotifyParent(HWND control, WORD code);

// Sends WM_CTLCOLOR* to the parent, which sets up the DC's colours; the
// brush for the control's background. The parent's default answer (or
// none) gives the system's colours.
HBRUSH ControlColors(HWND control, HDC hdc, UINT ctlColorMessage);

// A DC's text colour for disabled text.
void UseGrayText(HDC hdc);

// The focus rectangle, one pixel inside r.
void DrawFocusFrame(HDC hdc, const RECT &r);

// A rectangle frame of a given thickness in a colour.
void Frame(HDC hdc, const RECT &r, int thickness, COLORREF color);
void Fill(HDC hdc, const RECT &r, COLORREF color);

// The width of a text in a font (the system font when none is set).
int MeasureTextWidth(HFONT font, const std::u16string &text);

// A plain class of the platform's own windows (bars, the input panel),
// registered on first use.
void RegisterWindowClassOnce(LPCWSTR name, WNDPROC proc);

// The first row that a WM_VSCROLL code asks a list of rows to show, from
// the first row shown, the rows a page holds and the row count; false for
// a code the list ignores. The caller clamps it.
bool RowForScrollCode(WPARAM wParam, int top, int page, int count, int &row);

}  // namespace wince::controls
