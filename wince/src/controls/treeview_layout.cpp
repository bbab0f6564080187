// Where a tree's rows, buttons, images and labels are, and scrolling.
#include <algorithm>

#include "control_util.h"
#include "treeview.h"

namespace wince::controls {
namespace {

SIZE ImageSize(const TreeState *s) {
    int cx = 0, cy = 0;
    if (s->images && !ImageList_GetIconSize(s->images, &cx, &cy)) cx = cy = 0;
    return SIZE{cx, cy};
}

// Top items get a column of their own only with lines or buttons at the root.
bool RootColumn(HWND hwnd) {
    DWORD style = TreeStyle(hwnd);
    return (style & TVS_LINESATROOT) && (style & (TVS_HASLINES | TVS_HASBUTTONS));
}

}  // namespace

int TreeRowHeight(const TreeState *s) {
    return std::max(FontHeight(s->font), static_cast<int>(ImageSize(s).cy)) + Scaled(3);
}

int TreeIndent(const TreeState *s) { return std::max(Scaled(16), static_cast<int>(ImageSize(s).cx) + Scaled(3)); }

int TreeVisibleRows(HWND hwnd, const TreeState *s) {
    RECT client;
    GetClientRect(hwnd, &client);
    return std::max(1, static_cast<int>(client.bottom) / std::max(1, TreeRowHeight(s)));
}

std::u16string TreeItemText(HWND hwnd, TreeState *s, TreeId id) {
    TreeNode *n = s->items.Node(id);
    if (!n) return u"";
    if (!n->textCallback) return n->text;
    WCHAR buffer[260] = u"";
    NMTVDISPINFOW info{};
    info.item.mask = TVIF_TEXT;
    info.item.hItem = TreeItems::Handle(id);
    info.item.state = n->state;
    info.item.lParam = n->param;
    info.item.pszText = buffer;
    info.item.cchTextMax = static_cast<int>(std::size(buffer));
    TreeNotify(hwnd, &info.hdr, TVN_GETDISPINFOW);
    if (!info.item.pszText || info.item.pszText == LPSTR_TEXTCALLBACKW) return u"";
    buffer[std::size(buffer) - 1] = u'\0';  // a parent that filled it to the brim
    // The parent may also point at a text of its own.
    return std::u16string(info.item.pszText);
}

int TreeItemImage(HWND hwnd, TreeState *s, TreeId id, bool selected) {
    TreeNode *n = s->items.Node(id);
    if (!n) return -1;
    int image = selected ? n->selectedImage : n->image;
    if (image != I_IMAGECALLBACK) return image;
    NMTVDISPINFOW info{};
    info.item.mask = selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE;
    info.item.hItem = TreeItems::Handle(id);
    info.item.state = n->state;
    info.item.lParam = n->param;
    TreeNotify(hwnd, &info.hdr, TVN_GETDISPINFOW);
    return selected ? info.item.iSelectedImage : info.item.iImage;
}

bool TreeShowsButton(HWND hwnd, TreeState *s, TreeId id) {
    if (!(TreeStyle(hwnd) & TVS_HASBUTTONS)) return false;
    if (s->items.Level(id) == 0 && !RootColumn(hwnd)) return false;
    return s->items.HasChildren(id);
}

TreeRow TreeRowOf(HWND hwnd, TreeState *s, TreeId id, int rowIndex) {
    TreeRow r;
    RECT client;
    GetClientRect(hwnd, &client);
    int height = TreeRowHeight(s), indent = TreeIndent(s);
    int y = (rowIndex - s->top) * height;
    r.row = RECT{0, y, client.right, y + height};
    int column = s->items.Level(id) - (RootColumn(hwnd) ? 0 : 1);
    int left = (column + 1) * indent;
    if (column >= 0) r.lineX = column * indent + indent / 2;
    if (column >= 0 && TreeShowsButton(hwnd, s, id)) {
        int box = Scaled(9) | 1, mid = y + height / 2;
        r.button = RECT{r.lineX - box / 2, mid - box / 2, r.lineX - box / 2 + box, mid - box / 2 + box};
    }
    SIZE image = ImageSize(s);
    if (image.cx > 0) {
        int iy = y + (height - image.cy) / 2;
        r.icon = RECT{left, iy, left + image.cx, iy + image.cy};
        left += image.cx + Scaled(2);
    }
    int width = MeasureTextWidth(s->font, TreeItemText(hwnd, s, id)) + Scaled(4);
    r.label = RECT{left, y, left + width, y + height};
    return r;
}

TreeId TreeHitTest(HWND hwnd, TreeState *s, POINT pt, UINT *flags) {
    RECT client;
    GetClientRect(hwnd, &client);
    UINT outside = 0;
    if (pt.y < 0) outside |= TVHT_ABOVE;
    if (pt.y >= client.bottom) outside |= TVHT_BELOW;
    if (pt.x < 0) outside |= TVHT_TOLEFT;
    if (pt.x >= client.right) outside |= TVHT_TORIGHT;
    *flags = outside;
    if (outside) return 0;
    std::vector<TreeId> shown = s->items.Shown();
    int row = s->top + pt.y / std::max(1, TreeRowHeight(s));
    if (row >= static_cast<int>(shown.size())) {
        *flags = TVHT_NOWHERE;
        return 0;
    }
    TreeId id = shown[static_cast<size_t>(row)];
    TreeRow r = TreeRowOf(hwnd, s, id, row);
    int indent = TreeIndent(s);
    if (pt.x >= r.label.right) *flags = TVHT_ONITEMRIGHT;
    else if (pt.x >= r.label.left) *flags = TVHT_ONITEMLABEL;
    else if (!IsRectEmpty(&r.icon) && pt.x >= r.icon.left) *flags = TVHT_ONITEMICON;
    // The whole width of the button's column takes the tap, not only the box.
    else if (!IsRectEmpty(&r.button) && pt.x >= r.lineX - indent / 2 && pt.x < r.lineX - indent / 2 + indent)
        *flags = TVHT_ONITEMBUTTON;
    else *flags = TVHT_ONITEMINDENT;
    return id;
}

void TreeRefresh(HWND hwnd, TreeState *s) {
    int rows = static_cast<int>(s->items.Shown().size());
    int visible = TreeVisibleRows(hwnd, s);
    s->top = std::max(0, std::min(s->top, rows - visible));
    if ((TreeStyle(hwnd) & WS_VSCROLL) || rows > visible) {
        if (!(TreeStyle(hwnd) & TVS_NOSCROLL)) {
            SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, rows - 1),
                          static_cast<UINT>(visible), s->top, 0};
            SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
        }
    }
    InvalidateRect(hwnd, nullptr, TRUE);
}

bool TreeScrollToRow(HWND hwnd, TreeState *s, int row) {
    int visible = TreeVisibleRows(hwnd, s), old = s->top;
    if (row < s->top) s->top = row;
    else if (row >= s->top + visible) s->top = row - visible + 1;
    TreeRefresh(hwnd, s);
    return s->top != old;
}

void TreeScroll(HWND hwnd, TreeState *s, WPARAM wParam) {
    int visible = TreeVisibleRows(hwnd, s);
    if (!RowForScrollCode(wParam, s->top, visible, static_cast<int>(s->items.Count()), s->top)) return;
    TreeRefresh(hwnd, s);
}

}  // namespace wince::controls
