// Painting a tree: dotted lines joining the items, the +/- buttons, the
// images and the labels, the selection on its label.
#include "control_util.h"
#include "treeview.h"

namespace wince::controls {
namespace {

// Every other pixel, starting on an even coordinate, so that lines of
// neighbouring rows meet in one dotted line.
void DottedVertical(HDC hdc, int x, int top, int bottom, COLORREF color) {
    for (int y = top + (top & 1); y < bottom; y += 2) SetPixel(hdc, x, y, color);
}

void DottedHorizontal(HDC hdc, int left, int right, int y, COLORREF color) {
    for (int x = left + (left & 1); x < right; x += 2) SetPixel(hdc, x, y, color);
}

void PaintLines(HWND hwnd, TreeState *s, HDC hdc, TreeId id, const TreeRow &r) {
    if (r.lineX < 0) return;
    COLORREF color = GetSysColor(COLOR_GRAYTEXT);
    int mid = (r.row.top + r.row.bottom) / 2, indent = TreeIndent(s);
    bool first = s->items.Level(id) == 0 && !s->items.Previous(id);
    DottedVertical(hdc, r.lineX, first ? mid : r.row.top, s->items.Next(id) ? r.row.bottom : mid + 1, color);
    DottedHorizontal(hdc, r.lineX, r.lineX + indent / 2 + 1, mid, color);
    // The lines of the ancestors that still have siblings to come pass by.
    int x = r.lineX;
    for (TreeId at = s->items.Parent(id); s->items.Valid(at); at = s->items.Parent(at)) {
        x -= indent;
        if (x < 0) break;
        if (s->items.Next(at)) DottedVertical(hdc, x, r.row.top, r.row.bottom, color);
    }
    (void)hwnd;
}

void PaintButton(TreeState *s, HDC hdc, TreeId id, const RECT &box) {
    Fill(hdc, box, GetSysColor(COLOR_WINDOW));
    Frame(hdc, box, 1, GetSysColor(COLOR_GRAYTEXT));
    COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    int arm = (box.right - box.left) / 2 - 2;
    Fill(hdc, RECT{cx - arm, cy, cx + arm + 1, cy + 1}, ink);
    if (!s->items.Expanded(id)) Fill(hdc, RECT{cx, cy - arm, cx + 1, cy + arm + 1}, ink);
}

}  // namespace

void TreePaint(HWND hwnd, TreeState *s) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    Fill(hdc, client, GetSysColor(COLOR_WINDOW));
    HGDIOBJ oldFont = SelectObject(hdc, FontOrSystem(s->font));
    SetBkMode(hdc, TRANSPARENT);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    bool showSelection = s->focused || (TreeStyle(hwnd) & TVS_SHOWSELALWAYS);
    std::vector<TreeId> shown = s->items.Shown();
    int visible = TreeVisibleRows(hwnd, s) + 1;  // a part row at the bottom too
    for (int row = s->top; row < static_cast<int>(shown.size()) && row < s->top + visible; ++row) {
        TreeId id = shown[static_cast<size_t>(row)];
        TreeRow r = TreeRowOf(hwnd, s, id, row);
        if (TreeStyle(hwnd) & TVS_HASLINES) PaintLines(hwnd, s, hdc, id, r);
        if (!IsRectEmpty(&r.button)) PaintButton(s, hdc, id, r.button);
        bool selected = id == s->caret || id == s->dropHilite;
        if (s->images && !IsRectEmpty(&r.icon)) {
            int image = TreeItemImage(hwnd, s, id, id == s->caret);
            if (image >= 0) ImageList_Draw(s->images, image, hdc, r.icon.left, r.icon.top, ILD_TRANSPARENT);
        }
        COLORREF text = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
        if (selected && enabled && (showSelection || id == s->dropHilite)) {
            // Without the focus the selection stays visible in a quieter colour.
            bool strong = s->focused || id == s->dropHilite;
            Fill(hdc, r.label, GetSysColor(strong ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
            if (strong) text = GetSysColor(COLOR_HIGHLIGHTTEXT);
        }
        SetTextColor(hdc, text);
        RECT label = r.label;
        label.left += Scaled(2);
        std::u16string t = TreeItemText(hwnd, s, id);
        DrawTextW(hdc, t.c_str(), static_cast<int>(t.size()), &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    SelectObject(hdc, oldFont);
    EndPaint(hwnd, &ps);
}

}  // namespace wince::controls
