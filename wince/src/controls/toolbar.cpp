// "ToolbarWindow32": its messages.
#include "toolbar.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "control_util.h"
#include "shell/shell_bars.h"
#include "window/item_report.h"
#include "window/window_class.h"

namespace wince::controls {
namespace {

int IndexOfCommand(const ToolbarState &s, WPARAM command) {
    for (size_t i = 0; i < s.buttons.size(); ++i)
        if (s.buttons[i].command == static_cast<int>(command)) return static_cast<int>(i);
    return -1;
}

bool ValidIndex(const ToolbarState &s, WPARAM index) { return index < s.buttons.size(); }

// A label is given as a pointer; small values index a string pool this
// layer does not keep.
ToolbarButton FromTbButton(const TBBUTTON &b) {
    ToolbarButton out;
    out.image = b.iBitmap;
    out.command = b.idCommand;
    out.state = b.fsState;
    out.style = b.fsStyle;
    out.data = b.dwData;
    if (!IS_INTRESOURCE(b.iString)) out.text = reinterpret_cast<LPCWSTR>(b.iString);
    return out;
}

// Buttons are read with the size the program announced.
TBBUTTON ReadButton(const ToolbarState &s, const BYTE *array, size_t index) {
    size_t stride = s.structSize ? s.structSize : sizeof(TBBUTTON);
    TBBUTTON b{};
    memcpy(&b, array + index * stride, std::min(stride, sizeof(TBBUTTON)));
    return b;
}

void Changed(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

LRESULT InsertButtons(HWND hwnd, ToolbarState &s, size_t at, UINT count, LPARAM lParam) {
    if (!lParam) return FALSE;
    if (s.structSize && s.structSize < offsetof(TBBUTTON, dwData)) return FALSE;
    auto *array = reinterpret_cast<const BYTE *>(lParam);
    at = std::min(at, s.buttons.size());
    for (UINT i = 0; i < count; ++i)
        s.buttons.insert(s.buttons.begin() + static_cast<long>(at + i), FromTbButton(ReadButton(s, array, i)));
    Changed(hwnd);
    return TRUE;
}

LRESULT GetButtonInfo(HWND hwnd, ToolbarState &s, WPARAM which, TBBUTTONINFOW *info) {
    if (!info || info->cbSize != sizeof(TBBUTTONINFOW)) return -1;
    int index = (info->dwMask & TBIF_BYINDEX) ? (ValidIndex(s, which) ? static_cast<int>(which) : -1)
                                              : IndexOfCommand(s, which);
    if (index < 0) return -1;
    const ToolbarButton &b = s.buttons[index];
    if (info->dwMask & TBIF_COMMAND) info->idCommand = b.command;
    if (info->dwMask & TBIF_IMAGE) info->iImage = b.image;
    if (info->dwMask & TBIF_STATE) info->fsState = b.state;
    if (info->dwMask & TBIF_STYLE) info->fsStyle = b.style;
    if (info->dwMask & TBIF_LPARAM) info->lParam = b.data;
    if (info->dwMask & TBIF_SIZE) {
        std::vector<RECT> rects = ButtonRects(hwnd, s);
        info->cx = static_cast<WORD>(rects[index].right - rects[index].left);
    }
    if ((info->dwMask & TBIF_TEXT) && info->pszText && info->cchText > 0) {
        size_t n = std::min<size_t>(b.text.size(), static_cast<size_t>(info->cchText - 1));
        b.text.copy(info->pszText, n);
        info->pszText[n] = 0;
    }
    return index;
}

LRESULT SetButtonInfo(HWND hwnd, ToolbarState &s, WPARAM which, const TBBUTTONINFOW *info) {
    if (!info || info->cbSize != sizeof(TBBUTTONINFOW)) return FALSE;
    int index = (info->dwMask & TBIF_BYINDEX) ? (ValidIndex(s, which) ? static_cast<int>(which) : -1)
                                              : IndexOfCommand(s, which);
    if (index < 0) return FALSE;
    ToolbarButton &b = s.buttons[index];
    if (info->dwMask & TBIF_COMMAND) b.command = info->idCommand;
    if (info->dwMask & TBIF_IMAGE) b.image = info->iImage;
    if (info->dwMask & TBIF_STATE) b.state = info->fsState;
    if (info->dwMask & TBIF_STYLE) b.style = info->fsStyle;
    if (info->dwMask & TBIF_LPARAM) b.data = info->lParam;
    if (info->dwMask & TBIF_SIZE) b.width = info->cx;
    if (info->dwMask & TBIF_TEXT) b.text = info->pszText ? info->pszText : u"";
    Changed(hwnd);
    return TRUE;
}

LRESULT GetRect(HWND hwnd, ToolbarState &s, int index, LPARAM lParam) {
    if (index < 0 || !lParam) return FALSE;
    *reinterpret_cast<RECT *>(lParam) = ButtonRects(hwnd, s)[index];
    return TRUE;
}

// Sets or clears state bits of the button with that command.
LRESULT ChangeState(HWND hwnd, ToolbarState &s, WPARAM command, BYTE bits, bool on) {
    int index = IndexOfCommand(s, command);
    if (index < 0) return FALSE;
    BYTE &state = s.buttons[index].state;
    state = on ? (state | bits) : (state & ~bits);
    Changed(hwnd);
    return TRUE;
}

// Fills its parent's width, as high as its buttons; a menu bar keeps to
// the bottom strip.
void AutoSize(HWND hwnd, ToolbarState &s) {
    if (s.menuBar) {
        shell::PlaceMenuBar(hwnd);
        return;
    }
    HWND parent = GetParent(hwnd);
    if (!parent || !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) return;
    RECT client;
    GetClientRect(parent, &client);
    RECT now;
    GetWindowRect(hwnd, &now);
    POINT at{now.left, now.top};
    ScreenToClient(parent, &at);
    SetWindowPos(hwnd, nullptr, 0, at.y, client.right, s.buttonSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Create(HWND hwnd, const CREATESTRUCTW *cs) {
    auto *s = new ToolbarState;
    s->notify = cs->hwndParent;
    SetState(hwnd, s);
    return 0;
}

LRESULT CALLBACK ToolbarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) return Create(hwnd, reinterpret_cast<const CREATESTRUCTW *>(lParam));
    ToolbarState *s = StateOf<ToolbarState>(hwnd);
    if (!s) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case TB_BUTTONSTRUCTSIZE:
            s->structSize = static_cast<UINT>(wParam);
            return 0;
        case TB_BUTTONCOUNT:
            return static_cast<LRESULT>(s->buttons.size());
        case TB_ADDBUTTONS:
            return InsertButtons(hwnd, *s, s->buttons.size(), static_cast<UINT>(wParam), lParam);
        case TB_INSERTBUTTON:
            return InsertButtons(hwnd, *s, wParam, 1, lParam);
        case TB_DELETEBUTTON:
            if (!ValidIndex(*s, wParam)) return FALSE;
            s->buttons.erase(s->buttons.begin() + static_cast<long>(wParam));
            s->pressed = -1;
            Changed(hwnd);
            return TRUE;
        case TB_GETBUTTON: {
            if (!ValidIndex(*s, wParam) || !lParam) return FALSE;
            const ToolbarButton &b = s->buttons[wParam];
            TBBUTTON out{};
            out.iBitmap = b.image;
            out.idCommand = b.command;
            out.fsState = b.state;
            out.fsStyle = b.style;
            out.dwData = b.data;
            out.iString = b.text.empty() ? 0 : reinterpret_cast<INT_PTR>(b.text.c_str());
            *reinterpret_cast<TBBUTTON *>(lParam) = out;
            return TRUE;
        }
        case TB_COMMANDTOINDEX:
            return IndexOfCommand(*s, wParam);
        case TB_GETBUTTONINFOW:
            return GetButtonInfo(hwnd, *s, wParam, reinterpret_cast<TBBUTTONINFOW *>(lParam));
        case TB_SETBUTTONINFOW:
            return SetButtonInfo(hwnd, *s, wParam, reinterpret_cast<const TBBUTTONINFOW *>(lParam));
        case TB_SETBUTTONSIZE:
            if (LOWORD(lParam)) s->buttonSize.cx = LOWORD(lParam);
            if (HIWORD(lParam)) s->buttonSize.cy = HIWORD(lParam);
            Changed(hwnd);
            return TRUE;
        case TB_GETBUTTONSIZE:
            return MAKELONG(s->buttonSize.cx, s->buttonSize.cy);
        case TB_GETRECT:
            return GetRect(hwnd, *s, IndexOfCommand(*s, wParam), lParam);
        case TB_GETITEMRECT:
            return GetRect(hwnd, *s, ValidIndex(*s, wParam) ? static_cast<int>(wParam) : -1, lParam);
        case TB_SETSTATE: {
            int index = IndexOfCommand(*s, wParam);
            if (index < 0) return FALSE;
            s->buttons[index].state = static_cast<BYTE>(LOWORD(lParam));
            Changed(hwnd);
            return TRUE;
        }
        case TB_GETSTATE: {
            int index = IndexOfCommand(*s, wParam);
            return index < 0 ? -1 : s->buttons[index].state;
        }
        case TB_ENABLEBUTTON:
            return ChangeState(hwnd, *s, wParam, TBSTATE_ENABLED, LOWORD(lParam) != 0);
        case TB_CHECKBUTTON:
            return ChangeState(hwnd, *s, wParam, TBSTATE_CHECKED, LOWORD(lParam) != 0);
        case TB_PRESSBUTTON:
            return ChangeState(hwnd, *s, wParam, TBSTATE_PRESSED, LOWORD(lParam) != 0);
        case TB_HIDEBUTTON:
            return ChangeState(hwnd, *s, wParam, TBSTATE_HIDDEN, LOWORD(lParam) != 0);
        case TB_ISBUTTONENABLED: {
            int index = IndexOfCommand(*s, wParam);
            return index >= 0 && (s->buttons[index].state & TBSTATE_ENABLED);
        }
        case TB_ISBUTTONCHECKED: {
            int index = IndexOfCommand(*s, wParam);
            return index >= 0 && (s->buttons[index].state & TBSTATE_CHECKED);
        }
        case TB_AUTOSIZE:
            AutoSize(hwnd, *s);
            return 0;
        case TB_SETPARENT: {
            HWND old = s->notify;
            s->notify = reinterpret_cast<HWND>(wParam);
            return reinterpret_cast<LRESULT>(old);
        }
        case TB_SETSTYLE:
            SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(lParam));
            Changed(hwnd);
            return 0;
        case TB_GETSTYLE:
            return GetWindowLongW(hwnd, GWL_STYLE);
        case TB_SETBITMAPSIZE:
            return TRUE;
        case WM_SETFONT:
            s->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) Changed(hwnd);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(s->font);
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintToolbar(hwnd, *s);
            return 0;
        case WM_LBUTTONDOWN:
            ToolbarStylusDown(hwnd, *s, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_LBUTTONUP:
            ToolbarStylusUp(hwnd, *s, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_CAPTURECHANGED:
            if (s->pressed >= 0) s->pressed = -1, Changed(hwnd);
            return 0;
        case WM_SETTINGCHANGE:
            if (s->menuBar && wParam == SETTINGCHANGE_RESET) shell::PlaceMenuBar(hwnd);
            return 0;
        case WM_DESTROY:  // the last message a window gets here
            if (s->menu) DestroyMenu(s->menu);
            delete s;
            SetState(hwnd, nullptr);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The dump and a script's click see the buttons with their labels.
bool ReportButtons(HWND hwnd, std::vector<ReportedItem> &out) {
    ToolbarState *s = ToolbarOf(hwnd);
    if (!s) return false;
    std::vector<RECT> rects = ButtonRects(hwnd, *s);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    for (size_t i = 0; i < s->buttons.size(); ++i) {
        const ToolbarButton &b = s->buttons[i];
        ReportedItem item;
        item.text = b.text;
        item.id = static_cast<UINT>(b.command);
        item.enabled = (b.state & TBSTATE_ENABLED) != 0;
        item.checked = (b.state & TBSTATE_CHECKED) != 0;
        item.separator = (b.style & TBSTYLE_SEP) != 0;
        if (!(b.state & TBSTATE_HIDDEN) && IsWindowVisible(hwnd)) {
            item.rect = rects[i];
            OffsetRect(&item.rect, origin.x, origin.y);
        }
        out.push_back(item);
    }
    return true;
}

struct Registration {
    Registration() {
        AddSystemClassRegistrar([] { RegisterControlClass(TOOLBARCLASSNAMEW, ToolbarProc); });
        RegisterItemReporter(TOOLBARCLASSNAMEW, ReportButtons);
    }
} registration;

}  // namespace

ToolbarState *ToolbarOf(HWND hwnd) {
    WCHAR cls[32] = {};
    if (!hwnd || !GetClassNameW(hwnd, cls, 32) || lstrcmpiW(cls, TOOLBARCLASSNAMEW) != 0) return nullptr;
    return StateOf<ToolbarState>(hwnd);
}

}  // namespace wince::controls
