// Image lists: same-sized images kept as icons (an image and its mask), for
// trees and for the shell's system lists of file icons.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

struct _IMAGELIST {
    // The shell's lists hold no images of their own: they draw the file
    // kinds' icons at the device's current icon size, so they follow its dpi.
    enum class Source { kProgram, kSystemSmall, kSystemLarge };
    Source source = Source::kProgram;
    int cx = 0, cy = 0;
    UINT flags = 0;
    std::vector<HICON> images;
};

namespace wince {

// The list behind a handle, or null (last error ERROR_INVALID_HANDLE).
_IMAGELIST *CheckImageList(HIMAGELIST himl);

}  // namespace wince
