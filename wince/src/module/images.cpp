// LoadBitmapW, LoadImageW and LoadIconW: RT_BITMAP and RT_GROUP_ICON
// resources, or .bmp and .ico files, made into GDI objects.
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <vector>

#include "../core/unicode.h"
#include "../device/pathmap.h"
#include "../gdi/icon.h"
#include "../gdi/objects.h"
#include "modules.h"
#include "picture.h"
#include "registry.h"
#include "resources.h"
#include "system_icons.h"

namespace wince {
namespace {

struct IconImage {
    int width = 0, height = 0, bitCount = 0;
    const uint8_t *data = nullptr;
    size_t size = 0;
};

uint16_t Le16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t *p) { return Le16(p) | (uint32_t{Le16(p + 2)} << 16); }

constexpr size_t kIconDir = 6, kGroupEntry = 14, kFileEntry = 16, kFileHeader = 14;

// The images an RT_GROUP_ICON lists, each its own RT_ICON.
bool GroupImages(HMODULE module, const ResourceBytes &group, std::vector<IconImage> &images) {
    if (group.size < kIconDir || Le16(group.data + 2) != 1) return false;
    size_t count = Le16(group.data + 4);
    if (group.size < kIconDir + count * kGroupEntry) return false;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t *e = group.data + kIconDir + i * kGroupEntry;
        ResourceBytes image;
        if (!FindResourceBytes(module, MAKEINTRESOURCEW(Le16(e + 12)), RT_ICON, image)) continue;
        images.push_back({e[0] ? e[0] : 256, e[1] ? e[1] : 256, Le16(e + 6), image.data, image.size});
    }
    return !images.empty();
}

// The images of an .ico file.
bool FileImages(const std::vector<uint8_t> &file, std::vector<IconImage> &images) {
    if (file.size() < kIconDir || Le16(file.data()) != 0 || Le16(file.data() + 2) != 1) return false;
    size_t count = Le16(file.data() + 4);
    if (file.size() < kIconDir + count * kFileEntry) return false;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t *e = file.data() + kIconDir + i * kFileEntry;
        uint32_t size = Le32(e + 8), offset = Le32(e + 12);
        if (offset > file.size() || size > file.size() - offset) return false;
        images.push_back({e[0] ? e[0] : 256, e[1] ? e[1] : 256, Le16(e + 6), file.data() + offset, size});
    }
    return !images.empty();
}

// The image of the asked size, the deepest of those; else the closest size.
const IconImage &Choose(const std::vector<IconImage> &images, int cx, int cy) {
    const IconImage *best = &images[0];
    auto distance = [&](const IconImage &i) { return std::abs(i.width - cx) + std::abs(i.height - cy); };
    for (const IconImage &i : images) {
        int d = distance(i), bestD = distance(*best);
        if (d < bestD || (d == bestD && (i.bitCount > best->bitCount ||
                                         (i.bitCount == best->bitCount && i.width > best->width))))
            best = &i;
    }
    return *best;
}

HICON IconFrom(const std::vector<IconImage> &images, int cx, int cy, UINT flags) {
    if (cx == 0) cx = (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : images[0].width;
    if (cy == 0) cy = (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : images[0].height;
    Picture picture;
    const IconImage &chosen = Choose(images, cx, cy);
    if (!DecodeDib(chosen.data, chosen.size, true, picture)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return MakeIcon(Scaled(picture, cx, cy));
}

HBITMAP BitmapFrom(const uint8_t *dib, size_t size, int cx, int cy) {
    BITMAPINFOHEADER h;
    if (size >= sizeof h) memcpy(&h, dib, sizeof h);
    if (size >= sizeof h && h.biBitCount == 1 && h.biSize == sizeof h && cx == 0 && cy == 0 && h.biWidth > 0 &&
        h.biHeight != 0 && h.biCompression == BI_RGB) {
        // Monochrome bitmaps stay monochrome, with their two colours.
        int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
        size_t colors = 8, stride = ((static_cast<size_t>(h.biWidth) + 31) / 32) * 4;
        if (size >= sizeof h + colors + stride * height) {
            void *bits = nullptr;
            HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO *>(dib), DIB_RGB_COLORS, &bits,
                                         nullptr, 0);
            if (b) memcpy(bits, dib + sizeof h + colors, stride * height);
            return b;
        }
    }
    Picture picture;
    if (!DecodeDib(dib, size, false, picture)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return MakeColorBitmap(Scaled(picture, cx ? cx : picture.width, cy ? cy : picture.height));
}

bool ReadDeviceFile(LPCWSTR path, std::vector<uint8_t> &bytes) {
    HostPath host;
    if (DWORD error = MapExistingPath(path, host); error != ERROR_SUCCESS) {
        SetLastError(error);
        return false;
    }
    std::ifstream in(host.path, std::ios::binary);
    if (!in) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// A .bmp file as the packed DIB a resource holds: the bits may lie apart from the header.
HBITMAP BitmapFromFile(const std::vector<uint8_t> &file, int cx, int cy) {
    if (file.size() < kFileHeader + sizeof(BITMAPINFOHEADER) || file[0] != 'B' || file[1] != 'M') {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    uint32_t bitsAt = Le32(file.data() + 10);
    if (bitsAt < kFileHeader || bitsAt > file.size()) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    std::vector<uint8_t> dib(file.begin() + kFileHeader, file.begin() + bitsAt);
    // The header and its colours run up to the bits; what follows them is the image.
    dib.insert(dib.end(), file.begin() + bitsAt, file.end());
    return BitmapFrom(dib.data(), dib.size(), cx, cy);
}

HICON SystemIcon(WORD id, int size) {
    Picture picture;
    if (!DrawSystemIcon(id, size, picture)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return MakeIcon(picture);
}

HANDLE LoadImageImpl(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    if (!name || cx < 0 || cy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (type == IMAGE_CURSOR) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return nullptr;
    }
    if (type != IMAGE_BITMAP && type != IMAGE_ICON) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (flags & LR_LOADFROMFILE) {
        std::vector<uint8_t> file;
        if (IS_INTRESOURCE(name) || !ReadDeviceFile(name, file)) {
            if (IS_INTRESOURCE(name)) SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        if (type == IMAGE_BITMAP) return BitmapFromFile(file, cx, cy);
        std::vector<IconImage> images;
        if (!FileImages(file, images)) {
            SetLastError(ERROR_INVALID_DATA);
            return nullptr;
        }
        return IconFrom(images, cx, cy, flags);
    }
    if (!instance) {
        // The system's own images: the standard icons.
        if (type == IMAGE_ICON && IS_INTRESOURCE(name)) {
            int size = cx ? cx : GetSystemMetrics(SM_CXICON);
            return SystemIcon(LOWORD(reinterpret_cast<uintptr_t>(name)), size);
        }
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return nullptr;
    }
    ResourceBytes found;
    if (type == IMAGE_BITMAP) {
        if (!FindResourceBytes(instance, name, RT_BITMAP, found)) return nullptr;
        return BitmapFrom(found.data, found.size, cx, cy);
    }
    std::vector<IconImage> images;
    if (!FindResourceBytes(instance, name, RT_GROUP_ICON, found)) return nullptr;
    if (!GroupImages(instance, found, images)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return IconFrom(images, cx, cy, flags);
}

std::u16string IconKey(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
        std::string n = "#" + std::to_string(LOWORD(reinterpret_cast<uintptr_t>(name)));
        return std::u16string(n.begin(), n.end());
    }
    std::u16string key = name;
    for (auto &c : key) c = FoldUpper(c);
    return key;
}

}  // namespace

}  // namespace wince

using namespace wince;

HANDLE WINAPI LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad) {
    return ModuleGuard<HANDLE>(nullptr, [&] { return LoadImageImpl(hInst, name, type, cx, cy, fuLoad); });
}

HBITMAP WINAPI LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName) {
    return ModuleGuard<HBITMAP>(nullptr, [&]() -> HBITMAP {
        if (!hInstance) {  // the system's OBM_ bitmaps are not offered
            SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
            return nullptr;
        }
        return static_cast<HBITMAP>(LoadImageImpl(hInstance, lpBitmapName, IMAGE_BITMAP, 0, 0, 0));
    });
}

HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
    return ModuleGuard<HICON>(nullptr, [&]() -> HICON {
        if (!lpIconName) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        // Icons from LoadIcon are shared: the same name gives the same icon.
        std::lock_guard<std::recursive_mutex> guard(module::LoaderLock());
        static auto *systemIcons = new std::map<std::u16string, HICON>;
        std::shared_ptr<module::Module> m = hInstance ? module::FindModule(hInstance) : nullptr;
        if (hInstance && !m) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        std::map<std::u16string, HICON> &cache = m ? m->sharedIcons : *systemIcons;
        std::u16string key = IconKey(lpIconName);
        if (auto it = cache.find(key); it != cache.end()) {
            // The device lets a program destroy what LoadIcon gave it: an icon
            // destroyed since is loaded again rather than handed out dead.
            if (gdi::Find<gdi::Icon>(it->second)) return it->second;
            cache.erase(it);
        }
        HICON icon = static_cast<HICON>(LoadImageImpl(hInstance, lpIconName, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), 0));
        if (icon) cache[key] = icon;
        return icon;
    });
}
