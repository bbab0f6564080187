#include "item_report.h"

#include <map>

#include "window.h"

namespace wince {
namespace {

std::u16string Folded(std::u16string name) {
    for (char16_t &c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 32);
    return name;
}

std::map<std::u16string, ItemReporter> &Reporters() {
    static auto *reporters = new std::map<std::u16string, ItemReporter>;
    return *reporters;
}

}  // namespace

void RegisterItemReporter(const std::u16string &className, ItemReporter reporter) {
    Reporters()[Folded(className)] = std::move(reporter);
}

bool ReportItems(HWND hwnd, std::vector<ReportedItem> &out) {
    Window *w = FromHandle(hwnd);
    if (!w) return false;
    auto it = Reporters().find(Folded(w->cls->name));
    if (it == Reporters().end()) return false;
    return it->second(hwnd, out);
}

}  // namespace wince
