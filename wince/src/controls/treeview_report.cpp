// A tree's items for the window dump and a script's click: every item in
// display order, the shown ones with their label's place on the screen.
#include "treeview.h"

#include "control_util.h"
#include "window/item_report.h"

namespace wince::controls {
namespace {

bool ReportTree(HWND hwnd, std::vector<ReportedItem> &out) {
    auto *s = StateOf<TreeState>(hwnd);
    if (!s) return false;
    RECT client;
    GetClientRect(hwnd, &client);
    bool onScreen = IsWindowVisible(hwnd) != FALSE;
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    std::vector<TreeId> shown = s->items.Shown();
    std::vector<TreeId> stack(s->items.Node(TreeItems::kRoot)->kids.rbegin(),
                              s->items.Node(TreeItems::kRoot)->kids.rend());
    size_t row = 0;  // shown items come in the same order as this walk
    while (!stack.empty()) {
        TreeId id = stack.back();
        stack.pop_back();
        const TreeNode *n = s->items.Node(id);
        stack.insert(stack.end(), n->kids.rbegin(), n->kids.rend());
        ReportedItem item;
        item.text = TreeItemText(hwnd, s, id);
        item.id = static_cast<UINT>(out.size());
        item.enabled = enabled;
        item.selected = id == s->caret;
        item.level = s->items.Level(id);
        item.expanded = (n->state & TVIS_EXPANDED) != 0;
        item.hasButton = TreeShowsButton(hwnd, s, id);
        if (row < shown.size() && shown[row] == id) {
            TreeRow r = TreeRowOf(hwnd, s, id, static_cast<int>(row));
            int middle = (r.row.top + r.row.bottom) / 2;
            if (onScreen && r.row.top >= 0 && middle < client.bottom) {
                RECT label = r.label;
                IntersectRect(&label, &label, &client);
                MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT *>(&label), 2);
                item.rect = label;
            }
            ++row;
        }
        out.push_back(item);
    }
    return true;
}

struct Registration {
    Registration() { RegisterItemReporter(u"SysTreeView32", ReportTree); }
} registration;

}  // namespace
}  // namespace wince::controls
