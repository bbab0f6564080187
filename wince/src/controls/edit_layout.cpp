// Measuring, scrolling and painting a single-line edit box.
#include <algorithm>

#include "control_util.h"
#include "edit.h"

namespace wince::controls {
namespace {

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

// The x where the text starts within the text area, for centred and
// right-aligned boxes whose text fits.
int AlignmentOffset(HWND hwnd, int textWidth, int areaWidth) {
    if (textWidth >= areaWidth) return 0;
    DWORD style = StyleOf(hwnd);
    if (style & ES_CENTER) return (areaWidth - textWidth) / 2;
    if (style & ES_RIGHT) return areaWidth - textWidth;
    return 0;
}

}  // namespace

std::u16string DisplayText(HWND hwnd, const EditState &s) {
    if (StyleOf(hwnd) & ES_PASSWORD) return std::u16string(s.text.size(), u'*');
    return s.text;
}

std::vector<int> CaretPositions(HWND hwnd, const EditState &s) {
    std::u16string shown = DisplayText(hwnd, s);
    std::vector<int> x(shown.size() + 1, 0);
    if (shown.empty()) return x;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FontOrSystem(s.font));
    std::vector<int> dx(shown.size(), 0);
    SIZE size;
    int fit = 0;
    GetTextExtentExPointW(dc, shown.c_str(), static_cast<int>(shown.size()), 0x7FFFFFFF, &fit, dx.data(), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    for (size_t i = 0; i < dx.size(); ++i) x[i + 1] = dx[i];
    return x;
}

RECT TextArea(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    int margin = Scaled(2);
    r.left += margin;
    r.right = std::max(r.left, r.right - margin);
    return r;
}

int PositionAt(HWND hwnd, const EditState &s, int x) {
    std::vector<int> xs = CaretPositions(hwnd, s);
    RECT area = TextArea(hwnd);
    int offset = area.left - s.scroll + AlignmentOffset(hwnd, xs.back(), area.right - area.left);
    int best = 0;
    for (size_t i = 1; i < xs.size(); ++i)
        if (std::abs(xs[i] + offset - x) < std::abs(xs[best] + offset - x)) best = static_cast<int>(i);
    return best;
}

void ScrollToCaret(HWND hwnd, EditState &s) {
    if (!(StyleOf(hwnd) & ES_AUTOHSCROLL)) {
        s.scroll = 0;
        return;
    }
    std::vector<int> xs = CaretPositions(hwnd, s);
    RECT area = TextArea(hwnd);
    int width = area.right - area.left;
    int caretX = xs[std::min<size_t>(s.caret, xs.size() - 1)];
    if (caretX - s.scroll > width - 1) s.scroll = caretX - width + 1;
    if (caretX < s.scroll) s.scroll = caretX;
    // No empty space on the right while text is scrolled out on the left.
    s.scroll = std::max(0, std::min(s.scroll, std::max(0, xs.back() - width + 1)));
}

void PaintEdit(HWND hwnd, HDC hdc, const EditState &s) {
    RECT client;
    GetClientRect(hwnd, &client);
    DWORD style = StyleOf(hwnd);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    bool readOnly = (style & ES_READONLY) != 0;
    HBRUSH background = ControlColors(hwnd, hdc, readOnly || !enabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    FillRect(hdc, &client, background);
    if (!enabled) UseGrayText(hdc);
    HGDIOBJ oldFont = SelectObject(hdc, FontOrSystem(s.font));
    TEXTMETRICW tm{};
    GetTextMetricsW(hdc, &tm);
    RECT area = TextArea(hwnd);
    std::u16string shown = DisplayText(hwnd, s);
    std::vector<int> xs = CaretPositions(hwnd, s);
    int left = area.left - s.scroll + AlignmentOffset(hwnd, xs.back(), area.right - area.left);
    int top = std::max(0, static_cast<int>(client.bottom - tm.tmHeight) / 2);
    SetBkMode(hdc, TRANSPARENT);
    ExtTextOutW(hdc, left, top, ETO_CLIPPED, &area, shown.c_str(), static_cast<UINT>(shown.size()), nullptr);
    // The selection shows in the highlight colours while the box has the
    // focus (always with ES_NOHIDESEL): the text again, clipped to it.
    if (s.SelStart() != s.SelEnd() && (s.focused || (style & ES_NOHIDESEL))) {
        RECT sel{left + xs[s.SelStart()], top, left + xs[s.SelEnd()], top + tm.tmHeight};
        IntersectRect(&sel, &sel, &area);
        FillRect(hdc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
        COLORREF oldColor = SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        ExtTextOutW(hdc, left, top, ETO_CLIPPED, &sel, shown.c_str(), static_cast<UINT>(shown.size()), nullptr);
        SetTextColor(hdc, oldColor);
    }
    if (s.focused && enabled) {
        int x = left + xs[std::min<size_t>(s.caret, xs.size() - 1)];
        x = std::max<int>(area.left, std::min<int>(x, area.right - 1));
        RECT caret{x, top, x + std::max(1, Scaled(1)), top + tm.tmHeight};
        PatBlt(hdc, caret.left, caret.top, caret.right - caret.left, caret.bottom - caret.top, DSTINVERT);
    }
    SelectObject(hdc, oldFont);
}

}  // namespace wince::controls
