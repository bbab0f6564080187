#include "catalogue/DocumentEntry.h"

#include "catalogue/Captions.h"

WideString JoinPath(const WideString &folder, const WideString &part) {
    if (!folder.empty() && folder.back() == TEXT('\\')) return folder + part;
    return folder + TEXT('\\') + part;
}

DocumentEntry::DocumentEntry(const WideString &folderName, const WIN32_FIND_DATAW &found)
    : folder(folderName), name(found.cFileName) {
    size_t dot = name.find_last_of(TEXT('.'));
    if (dot != WideString::npos) {
        extension = name.substr(dot);
        name.resize(dot);
    }
    uint64_t size = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    sizeText = FormatSizeText(size);
    dateText = FormatDateCaption(found.ftLastWriteTime);
}

DocumentEntry::~DocumentEntry() = default;

WideString DocumentEntry::FullPath() const { return JoinPath(folder, name + extension); }
