// The binary dialog template (DLGTEMPLATE and its items) read into plain
// structures, refusing a damaged one without reading past its end.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace wince {

// A menu, class or title field: absent, an ordinal or a string.
struct TemplateName {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::u16string text;

    bool Empty() const { return !isOrdinal && text.empty(); }
};

struct DialogItemTemplate {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    TemplateName className, title;
    // The creation data as the template holds it (its size word first), or
    // null; points into the template.
    const BYTE *creationData = nullptr;
};

struct DialogTemplate {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    TemplateName menu, className, title;
    bool hasFont = false;
    WORD pointSize = 0;
    std::u16string faceName;
    std::vector<DialogItemTemplate> items;
};

// size is the number of bytes the template may occupy. False when the
// template ends early, holds fewer items than it says, or has a string
// without its terminator.
bool ParseDialogTemplate(const void *data, size_t size, DialogTemplate &out);

// The predefined control classes a template names by ordinal; null for an
// ordinal that is not one of them.
LPCWSTR PredefinedClassName(WORD ordinal);

}  // namespace wince
