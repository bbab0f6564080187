#include "catalogue/DocumentCatalogue.h"

#include <algorithm>
#include <cstdlib>
#include <new>

DocumentCatalogue::DocumentCatalogue() {
    entries = static_cast<DocumentEntry **>(calloc(kGrowth, sizeof(DocumentEntry *)));
    capacity = entries ? kGrowth : 0;
}

DocumentCatalogue::~DocumentCatalogue() {
    Clear();
    free(entries);
}

DocumentEntry *DocumentCatalogue::AddEntry(const WideString &folder, const WIN32_FIND_DATAW &found) {
    if (count == capacity) {
        auto *grown = static_cast<DocumentEntry **>(realloc(entries, (capacity + kGrowth) * sizeof(DocumentEntry *)));
        if (!grown) return nullptr;
        entries = grown;
        capacity += kGrowth;
    }
    DocumentEntry *entry = new (std::nothrow) DocumentEntry(folder, found);
    if (!entry) return nullptr;
    entries[count++] = entry;
    return entry;
}

void DocumentCatalogue::Clear() {
    for (int i = 0; i < count; ++i) delete entries[i];
    count = 0;
}

void DocumentCatalogue::SortByName() {
    std::sort(entries, entries + count, [](const DocumentEntry *a, const DocumentEntry *b) {
        return lstrcmpiW(a->name.c_str(), b->name.c_str()) < 0;
    });
}
