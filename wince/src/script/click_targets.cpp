#include "click_targets.h"

#include "dialog/dialog_state.h"
#include "shell/shell_bars.h"
#include "window/item_report.h"
#include "window/window.h"

namespace wince {
namespace {

bool IsClass(const Window &w, const char16_t *name) {
    const std::u16string &c = w.cls->name;
    size_t n = std::char_traits<char16_t>::length(name);
    if (c.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        char16_t a = c[i], b = name[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char16_t>(a + 32);
        if (b >= 'A' && b <= 'Z') b = static_cast<char16_t>(b + 32);
        if (a != b) return false;
    }
    return true;
}

POINT Center(const RECT &r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// What a user calls the things a window shows, for the error that names them.
const char *ButtonKind(const Window &w) {
    switch (w.style & BS_TYPEMASK) {
        case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
            return "check box";
        case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
            return "radio button";
    }
    return "button";
}

const char *ItemKind(const Window &w) {
    if (IsClass(w, u"#32768")) return "menu item";
    if (IsClass(w, u"SysTabControl32")) return "tab";
    if (IsClass(w, u"SysTreeView32")) return "tree item";
    if (IsClass(w, u"ToolbarWindow32") || IsClass(w, u"HHTaskBar")) return "button";
    if (IsClass(w, u"LISTBOX") || IsClass(w, u"COMBOBOX") || IsClass(w, u"ComboLBox")) return "list item";
    return "item";
}

// Items with no place on the screen (scrolled away, a closed combo box's
// list, a collapsed branch) cannot be tapped.
// A null text: every target.
void AddItems(Window *w, const std::u16string *text, std::vector<ClickTarget> &out) {
    std::vector<ReportedItem> items;
    if (!ReportItems(w->handle, items)) return;
    for (const ReportedItem &item : items) {
        if (item.separator || !item.enabled || IsRectEmpty(&item.rect)) continue;
        if (!text || WithoutMnemonic(item.text) == *text) out.push_back(ClickTarget{item.text, ItemKind(*w), Center(item.rect)});
    }
}

void Collect(Window *w, const std::u16string *text, std::vector<ClickTarget> &out) {
    if (!w->Visible() || !w->Enabled()) return;
    if (IsClass(*w, u"button") && (w->style & BS_TYPEMASK) != BS_GROUPBOX && (!text || WithoutMnemonic(w->text) == *text))
        out.push_back(ClickTarget{w->text, ButtonKind(*w), Center(WindowRectOnScreen(*w))});
    AddItems(w, text, out);
    for (Window *child : w->children) Collect(child, text, out);
}

// A popup that holds the stylus while it is open: a tap anywhere else only
// closes it, so its items are all a user can reach.
bool IsStylusPopup(const Window &w) { return IsClass(w, u"#32768") || IsClass(w, u"ComboLBox"); }

// The modal dialog (or message box) in front, whose modal loop runs now.
Window *FrontModalWindow(const std::vector<Window *> &tops) {
    for (Window *w : tops) {
        if (!w->Visible()) continue;
        const DialogState *state = FindDialogState(w->handle);
        if (state && state->modal && !state->ended) return w;
    }
    return nullptr;
}

// Menu bars under the strip belong to windows that are not in front.
bool Hidden(const wince::Window &w) {
    return wince::shell::IsMenuBar(w.handle) && !wince::shell::MenuBarShown(w.handle);
}

// The bars stay within reach of a modal window.
void CollectShellBars(const std::vector<wince::Window *> &tops, const std::u16string *text,
                      std::vector<ClickTarget> &out) {
    for (wince::Window *w : tops)
        if (w->handle == wince::shell::NavigationBar() || wince::shell::MenuBarShown(w->handle)) Collect(w, text, out);
}

}  // namespace

std::u16string WithoutMnemonic(const std::u16string &text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&') out.push_back(u'&'), ++i;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

namespace {

std::vector<ClickTarget> Targets(const std::u16string *text) {
    std::vector<ClickTarget> found;
    std::vector<Window *> tops = TopLevelWindows();
    bool popupOpen = false;
    for (Window *w : tops) {
        if (!w->Visible() || !IsStylusPopup(*w)) continue;
        popupOpen = true;
        AddItems(w, text, found);
    }
    if (popupOpen) return found;
    if (Window *modal = FrontModalWindow(tops)) {
        Collect(modal, text, found);
        CollectShellBars(tops, text, found);
        return found;
    }
    for (Window *w : tops)
        if (!Hidden(*w)) Collect(w, text, found);
    return found;
}

}  // namespace

std::vector<ClickTarget> FindClickTargets(const std::u16string &text) { return Targets(&text); }

std::vector<ClickTarget> ReachableTargets() { return Targets(nullptr); }

}  // namespace wince
