#include "compatible_fonts.h"

#include <strings.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "core/unicode.h"

namespace wince::gdi {
namespace {

struct FaceFiles {
    const char *face, *regular, *bold;  // bold null: made bold from the regular file
};

constexpr FaceFiles kFaces[] = {
    {"Tahoma", "tahoma.ttf", "tahomabd.ttf"},
    {"System", "system.ttf", nullptr},
};

std::vector<std::string> Folders() {
    const char *env = getenv("WINCE_FONT_DIRS");
    std::string list = env ? env : "/usr/share/wine/fonts:/usr/share/fonts/truetype/wine:/usr/share/fonts/wine";
    std::vector<std::string> out;
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) out.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool FindFile(const char *name, std::string &path) {
    for (const std::string &folder : Folders()) {
        std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), R_OK) == 0) {
            path = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace

bool FindCompatibleFont(std::u16string_view face, bool bold, CompatibleFont &out) {
    std::string name = ToUtf8(std::u16string(face));
    for (const FaceFiles &f : kFaces) {
        if (strcasecmp(name.c_str(), f.face) != 0) continue;
        if (bold && f.bold && FindFile(f.bold, out.file)) {
            out.embolden = false;
            return true;
        }
        if (!FindFile(f.regular, out.file)) return false;
        // system.ttf is bold already; only Tahoma without its bold file is thickened.
        out.embolden = bold && f.bold != nullptr;
        return true;
    }
    return false;
}

}  // namespace wince::gdi
