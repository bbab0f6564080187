// SHGetFileInfo: a file's icon, its index in the system image list, its
// display name, type name and shell attributes. The icon and the type follow
// the extension (and the folder attribute); without SHGFI_USEFILEATTRIBUTES
// the item must exist and its own attributes count.
#include <shellapi.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "core/unicode.h"
#include "device/pathmap.h"
#include "file/errors.h"
#include "file_kinds.h"
#include "image_list.h"

namespace wince {
namespace {

constexpr UINT kNeedsRecord = SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ATTRIBUTES;

struct Item {
    DWORD attributes = 0;
    std::u16string name;
    bool root = false;
    bool link = false;
    bool hasSubfolder = false;
};

std::u16string LeafOf(std::u16string_view path) {
    while (path.size() > 1 && (path.back() == u'\\' || path.back() == u'/')) path.remove_suffix(1);
    size_t cut = path.find_last_of(u"\\/");
    return std::u16string(cut == std::u16string_view::npos ? path : path.substr(cut + 1));
}

bool HasSubfolder(const std::string &hostFolder) {
    DIR *dir = opendir(hostFolder.c_str());
    if (!dir) return false;
    bool found = false;
    while (dirent *e = readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st;
        if (stat((hostFolder + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}

// The item as it is on the device; false with the last error set when it
// is not there.
bool ExistingItem(LPCWSTR path, Item &item) {
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    HostPath host;
    if (DWORD error = MapExistingPath(path, host)) {
        SetLastError(error);
        return false;
    }
    item.attributes = attributes;
    item.root = host.isRoot;
    item.link = host.isLink;
    size_t slash = host.path.rfind('/');
    item.name =
        host.isRoot ? std::u16string() : FromHostBytes(host.path.substr(slash == std::string::npos ? 0 : slash + 1));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) item.hasSubfolder = HasSubfolder(host.path);
    return true;
}

DWORD ShellAttributes(const Item &item) {
    DWORD a = SFGAO_FILESYSTEM;
    if (!item.root) a |= SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME | SFGAO_CANDELETE;
    if (item.root || (item.attributes & FILE_ATTRIBUTE_DIRECTORY)) a |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR;
    if (item.hasSubfolder) a |= SFGAO_HASSUBFOLDER;
    if (item.attributes & FILE_ATTRIBUTE_READONLY) a |= SFGAO_READONLY;
    if (item.attributes & FILE_ATTRIBUTE_HIDDEN) a |= SFGAO_HIDDEN;
    if (item.link) a |= SFGAO_LINK;
    return a;
}

void Copy(const std::u16string &text, WCHAR *out, size_t capacity) {
    size_t n = std::min(text.size(), capacity - 1);
    std::copy_n(text.data(), n, out);
    out[n] = 0;
}

}  // namespace
}  // namespace wince

using namespace wince;

DWORD_PTR WINAPI SHGetFileInfo(LPCWSTR pszPath, DWORD dwFileAttributes, SHFILEINFO *psfi, UINT cbFileInfo,
                               UINT uFlags) {
    return Guarded<DWORD_PTR>(0, [&]() -> DWORD_PTR {
        if (!pszPath || (psfi && cbFileInfo < sizeof(SHFILEINFO)) || (!psfi && (uFlags & kNeedsRecord))) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        Item item;
        if (uFlags & SHGFI_USEFILEATTRIBUTES) {
            item.attributes = dwFileAttributes;
            item.name = LeafOf(pszPath);
            item.root = KindOfName(pszPath, false) == FileKind::kMyDevice;
        } else if (!ExistingItem(pszPath, item)) {
            return 0;  // psfi untouched
        }
        if (item.root) item.name = u"My Device";

        FileKind kind = KindOfName(pszPath, (item.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
        if (kind == FileKind::kFolder && (uFlags & SHGFI_OPENICON)) kind = FileKind::kOpenFolder;
        const bool small = (uFlags & SHGFI_SMALLICON) != 0;
        HICON icon = nullptr;
        if (uFlags & SHGFI_ICON) {
            icon = NewFileIcon(kind, GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON));
            if (!icon) return 0;
        }
        if (psfi) {
            if (uFlags & (SHGFI_ICON | SHGFI_SYSICONINDEX)) psfi->iIcon = static_cast<int>(kind);
            if (uFlags & SHGFI_ICON) psfi->hIcon = icon;
            if (uFlags & SHGFI_DISPLAYNAME) Copy(item.name, psfi->szDisplayName, MAX_PATH);
            if (uFlags & SHGFI_TYPENAME) Copy(TypeNameOf(kind, pszPath), psfi->szTypeName, std::size(psfi->szTypeName));
            if (uFlags & SHGFI_ATTRIBUTES) psfi->dwAttributes = ShellAttributes(item);
        }
        if (uFlags & SHGFI_SYSICONINDEX) return reinterpret_cast<DWORD_PTR>(SystemImageList(small));
        return 1;
    });
}
