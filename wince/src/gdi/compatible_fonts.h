// Faces of the device that Debian ships metric-compatible files for (the
// fonts-wine package), found by path: fontconfig does not list that folder.
#pragma once

#include <string>
#include <string_view>

namespace wince::gdi {

struct CompatibleFont {
    std::string file;
    bool embolden = false;  // the face has no bold file of its own
};

// "Tahoma" (regular and bold) and "System"; false for any other face or when
// the files are missing, so that fontconfig's nearest face is used as before.
// WINCE_FONT_DIRS (folders separated by ':') replaces the folders searched.
bool FindCompatibleFont(std::u16string_view face, bool bold, CompatibleFont &out);

}  // namespace wince::gdi
