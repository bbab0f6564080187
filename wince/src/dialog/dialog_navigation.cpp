// Tab and group order among a dialog's controls, and moving the focus the
// dialog manager's way.
#include <algorithm>

#include "dialog_state.h"
#include "window/window.h"

namespace wince {
namespace {

DWORD StyleOf(HWND h) { return static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE)); }

// Navigation looks at the controls' own styles: a dialog that is not shown
// yet still has a first control.
bool Reachable(HWND h) {
    DWORD s = StyleOf(h);
    return (s & WS_VISIBLE) && !(s & WS_DISABLED);
}

void Collect(HWND parent, std::vector<HWND> &out) {
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if ((GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && Reachable(h)) Collect(h, out);
        else out.push_back(h);
    }
}

// Push buttons show which one Enter presses: the focused one, else the
// dialog's default.
void UpdateDefaultLook(HWND dialog, HWND focus, UINT focusCode) {
    HWND target = nullptr;
    if (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
        target = focus;
    } else if (DialogState *state = FindDialogState(dialog); state && state->hasDefId) {
        // Only a default the template or DM_SETDEFID named gets the look back.
        target = GetDlgItem(dialog, state->defId);
    }
    std::vector<HWND> items;
    CollectDialogItems(dialog, items);
    for (HWND h : items) {
        UINT code = static_cast<UINT>(SendMessageW(h, WM_GETDLGCODE, 0, 0));
        if (h != target && (code & DLGC_DEFPUSHBUTTON)) SendMessageW(h, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        if (h == target && (code & DLGC_UNDEFPUSHBUTTON)) SendMessageW(h, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
}

}  // namespace

void CollectDialogItems(HWND dialog, std::vector<HWND> &out) {
    out.clear();
    Collect(dialog, out);
}

void SetDialogFocus(HWND dialog, HWND control) {
    if (!control || !IsWindow(control)) return;
    UINT code = static_cast<UINT>(SendMessageW(control, WM_GETDLGCODE, 0, 0));
    if (code & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
    UpdateDefaultLook(dialog, control, code);
    SetFocus(control);
}

}  // namespace wince

using namespace wince;

HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    if (!CheckHandle(hDlg)) return nullptr;
    std::vector<HWND> items;
    CollectDialogItems(hDlg, items);
    int n = static_cast<int>(items.size());
    if (!n) return nullptr;
    auto found = std::find(items.begin(), items.end(), hCtl);
    // Without a starting control the search starts beyond the last one (or the first).
    int start = found == items.end() ? (bPrevious ? 0 : n - 1) : static_cast<int>(found - items.begin());
    int step = bPrevious ? -1 : 1;
    for (int k = 1; k <= n; ++k) {
        HWND h = items[((start + step * k) % n + n) % n];
        if ((StyleOf(h) & WS_TABSTOP) && Reachable(h)) return h;
    }
    return hCtl;
}

HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    if (!CheckHandle(hDlg)) return nullptr;
    std::vector<HWND> items;
    CollectDialogItems(hDlg, items);
    int n = static_cast<int>(items.size());
    if (!n) return nullptr;
    auto found = std::find(items.begin(), items.end(), hCtl);
    int at = found == items.end() ? 0 : static_cast<int>(found - items.begin());
    // The group runs from a WS_GROUP control up to the next one.
    int first = at;
    while (first > 0 && !(StyleOf(items[first]) & WS_GROUP)) --first;
    int last = at + 1;
    while (last < n && !(StyleOf(items[last]) & WS_GROUP)) ++last;
    int size = last - first;
    if (found == items.end()) return Reachable(items[first]) ? items[first] : nullptr;
    int step = bPrevious ? -1 : 1;
    for (int k = 1; k < size; ++k) {
        HWND h = items[first + (((at - first) + step * k) % size + size) % size];
        if (Reachable(h)) return h;
    }
    return hCtl;
}
