#include "file_kinds.h"

#include "core/unicode.h"

namespace wince {
namespace {

std::u16string_view LeafOf(std::u16string_view path) {
    size_t cut = path.find_last_of(u"\\/");
    return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

// Lower case, without the dot; empty when the name has none.
std::u16string ExtensionOf(std::u16string_view path) {
    std::u16string_view leaf = LeafOf(path);
    size_t dot = leaf.rfind(u'.');
    if (dot == std::u16string_view::npos) return {};
    std::u16string ext(leaf.substr(dot + 1));
    for (char16_t &c : ext) c = FoldLower(c);
    return ext;
}

struct Extension {
    const char16_t *ext;
    FileKind kind;
    const char16_t *typeName;
};

const Extension kExtensions[] = {
    {u"psw", FileKind::kWordDocument, u"Pocket Word Document"},
    {u"doc", FileKind::kWordDocument, u"Pocket Word Document"},
    {u"pxl", FileKind::kWorkbook, u"Pocket Excel Workbook"},
    {u"xls", FileKind::kWorkbook, u"Pocket Excel Workbook"},
    {u"pwi", FileKind::kNote, u"Note"},
    {u"wav", FileKind::kSound, u"Wave Sound"},
    {u"txt", FileKind::kText, u"Text Document"},
    {u"jpg", FileKind::kPicture, u"JPEG Image"},
    {u"jpeg", FileKind::kPicture, u"JPEG Image"},
    {u"bmp", FileKind::kPicture, u"Bitmap Image"},
    {u"png", FileKind::kPicture, u"PNG Image"},
    {u"gif", FileKind::kPicture, u"GIF Image"},
    {u"exe", FileKind::kProgram, u"Application"},
    {u"htm", FileKind::kWebPage, u"HTML Document"},
    {u"html", FileKind::kWebPage, u"HTML Document"},
};

const Extension *Find(std::u16string_view path) {
    std::u16string ext = ExtensionOf(path);
    for (const Extension &e : kExtensions)
        if (ext == e.ext) return &e;
    return nullptr;
}

bool IsRoot(std::u16string_view path) {
    while (path.size() > 1 && (path.back() == u'\\' || path.back() == u'/')) path.remove_suffix(1);
    return path == u"\\" || path == u"/";
}

}  // namespace

FileKind KindOfName(std::u16string_view path, bool folder) {
    if (IsRoot(path)) return FileKind::kMyDevice;
    if (folder) return FileKind::kFolder;
    const Extension *e = Find(path);
    return e ? e->kind : FileKind::kFile;
}

std::u16string TypeNameOf(FileKind kind, std::u16string_view path) {
    switch (kind) {
        case FileKind::kMyDevice:
            return u"System Folder";
        case FileKind::kFolder:
        case FileKind::kOpenFolder:
            return u"File Folder";
        case FileKind::kFile:
            break;
        default:
            if (const Extension *e = Find(path)) return e->typeName;
    }
    std::u16string ext = ExtensionOf(path);
    if (ext.empty()) return u"File";
    for (char16_t &c : ext) c = FoldUpper(c);
    return ext + u" File";
}

}  // namespace wince
