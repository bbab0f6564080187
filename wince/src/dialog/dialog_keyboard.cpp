// IsDialogMessage: the dialog manager's keyboard interface (Tab, arrows in
// groups, Enter, Escape), with WM_GETDLGCODE letting controls keep keys.
#include "dialog_state.h"
#include "window/window.h"

using namespace wince;

namespace {

void Click(HWND dialog, int id, HWND control) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void PressEnter(HWND dialog) {
    HWND focus = GetFocus();
    if (IsChild(dialog, focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
        Click(dialog, GetDlgCtrlID(focus), focus);
        return;
    }
    LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(def) == DC_HASDEFID) {
        HWND button = GetDlgItem(dialog, LOWORD(def));
        if (!button || IsWindowEnabled(button)) Click(dialog, LOWORD(def), button);
        return;
    }
    SendMessageW(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

void MoveInGroup(HWND dialog, HWND from, bool previous, const MSG *msg) {
    HWND next = GetNextDlgGroupItem(dialog, from, previous);
    if (!next) return;
    if (SendMessageW(next, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)) ==
        (DLGC_BUTTON | DLGC_RADIOBUTTON)) {
        // Moving onto an automatic radio button chooses it.
        SetFocus(next);
        if ((GetWindowLongW(next, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
            SendMessageW(next, BM_GETCHECK, 0, 0) != BST_CHECKED)
            SendMessageW(next, BM_CLICK, 1, 0);
        return;
    }
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
}

// True when the key was the dialog manager's to handle.
bool HandleKey(HWND dialog, const MSG *msg, UINT code) {
    switch (msg->wParam) {
        case VK_TAB:
            if (code & DLGC_WANTTAB) return false;
            SendMessageW(dialog, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, 0);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (code & DLGC_WANTARROWS) return false;
            MoveInGroup(dialog, msg->hwnd, msg->wParam == VK_LEFT || msg->wParam == VK_UP, msg);
            return true;
        case VK_RETURN:
            PressEnter(dialog);
            return true;
        case VK_ESCAPE:
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
            return true;
    }
    return false;
}

}  // namespace

BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg) {
    if (!lpMsg || !IsWindow(hDlg)) return FALSE;
    if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd)) return FALSE;
    if (lpMsg->message == WM_KEYDOWN || lpMsg->message == WM_CHAR) {
        UINT code = static_cast<UINT>(
            SendMessageW(lpMsg->hwnd, WM_GETDLGCODE, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg)));
        if (!(code & DLGC_WANTMESSAGE)) {
            if (lpMsg->message == WM_KEYDOWN && HandleKey(hDlg, lpMsg, code)) return TRUE;
            // The characters of the keys above belong to the dialog manager too.
            if (lpMsg->message == WM_CHAR &&
                ((lpMsg->wParam == '\t' && !(code & DLGC_WANTTAB)) || lpMsg->wParam == '\r' ||
                 lpMsg->wParam == 0x1B))
                return TRUE;
        }
    }
    TranslateMessage(lpMsg);
    DispatchMessageW(lpMsg);
    return TRUE;
}
