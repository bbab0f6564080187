#include "ScriptTargets.h"

#include "window/item_report.h"
#include "window/window.h"

namespace {

bool IsClass(const wince::Window &w, const char16_t *name) {
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

void AddItems(wince::Window *w, const std::u16string &text, const char *kind, std::vector<ClickTarget> &out) {
    std::vector<wince::ReportedItem> items;
    if (!wince::ReportItems(w->handle, items)) return;
    for (const wince::ReportedItem &item : items) {
        if (item.separator || !item.enabled || IsRectEmpty(&item.rect)) continue;
        if (WithoutMnemonic(item.text) == text) out.push_back(ClickTarget{item.text, kind, Center(item.rect)});
    }
}

void Collect(wince::Window *w, const std::u16string &text, std::vector<ClickTarget> &out) {
    if (!w->Visible() || !w->Enabled()) return;
    if (IsClass(*w, u"button") && (w->style & BS_TYPEMASK) != BS_GROUPBOX && WithoutMnemonic(w->text) == text)
        out.push_back(ClickTarget{w->text, "button", Center(wince::WindowRectOnScreen(*w))});
    AddItems(w, text, "item", out);
    for (wince::Window *child : w->children) Collect(child, text, out);
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

std::vector<ClickTarget> FindClickTargets(const std::u16string &text) {
    std::vector<ClickTarget> found;
    std::vector<wince::Window *> tops = wince::TopLevelWindows();
    bool menuOpen = false;
    for (wince::Window *w : tops) {
        if (!w->Visible() || !IsClass(*w, u"#32768")) continue;
        menuOpen = true;
        AddItems(w, text, "menu item", found);
    }
    if (menuOpen) return found;  // an open menu holds the stylus
    for (wince::Window *w : tops) Collect(w, text, found);
    return found;
}
