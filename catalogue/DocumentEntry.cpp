#include "catalogue/DocumentEntry.h"

#include "catalogue/Captions.h"

std::u16string JoinPath(const std::u16string &folder, const std::u16string &part) {
    if (!folder.empty() && folder.back() == u'\\') return folder + part;
    return folder + u'\\' + part;
}

DocumentEntry::DocumentEntry(const std::u16string &folderName, const WIN32_FIND_DATAW &found)
    : folder(folderName), name(found.cFileName) {
    size_t dot = name.find_last_of(u'.');
    if (dot != std::u16string::npos) {
        extension = name.substr(dot);
        name.resize(dot);
    }
    uint64_t size = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    sizeText = FormatSizeText(size);
    dateText = FormatDateCaption(found.ftLastWriteTime);
}

DocumentEntry::~DocumentEntry() = default;

std::u16string DocumentEntry::FullPath() const { return JoinPath(folder, name + extension); }
