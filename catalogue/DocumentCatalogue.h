// The growable, name-sorted list of documents inside the item.
#pragma once

#include <memory>

#include "catalogue/DocumentEntry.h"
#include "config/WideString.h"

class DocumentCatalogue {
   public:
    static constexpr int kGrowth = 32;

    DocumentCatalogue();
    ~DocumentCatalogue();
    DocumentCatalogue(const DocumentCatalogue &) = delete;
    DocumentCatalogue &operator=(const DocumentCatalogue &) = delete;

    int Count() const { return count; }
    int Capacity() const { return capacity; }
    DocumentEntry *Entry(int index) const { return index >= 0 && index < count ? entries[index] : nullptr; }

    // Appends a new entry; the array grows by 32 slots when full and never
    // shrinks. Null when memory runs out (the document is left out).
    DocumentEntry *AddEntry(const WideString &folder, const WIN32_FIND_DATAW &found);
    // Destroys every entry; capacity and array stay.
    void Clear();
    // Ascending by name, ignoring case.
    void SortByName();

   private:
    int capacity = 0;
    int count = 0;
    DocumentEntry **entries = nullptr;
};
