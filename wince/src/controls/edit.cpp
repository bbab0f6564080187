// The single-line "EDIT" class: text, selection, typing and the
// notifications that tell the parent about them.
#include <algorithm>

#include "control_util.h"
#include "edit.h"
#include "window/window_class.h"

namespace wince::controls {
namespace {

constexpr int kMaxLimit = 0x7FFFFFFE;

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

void Changed(HWND hwnd) {
    NotifyParent(hwnd, EN_UPDATE);
    if (IsWindow(hwnd)) NotifyParent(hwnd, EN_CHANGE);
}

std::u16string CaseFolded(HWND hwnd, std::u16string text) {
    DWORD style = StyleOf(hwnd);
    if (style & ES_UPPERCASE) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    else if (style & ES_LOWERCASE) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The width the text would take without ES_AUTOHSCROLL must fit the box.
bool FitsWidth(HWND hwnd, const EditState &s, const std::u16string &candidate) {
    if (StyleOf(hwnd) & ES_AUTOHSCROLL) return true;
    EditState probe = s;
    probe.text = candidate;
    RECT area = TextArea(hwnd);
    return CaretPositions(hwnd, probe).back() <= area.right - area.left;
}

// Replaces the selection, keeping to the limit (and, for the user, the
// width of a box that does not scroll). EN_MAXTEXT when something was cut
// off; EN_UPDATE and EN_CHANGE when the text changed.
void ReplaceSelection(HWND hwnd, EditState *s, std::u16string insert, bool byUser) {
    insert = CaseFolded(hwnd, std::move(insert));
    int start = s->SelStart(), end = s->SelEnd();
    int room = std::max(0, s->limit - (static_cast<int>(s->text.size()) - (end - start)));
    bool truncated = false;
    if (static_cast<int>(insert.size()) > room) {
        insert.resize(static_cast<size_t>(room));
        truncated = true;
    }
    std::u16string result = s->text.substr(0, start) + insert + s->text.substr(end);
    if (byUser) {
        while (!insert.empty() && !FitsWidth(hwnd, *s, result)) {
            insert.pop_back();
            result = s->text.substr(0, start) + insert + s->text.substr(end);
            truncated = true;
        }
    }
    bool changed = result != s->text;
    s->text = std::move(result);
    s->anchor = s->caret = start + static_cast<int>(insert.size());
    if (changed && byUser) s->modified = true;
    ScrollToCaret(hwnd, *s);
    Redraw(hwnd);
    if (truncated) NotifyParent(hwnd, EN_MAXTEXT);
    if (changed && IsWindow(hwnd)) Changed(hwnd);
}

void TypeCharacter(HWND hwnd, EditState *s, WCHAR ch) {
    DWORD style = StyleOf(hwnd);
    if (style & ES_READONLY) return;
    if (ch == 0x08) {  // Backspace
        if (s->anchor == s->caret) {
            if (s->caret == 0) return;
            s->anchor = s->caret - 1;
        }
        ReplaceSelection(hwnd, s, u"", true);
        return;
    }
    if (ch < 0x20) return;  // other control characters are not text
    if ((style & ES_NUMBER) && (ch < '0' || ch > '9')) {
        MessageBeep(MB_OK);
        return;
    }
    ReplaceSelection(hwnd, s, std::u16string(1, ch), true);
}

void MoveCaret(HWND hwnd, EditState *s, int to, bool extend) {
    to = std::max(0, std::min(to, static_cast<int>(s->text.size())));
    s->caret = to;
    if (!extend) s->anchor = to;
    ScrollToCaret(hwnd, *s);
    Redraw(hwnd);
}

void KeyDown(HWND hwnd, EditState *s, WPARAM key) {
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    int length = static_cast<int>(s->text.size());
    switch (key) {
        case VK_LEFT:
            // Without Shift an existing selection collapses to its start.
            if (!shift && s->anchor != s->caret) MoveCaret(hwnd, s, s->SelStart(), false);
            else MoveCaret(hwnd, s, s->caret - 1, shift);
            break;
        case VK_RIGHT:
            if (!shift && s->anchor != s->caret) MoveCaret(hwnd, s, s->SelEnd(), false);
            else MoveCaret(hwnd, s, s->caret + 1, shift);
            break;
        case VK_HOME:
            MoveCaret(hwnd, s, 0, shift);
            break;
        case VK_END:
            MoveCaret(hwnd, s, length, shift);
            break;
        case VK_DELETE:
            if (StyleOf(hwnd) & ES_READONLY) break;
            if (s->anchor == s->caret) {
                if (s->caret >= length) break;
                s->anchor = s->caret + 1;
            }
            ReplaceSelection(hwnd, s, u"", true);
            break;
    }
}

// EM_SETSEL: -1 as the start removes the selection; -1 as the end (or a
// position past the text) is the end of the text.
void SetSelection(HWND hwnd, EditState *s, WPARAM startParam, LPARAM endParam) {
    int length = static_cast<int>(s->text.size());
    int start = static_cast<int>(startParam), end = static_cast<int>(endParam);
    if (start == -1) {
        s->anchor = s->caret;
    } else {
        auto clamp = [&](int v) { return v < 0 || v > length ? length : v; };
        s->anchor = clamp(start);
        s->caret = clamp(end);
    }
    ScrollToCaret(hwnd, *s);
    Redraw(hwnd);
}

LRESULT GetSelection(const EditState *s, WPARAM wParam, LPARAM lParam) {
    if (wParam) *reinterpret_cast<DWORD *>(wParam) = static_cast<DWORD>(s->SelStart());
    if (lParam) *reinterpret_cast<DWORD *>(lParam) = static_cast<DWORD>(s->SelEnd());
    if (s->SelEnd() > 0xFFFF) return -1;
    return MAKELONG(s->SelStart(), s->SelEnd());
}

LRESULT SetText(HWND hwnd, EditState *s, LPCWSTR text) {
    // WM_SETTEXT ignores the limit, as on the device.
    s->text = CaseFolded(hwnd, text ? std::u16string(text) : std::u16string());
    s->anchor = s->caret = 0;
    s->scroll = 0;
    s->modified = false;
    Redraw(hwnd);
    Changed(hwnd);
    return TRUE;
}

LRESULT GetText(const EditState *s, WPARAM max, LPARAM buffer) {
    auto *out = reinterpret_cast<LPWSTR>(buffer);
    if (!out || max == 0) return 0;
    size_t n = std::min<size_t>(s->text.size(), max - 1);
    std::copy_n(s->text.begin(), n, out);
    out[n] = 0;
    return static_cast<LRESULT>(n);
}

// EM_GETLINE: the buffer's first word holds its size; no terminator is added.
LRESULT GetLine(const EditState *s, WPARAM line, LPARAM buffer) {
    auto *out = reinterpret_cast<LPWSTR>(buffer);
    if (!out || line != 0) return 0;
    size_t n = std::min<size_t>(s->text.size(), static_cast<WORD>(out[0]));
    std::copy_n(s->text.begin(), n, out);
    return static_cast<LRESULT>(n);
}

void StylusDown(HWND hwnd, EditState *s, LPARAM lParam) {
    if (GetFocus() != hwnd) SetFocus(hwnd);
    if (!IsWindow(hwnd)) return;
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    MoveCaret(hwnd, s, PositionAt(hwnd, *s, GET_X_LPARAM(lParam)), shift);
    s->selecting = true;
    SetCapture(hwnd);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *s = StateOf<EditState>(hwnd);
    if (msg == WM_CREATE) {
        s = new EditState;
        SetState(hwnd, s);
        auto *cs = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) s->text = CaseFolded(hwnd, cs->lpszName);
        return 0;
    }
    if (!s) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_DESTROY:
            SetState(hwnd, nullptr);
            delete s;
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        case WM_SETFONT:
            s->font = reinterpret_cast<HFONT>(wParam);
            ScrollToCaret(hwnd, *s);
            if (LOWORD(lParam)) Redraw(hwnd);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(s->font);
        case WM_SETTEXT:
            return SetText(hwnd, s, reinterpret_cast<LPCWSTR>(lParam));
        case WM_GETTEXT:
            return GetText(s, wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(s->text.size());
        case WM_SETFOCUS:
            s->focused = true;
            Redraw(hwnd);
            NotifyParent(hwnd, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            s->focused = false;
            Redraw(hwnd);
            NotifyParent(hwnd, EN_KILLFOCUS);
            return 0;
        case WM_ENABLE:
        case WM_SIZE:
            ScrollToCaret(hwnd, *s);
            Redraw(hwnd);
            return 0;
        case WM_CHAR:
            TypeCharacter(hwnd, s, static_cast<WCHAR>(wParam));
            return 0;
        case WM_KEYDOWN:
            KeyDown(hwnd, s, wParam);
            return 0;
        case WM_LBUTTONDOWN:
            StylusDown(hwnd, s, lParam);
            return 0;
        case WM_MOUSEMOVE:
            if (s->selecting) MoveCaret(hwnd, s, PositionAt(hwnd, *s, GET_X_LPARAM(lParam)), true);
            return 0;
        case WM_LBUTTONUP:
            if (s->selecting) {
                s->selecting = false;
                ReleaseCapture();
            }
            return 0;
        case WM_CAPTURECHANGED:
            s->selecting = false;
            return 0;
        case WM_CLEAR:
            if (!(StyleOf(hwnd) & ES_READONLY) && s->anchor != s->caret) ReplaceSelection(hwnd, s, u"", true);
            return 0;
        case EM_GETSEL:
            return GetSelection(s, wParam, lParam);
        case EM_SETSEL:
            SetSelection(hwnd, s, wParam, lParam);
            return 0;
        case EM_REPLACESEL:
            ReplaceSelection(hwnd, s, lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"", false);
            return 0;
        case EM_LIMITTEXT:
            s->limit = wParam == 0 || wParam > static_cast<WPARAM>(kMaxLimit) ? kMaxLimit : static_cast<int>(wParam);
            return 0;
        case EM_GETLIMITTEXT:
            return s->limit;
        case EM_GETMODIFY:
            return s->modified;
        case EM_SETMODIFY:
            s->modified = wParam != 0;
            return 0;
        case EM_SETREADONLY: {
            LONG style = GetWindowLongW(hwnd, GWL_STYLE);
            SetWindowLongW(hwnd, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~ES_READONLY));
            Redraw(hwnd);
            return TRUE;
        }
        case EM_GETLINECOUNT:
            return 1;
        case EM_GETLINE:
            return GetLine(s, wParam, lParam);
        case EM_SCROLLCARET:
            ScrollToCaret(hwnd, *s);
            Redraw(hwnd);
            return TRUE;
        case EM_GETRECT:
            if (lParam) *reinterpret_cast<RECT *>(lParam) = TextArea(hwnd);
            return 0;
        case EM_CANUNDO:
        case EM_UNDO:
            return FALSE;  // no undo buffer is kept
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hwnd, &ps);
            PaintEdit(hwnd, hdc, *s);
            EndPaint(hwnd, &ps);
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct Registration {
    Registration() {
        AddSystemClassRegistrar([] { RegisterControlClass(u"EDIT", EditProc); });
    }
} registration;

}  // namespace
}  // namespace wince::controls
