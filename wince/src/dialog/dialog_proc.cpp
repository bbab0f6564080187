// The dialog window class and DefDlgProc: what a dialog does with a message
// its dialog procedure leaves alone.
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "dialog_scroll.h"
#include "dialog_state.h"
#include "window/window.h"
#include "window/window_class.h"

namespace wince {
namespace {

std::unordered_map<HWND, std::unique_ptr<DialogState>> &States() {
    static auto *states = new std::unordered_map<HWND, std::unique_ptr<DialogState>>;
    return *states;
}

HWND FirstTabItem(HWND dialog) {
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    return first ? first : GetNextDlgGroupItem(dialog, nullptr, FALSE);
}

// The control that should have the focus when the dialog gets it back.
void RestoreFocus(HWND dialog, DialogState *state) {
    HWND target = state && IsWindow(state->savedFocus) && IsChild(dialog, state->savedFocus) ? state->savedFocus
                                                                                          : FirstTabItem(dialog);
    if (target) SetDialogFocus(dialog, target);
}

LRESULT EraseBackground(HWND dialog, HDC hdc) {
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(dialog)));
    if (!brush) brush = GetSysColorBrush(COLOR_STATIC);
    RECT client;
    GetClientRect(dialog, &client);
    FillRect(hdc, &client, brush);
    return 1;
}

// The child whose dialog code says it is the default push button.
HWND FindDefaultButton(HWND dialog) {
    std::vector<HWND> items;
    CollectDialogItems(dialog, items);
    for (HWND h : items)
        if (SendMessageW(h, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return h;
    return nullptr;
}

LRESULT NextControl(HWND dialog, WPARAM wParam, LPARAM lParam) {
    HWND target;
    if (LOWORD(lParam)) target = reinterpret_cast<HWND>(wParam);
    else target = GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
    if (target && IsChild(dialog, target)) SetDialogFocus(dialog, target);
    return 0;
}

LRESULT SetDefaultId(HWND dialog, DialogState *state, WORD id) {
    if (state) {
        state->defId = id;
        state->hasDefId = true;
    }
    // The old default loses its thick frame unless it has the focus.
    HWND focus = GetFocus();
    HWND old = FindDefaultButton(dialog);
    HWND now = GetDlgItem(dialog, id);
    if (old && old != now && old != focus) SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (now && (SendMessageW(now, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
        SendMessageW(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    return TRUE;
}

LRESULT DefaultDialogMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    DialogState *state = FindDialogState(dialog);
    switch (msg) {
        case WM_ERASEBKGND:
            return EraseBackground(dialog, reinterpret_cast<HDC>(wParam));
        case WM_ACTIVATE:
            if (!state || state->initializing || state->ended) return 0;
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (IsChild(dialog, GetFocus())) state->savedFocus = GetFocus();
            } else if (!IsChild(dialog, GetFocus())) {
                RestoreFocus(dialog, state);
            }
            return 0;
        case WM_SETFOCUS:
            if (state && !state->initializing && !state->ended) RestoreFocus(dialog, state);
            return 0;
        case DM_GETDEFID: {
            if (state && state->hasDefId) return MAKELONG(state->defId, DC_HASDEFID);
            HWND def = FindDefaultButton(dialog);
            return def ? MAKELONG(GetDlgCtrlID(def), DC_HASDEFID) : 0;
        }
        case DM_SETDEFID:
            return SetDefaultId(dialog, state, static_cast<WORD>(wParam));
        case WM_NEXTDLGCTL:
            return NextControl(dialog, wParam, lParam);
        case WM_CLOSE: {
            // Closing a dialog is its Cancel button, unless that is disabled.
            HWND cancel = GetDlgItem(dialog, IDCANCEL);
            if (!cancel || IsWindowEnabled(cancel))
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
            return 0;
        }
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(state ? state->font : nullptr);
        case WM_SETFONT:
            if (state) state->font = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETDLGCODE:
            return 0;
        case WM_VSCROLL:
            if (!lParam) ScrollDialog(dialog, wParam);
            return 0;
    }
    return DefWindowProcW(dialog, msg, wParam, lParam);
}

// Messages whose answer is the dialog procedure's own return value rather
// than DWLP_MSGRESULT.
bool ReturnsDirectly(UINT msg) {
    switch (msg) {
        case WM_INITDIALOG:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return true;
    }
    return false;
}

// The answer a dialog procedure left in DWLP_MSGRESULT. Device code sets it
// with SetWindowLong(DWL_MSGRESULT), which writes the low 32 bits only; the
// device's results are 32-bit, so such a value is read back sign-extended
// (-1 stays -1).
LRESULT MessageResult(HWND dialog) {
    auto value = static_cast<uint64_t>(GetWindowLongPtrW(dialog, DWLP_MSGRESULT));
    if (value >> 32) return static_cast<LRESULT>(value);
    return static_cast<LRESULT>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

void ReleaseDialog(HWND dialog) {
    DialogState *state = FindDialogState(dialog);
    if (!state) return;
    if (state->ownsFont && state->font) DeleteObject(state->font);
    RemoveDialogState(dialog);
}

void RegisterDialogClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefDlgProcW;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.lpszClassName = u"Dialog";
    RegisterClassW(&wc);
}

struct Registration {
    Registration() { AddSystemClassRegistrar(&RegisterDialogClass); }
} registration;

}  // namespace

DialogState *FindDialogState(HWND dialog) {
    auto it = States().find(dialog);
    return it == States().end() ? nullptr : it->second.get();
}

DialogState &AddDialogState(HWND dialog) {
    auto &slot = States()[dialog];
    slot = std::make_unique<DialogState>();
    return *slot;
}

void RemoveDialogState(HWND dialog) { States().erase(dialog); }

}  // namespace wince

using namespace wince;

LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window *w = FromHandle(hDlg);
    if (!w) return 0;
    bool hasExtra = w->extra.size() >= static_cast<size_t>(DLGWINDOWEXTRA);
    auto proc = hasExtra ? reinterpret_cast<DLGPROC>(GetWindowLongPtrW(hDlg, DWLP_DLGPROC)) : nullptr;
    if (hasExtra) SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, 0);
    BOOL handled = proc ? proc(hDlg, Msg, wParam, lParam) : FALSE;
    LRESULT result = 0;
    if (!handled && IsWindow(hDlg)) result = DefaultDialogMessage(hDlg, Msg, wParam, lParam);
    // A new size may leave controls below the client area, or bring them all in.
    if (Msg == WM_SIZE && IsWindow(hDlg)) UpdateDialogScrollBar(hDlg);
    if (Msg == WM_DESTROY) ReleaseDialog(hDlg);
    if (!handled) return result;
    if (ReturnsDirectly(Msg)) return handled;
    return IsWindow(hDlg) && hasExtra ? MessageResult(hDlg) : handled;
}
