// The kinds of file the shell tells apart by extension, each with its icon
// in the system image list (the kind is the icon's index) and its type name.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "module/picture.h"

namespace wince {

enum class FileKind {
    kFile,  // a file of no kind the shell knows
    kFolder,
    kOpenFolder,
    kMyDevice,  // the root folder "\"
    kWordDocument,
    kWorkbook,
    kNote,
    kSound,
    kText,
    kPicture,
    kProgram,
    kWebPage,
    kCount
};

// The kind of a file or folder of that name ("\My Documents\a.psw").
FileKind KindOfName(std::u16string_view path, bool folder);
// "Pocket Word Document", "TXT File" style names for the rest.
std::u16string TypeNameOf(FileKind kind, std::u16string_view path);

// The kind's icon at size x size pixels, drawn from a 16-unit design.
Picture DrawFileIcon(FileKind kind, int size);
HICON NewFileIcon(FileKind kind, int size);

}  // namespace wince
