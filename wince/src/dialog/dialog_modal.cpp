// Modal dialogs: the nested message loop, EndDialog.
#include "dialog_create.h"
#include "dialog_state.h"
#include "window/window.h"

namespace wince {

INT_PTR RunModalDialog(HWND dialog) {
    if (!IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
    MSG msg;
    for (;;) {
        DialogState *state = FindDialogState(dialog);
        if (!IsWindow(dialog) || !state || state->ended) break;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (!got) {
            // The program is quitting: the loop ends and leaves WM_QUIT for the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    INT_PTR result = 0;
    if (DialogState *state = FindDialogState(dialog)) {
        result = state->result;
        if (state->disabledOwner) {
            EnableWindow(state->disabledOwner, TRUE);
            state->disabledOwner = nullptr;
        }
    } else {
        result = -1;  // destroyed without EndDialog
    }
    if (IsWindow(dialog)) DestroyWindow(dialog);
    return result;
}

}  // namespace wince

using namespace wince;

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATE hDialogTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    DialogTemplate t;
    if (!hDialogTemplate || !ParseDialogTemplate(hDialogTemplate, SIZE_MAX / 2, t)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hWndParent && !CheckHandle(hWndParent)) return -1;
    HWND dialog = CreateDialogFromTemplate(hInstance, t, hWndParent, lpDialogFunc, dwInitParam, true);
    return dialog ? RunModalDialog(dialog) : -1;
}

INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
    DialogTemplate t;
    if (!LoadDialogTemplate(hInstance, lpTemplateName, t)) return -1;
    if (hWndParent && !CheckHandle(hWndParent)) return -1;
    HWND dialog = CreateDialogFromTemplate(hInstance, t, hWndParent, lpDialogFunc, dwInitParam, true);
    return dialog ? RunModalDialog(dialog) : -1;
}

// Ends a dialog: the modal loop returns the value once the current message
// is handled. The owner comes back and the dialog hides at once.
BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    if (!CheckHandle(hDlg)) return FALSE;
    DialogState *state = FindDialogState(hDlg);
    if (!state) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    state->ended = true;
    state->result = nResult;
    HWND owner = state->disabledOwner;
    if (owner) {
        state->disabledOwner = nullptr;
        EnableWindow(owner, TRUE);
    }
    bool wasActive = GetActiveWindow() == hDlg;
    if (IsChild(hDlg, GetFocus())) SetFocus(hDlg);
    ShowWindow(hDlg, SW_HIDE);
    if (wasActive && owner && IsWindow(owner)) SetForegroundWindow(owner);
    return TRUE;
}
