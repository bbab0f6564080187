// The items of a list box or a combo box: texts with a value each, kept in
// order or sorted, and the searches LB_FIND* and CB_FIND* make.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wince::controls {

struct ListItem {
    std::u16string text;
    ULONG_PTR data = 0;
};

class ListItems {
   public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    const ListItem &At(int index) const { return items_[static_cast<size_t>(index)]; }
    ListItem &At(int index) { return items_[static_cast<size_t>(index)]; }

    // The index of the new item: at the end, or in case-insensitive order
    // after any equal ones when sorted.
    int Add(const std::u16string &text, bool sorted);
    // At index (-1: the end); -1 when the index is past the end.
    int Insert(int index, const std::u16string &text);
    // The number left, or -1 for a bad index.
    int Delete(int index);
    void Clear() { items_.clear(); }

    // The first item after `after` (-1: from the start), going round, whose
    // text starts with (or, exact, equals) text ignoring case; -1 if none.
    int Find(int after, const std::u16string &text, bool exact) const;

   private:
    std::vector<ListItem> items_;
};

}  // namespace wince::controls
