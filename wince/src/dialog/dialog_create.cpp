// Making a dialog from its template: the window, its font, its controls in
// template order, WM_INITDIALOG and the first focus.
#include <algorithm>

#include "dialog_create.h"
#include "dialog_scroll.h"
#include "dialog_state.h"
#include "module/resources.h"
#include "window/window.h"

namespace wince {
namespace {

int ScaleRounded(int value, int numerator, int denominator) {
    long long p = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(p >= 0 ? (p + half) / denominator : -((-p + half) / denominator));
}

bool IsSystemFaceName(const std::u16string &face) {
    return lstrcmpiW(face.c_str(), u"System") == 0 || lstrcmpiW(face.c_str(), u"MS Shell Dlg") == 0 ||
           lstrcmpiW(face.c_str(), u"MS Shell Dlg 2") == 0;
}

// The template's font at the device's dpi; "System" and "MS Shell Dlg" are
// the system font's face.
HFONT MakeTemplateFont(const DialogTemplate &t) {
    LOGFONTW lf{};
    if (IsSystemFaceName(t.faceName)) {
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
    } else {
        size_t n = std::min<size_t>(t.faceName.size(), LF_FACESIZE - 1);
        std::copy_n(t.faceName.begin(), n, lf.lfFaceName);
        lf.lfFaceName[n] = 0;
    }
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    lf.lfHeight = -ScaleRounded(t.pointSize, dpi ? dpi : 96, 72);
    lf.lfWidth = 0;
    lf.lfWeight = FW_NORMAL;
    lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = 0;
    return CreateFontIndirectW(&lf);
}

// The frame around a client area of a window of these styles.
SIZE FrameSize(DWORD style, DWORD exStyle) {
    Window probe;
    probe.style = style;
    probe.exStyle = exStyle;
    probe.rect = RECT{0, 0, 1000, 1000};
    RECT c = ClientRectInWindow(probe);
    return SIZE{1000 - (c.right - c.left), 1000 - (c.bottom - c.top)};
}

RECT WorkArea() {
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// Where a top-level dialog goes: relative to its parent's client area
// unless DS_ABSALIGN, centred on the work area with DS_CENTER, and kept on
// the screen.
POINT PlacePopup(const DialogTemplate &t, HWND parent, POINT pos, SIZE size) {
    RECT work = WorkArea();
    if (t.style & DS_CENTER) {
        pos.x = work.left + (work.right - work.left - size.cx) / 2;
        pos.y = work.top + (work.bottom - work.top - size.cy) / 2;
    } else if (parent && !(t.style & DS_ABSALIGN)) {
        ClientToScreen(parent, &pos);
    }
    pos.x = std::max<LONG>(work.left, std::min<LONG>(pos.x, work.right - size.cx));
    pos.y = std::max<LONG>(work.top, std::min<LONG>(pos.y, work.bottom - size.cy));
    return pos;
}

bool CreateControls(HWND dialog, HINSTANCE instance, const DialogTemplate &t, DialogState &state) {
    HWND defaultButton = nullptr;
    for (const DialogItemTemplate &item : t.items) {
        LPCWSTR cls = item.className.isOrdinal ? PredefinedClassName(item.className.ordinal)
                                               : item.className.text.c_str();
        LPCWSTR title = item.title.isOrdinal ? MAKEINTRESOURCEW(item.title.ordinal) : item.title.text.c_str();
        int x = ScaleRounded(item.x, state.baseX, 4), y = ScaleRounded(item.y, state.baseY, 8);
        int cx = ScaleRounded(item.cx, state.baseX, 4), cy = ScaleRounded(item.cy, state.baseY, 8);
        HWND control = cls ? CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, cls, title, item.style | WS_CHILD, x,
                                             y, cx, cy, dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)),
                                             instance, const_cast<BYTE *>(item.creationData))
                           : nullptr;
        if (!IsWindow(dialog)) return false;
        if (!control) {
            if (t.style & DS_NOFAILCREATE) continue;
            return false;
        }
        if (t.hasFont) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), 0);
        // The last default push button of the template is the default.
        if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) {
            if (defaultButton) SendMessageW(defaultButton, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
            defaultButton = control;
            state.defId = item.id;
            state.hasDefId = true;
        }
    }
    return true;
}

}  // namespace

bool LoadDialogTemplate(HINSTANCE instance, LPCWSTR name, DialogTemplate &out) {
    ResourceBytes bytes;
    if (!FindResourceBytes(instance, name, RT_DIALOG, bytes)) return false;
    if (!ParseDialogTemplate(bytes.data, bytes.size, out)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return false;
    }
    return true;
}

HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate &source, HWND parent, DLGPROC proc,
                              LPARAM param, bool modal) {
    DialogTemplate t = source;
    DWORD exStyle = t.exStyle;
    if (t.style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
    if (t.style & DS_CONTROL) {
        t.style &= ~static_cast<DWORD>(WS_CAPTION | WS_SYSMENU);
        exStyle |= WS_EX_CONTROLPARENT;
    }
    HFONT font = t.hasFont ? MakeTemplateFont(t) : nullptr;
    SIZE units = DialogBaseUnitsOf(font);
    SIZE client{ScaleRounded(t.cx, units.cx, 4), ScaleRounded(t.cy, units.cy, 8)};
    SIZE frame = FrameSize(t.style, exStyle);
    SIZE size{client.cx + frame.cx, client.cy + frame.cy};
    POINT pos{ScaleRounded(t.x, units.cx, 4), ScaleRounded(t.y, units.cy, 8)};
    if (!(t.style & WS_CHILD)) pos = PlacePopup(t, parent, pos, size);

    // A modal dialog's owner is disabled before the dialog exists, as on the device.
    HWND owner = nullptr;
    if (modal && parent && !(t.style & WS_CHILD)) {
        owner = parent;
        while (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD) owner = GetParent(owner);
        if (DialogState *ownerState = FindDialogState(owner))
            if (IsChild(owner, GetFocus())) ownerState->savedFocus = GetFocus();
        if (!IsWindowEnabled(owner)) owner = nullptr;
        else EnableWindow(owner, FALSE);
    }
    auto fail = [&](HWND made) -> HWND {
        if (made && IsWindow(made)) DestroyWindow(made);
        else if (font) DeleteObject(font);
        if (owner) EnableWindow(owner, TRUE);
        return nullptr;
    };

    LPCWSTR cls = t.className.isOrdinal ? MAKEINTRESOURCEW(t.className.ordinal)
                  : t.className.text.empty() ? u"Dialog"
                                             : t.className.text.c_str();
    HWND dialog = CreateWindowExW(exStyle, cls, t.title.text.c_str(), t.style & ~static_cast<DWORD>(WS_VISIBLE),
                                  pos.x, pos.y, size.cx, size.cy, parent, nullptr, instance, nullptr);
    if (!dialog) return fail(nullptr);
    DialogState &state = AddDialogState(dialog);
    state.font = font;
    state.ownsFont = font != nullptr;
    state.baseX = units.cx;
    state.baseY = units.cy;
    state.modal = modal;
    state.disabledOwner = owner;
    state.initializing = true;
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    if (font) SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    if (!IsWindow(dialog) || !CreateControls(dialog, instance, t, state)) return fail(dialog);

    HWND before = GetFocus();
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    LRESULT focusIt = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(dialog)) return nullptr;
    // TRUE: the dialog manager gives the focus, unless the procedure moved it.
    if (focusIt && GetFocus() == before) {
        first = GetNextDlgTabItem(dialog, nullptr, FALSE);
        if (!first) first = GetNextDlgGroupItem(dialog, nullptr, FALSE);
        if (first) SetDialogFocus(dialog, first);
    }
    if (!IsWindow(dialog)) return nullptr;
    if (DialogState *s = FindDialogState(dialog)) s->initializing = false;
    UpdateDialogScrollBar(dialog);
    if (!IsWindow(dialog)) return nullptr;
    if (t.style & WS_VISIBLE) ShowWindow(dialog, SW_SHOWNORMAL);
    return dialog;
}

}  // namespace wince

using namespace wince;

HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    DialogTemplate t;
    // An in-memory template carries no size: its own counts bound the walk.
    if (!lpTemplate || !ParseDialogTemplate(lpTemplate, SIZE_MAX / 2, t)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (hWndParent && !CheckHandle(hWndParent)) return nullptr;
    return CreateDialogFromTemplate(hInstance, t, hWndParent, lpDialogFunc, dwInitParam, false);
}

HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
    DialogTemplate t;
    if (!LoadDialogTemplate(hInstance, lpTemplateName, t)) return nullptr;
    if (hWndParent && !CheckHandle(hWndParent)) return nullptr;
    return CreateDialogFromTemplate(hInstance, t, hWndParent, lpDialogFunc, dwInitParam, false);
}
