#include "list_items.h"

namespace wince::controls {
namespace {

std::u16string Folded(const std::u16string &s) {
    std::u16string f = s;
    CharLowerBuffW(f.data(), static_cast<DWORD>(f.size()));
    return f;
}

}  // namespace

int ListItems::Add(const std::u16string &text, bool sorted) {
    size_t at = items_.size();
    if (sorted) {
        at = 0;
        while (at < items_.size() && lstrcmpiW(items_[at].text.c_str(), text.c_str()) <= 0) ++at;
    }
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), ListItem{text, 0});
    return static_cast<int>(at);
}

int ListItems::Insert(int index, const std::u16string &text) {
    if (index == -1) index = Count();
    if (index < 0 || index > Count()) return -1;
    items_.insert(items_.begin() + index, ListItem{text, 0});
    return index;
}

int ListItems::Delete(int index) {
    if (!Valid(index)) return -1;
    items_.erase(items_.begin() + index);
    return Count();
}

int ListItems::Find(int after, const std::u16string &text, bool exact) const {
    int n = Count();
    if (n == 0) return -1;
    std::u16string wanted = Folded(text);
    int start = after < 0 || after >= n ? 0 : after + 1;
    for (int k = 0; k < n; ++k) {
        int i = (start + k) % n;
        std::u16string item = Folded(items_[static_cast<size_t>(i)].text);
        if (exact ? item == wanted : item.compare(0, wanted.size(), wanted) == 0) return i;
    }
    return -1;
}

}  // namespace wince::controls
