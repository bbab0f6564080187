// ImageList_*: lists a program makes (each image kept as an icon, so that
// drawing it honours its mask) and the shell's system lists.
#include "imagelist.h"

#include <algorithm>
#include <set>

#include "shell/file_kinds.h"
#include "shell/image_list.h"

namespace wince {
namespace {

std::set<_IMAGELIST *> &Lists() {
    static auto *lists = new std::set<_IMAGELIST *>;
    return *lists;
}

bool IsSystem(const _IMAGELIST &list) { return list.source != _IMAGELIST::Source::kProgram; }

int SystemIconSize(const _IMAGELIST &list) {
    return GetSystemMetrics(list.source == _IMAGELIST::Source::kSystemSmall ? SM_CXSMICON : SM_CXICON);
}

int Count(const _IMAGELIST &list) {
    return IsSystem(list) ? static_cast<int>(FileKind::kCount) : static_cast<int>(list.images.size());
}

// A copy of an icon at cx x cy pixels; the caller destroys it.
HICON CopyIconAt(HICON icon, int cx, int cy) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return nullptr;
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor && (bm.bmWidth != cx || bm.bmHeight != cy)) {
        HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
        HBITMAP parts[2] = {info.hbmColor, info.hbmMask};
        for (HBITMAP &part : parts) {
            HBITMAP sized = CreateBitmap(cx, cy, 1, part == info.hbmMask ? 1 : 24, nullptr);
            HGDIOBJ oldFrom = SelectObject(from, part), oldTo = SelectObject(to, sized);
            StretchBlt(to, 0, 0, cx, cy, from, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
            SelectObject(from, oldFrom);
            SelectObject(to, oldTo);
            DeleteObject(part);
            part = sized;
        }
        info.hbmColor = parts[0];
        info.hbmMask = parts[1];
        DeleteDC(from);
        DeleteDC(to);
    }
    HICON copy = CreateIconIndirect(&info);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return copy;
}

// A new icon of the image at index i; the caller destroys it.
HICON NewIcon(const _IMAGELIST &list, int i) {
    if (i < 0 || i >= Count(list)) return nullptr;
    if (IsSystem(list)) return NewFileIcon(static_cast<FileKind>(i), SystemIconSize(list));
    return CopyIconAt(list.images[static_cast<size_t>(i)], list.cx, list.cy);
}

// Cuts one image out of a strip. A mask bit of 1 lets the screen show
// through; the image is made black there so that drawing leaves the screen
// as it was. Without ILC_MASK every pixel is drawn.
HICON CutImage(const _IMAGELIST &list, HDC strip, HDC maskStrip, COLORREF transparent, bool byColor, int x) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP color = CreateBitmap(list.cx, list.cy, 1, 24, nullptr);
    HBITMAP mask = CreateBitmap(list.cx, list.cy, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(dc, color);
    BitBlt(dc, 0, 0, list.cx, list.cy, strip, x, 0, SRCCOPY);
    std::vector<bool> clear(static_cast<size_t>(list.cx) * list.cy, false);
    if (list.flags & ILC_MASK) {
        for (int y = 0; y < list.cy; ++y)
            for (int px = 0; px < list.cx; ++px) {
                bool see = byColor ? GetPixel(strip, x + px, y) == transparent
                                   : maskStrip && GetPixel(maskStrip, x + px, y) != RGB(0, 0, 0);
                clear[static_cast<size_t>(y) * list.cx + px] = see;
                if (see) SetPixel(dc, px, y, RGB(0, 0, 0));
            }
    }
    SelectObject(dc, mask);
    PatBlt(dc, 0, 0, list.cx, list.cy, BLACKNESS);
    for (int y = 0; y < list.cy; ++y)
        for (int px = 0; px < list.cx; ++px)
            if (clear[static_cast<size_t>(y) * list.cx + px]) SetPixel(dc, px, y, RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

// Adds the images of a strip as wide as a whole number of images.
int AddStrip(_IMAGELIST *list, HBITMAP image, HBITMAP maskBitmap, COLORREF transparent, bool byColor) {
    BITMAP bm{};
    if (!GetObjectW(image, sizeof bm, &bm) || bm.bmWidth < list->cx || bm.bmHeight < list->cy) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    HDC strip = CreateCompatibleDC(nullptr), maskStrip = nullptr;
    HGDIOBJ oldStrip = SelectObject(strip, image), oldMask = nullptr;
    if (maskBitmap) {
        maskStrip = CreateCompatibleDC(nullptr);
        oldMask = SelectObject(maskStrip, maskBitmap);
    }
    int first = static_cast<int>(list->images.size());
    for (int x = 0; x + list->cx <= bm.bmWidth; x += list->cx) {
        HICON icon = CutImage(*list, strip, maskStrip, transparent, byColor, x);
        if (!icon) break;
        list->images.push_back(icon);
    }
    SelectObject(strip, oldStrip);
    DeleteDC(strip);
    if (maskStrip) {
        SelectObject(maskStrip, oldMask);
        DeleteDC(maskStrip);
    }
    return static_cast<int>(list->images.size()) > first ? first : -1;
}

}  // namespace

_IMAGELIST *CheckImageList(HIMAGELIST himl) {
    // Known handles only: a destroyed list must not be read.
    if (himl && (himl == SystemImageList(true) || himl == SystemImageList(false) || Lists().count(himl))) return himl;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

// A list a program may change: not the shell's system lists.
_IMAGELIST *ChangeableImageList(HIMAGELIST himl) {
    _IMAGELIST *list = CheckImageList(himl);
    if (list && IsSystem(*list)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return list;
}

}  // namespace wince

using namespace wince;

HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow) {
    (void)cGrow;  // the list grows as needed
    if (cx <= 0 || cy <= 0 || cInitial < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto *list = new _IMAGELIST;
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    list->images.reserve(static_cast<size_t>(cInitial));
    Lists().insert(list);
    return list;
}

BOOL WINAPI ImageList_Destroy(HIMAGELIST himl) {
    _IMAGELIST *list = CheckImageList(himl);
    if (!list) return FALSE;
    // The system lists belong to the shell and outlive any program's use.
    if (IsSystem(*list)) return FALSE;
    for (HICON icon : list->images) DestroyIcon(icon);
    Lists().erase(list);
    delete list;
    return TRUE;
}

int WINAPI ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
    _IMAGELIST *list = ChangeableImageList(himl);
    if (!list) return -1;
    return AddStrip(list, hbmImage, hbmMask, 0, false);
}

int WINAPI ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
    _IMAGELIST *list = ChangeableImageList(himl);
    if (!list) return -1;
    return AddStrip(list, hbmImage, nullptr, crMask, true);
}

int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon) {
    _IMAGELIST *list = ChangeableImageList(himl);
    if (!list) return -1;
    if (i < -1 || i >= static_cast<int>(list->images.size())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    // The list keeps its own copy at its own size.
    HICON copy = CopyIconAt(hicon, list->cx, list->cy);
    if (!copy) return -1;
    if (i == -1) {
        list->images.push_back(copy);
        return static_cast<int>(list->images.size()) - 1;
    }
    DestroyIcon(list->images[static_cast<size_t>(i)]);
    list->images[static_cast<size_t>(i)] = copy;
    return i;
}

BOOL WINAPI ImageList_Remove(HIMAGELIST himl, int i) {
    _IMAGELIST *list = ChangeableImageList(himl);
    if (!list) return FALSE;
    if (i < -1 || i >= static_cast<int>(list->images.size())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (i == -1) {
        for (HICON icon : list->images) DestroyIcon(icon);
        list->images.clear();
    } else {
        DestroyIcon(list->images[static_cast<size_t>(i)]);
        list->images.erase(list->images.begin() + i);
    }
    return TRUE;
}

int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
    _IMAGELIST *list = CheckImageList(himl);
    return list ? Count(*list) : 0;
}

BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int *cx, int *cy) {
    _IMAGELIST *list = CheckImageList(himl);
    if (!list || !cx || !cy) return FALSE;
    *cx = IsSystem(*list) ? SystemIconSize(*list) : list->cx;
    *cy = IsSystem(*list) ? SystemIconSize(*list) : list->cy;
    return TRUE;
}

HICON WINAPI ImageList_GetIcon(HIMAGELIST himl, int i, UINT) {
    _IMAGELIST *list = CheckImageList(himl);
    return list ? NewIcon(*list, i) : nullptr;
}

BOOL WINAPI ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
    _IMAGELIST *list = CheckImageList(himl);
    if (!list || i < 0 || i >= Count(*list)) return FALSE;
    UINT how = (fStyle & ILD_MASK) ? DI_MASK : (fStyle & ILD_IMAGE) ? DI_IMAGE : DI_NORMAL;
    if (!IsSystem(*list))
        return DrawIconEx(hdcDst, x, y, list->images[static_cast<size_t>(i)], list->cx, list->cy, 0, nullptr, how);
    HICON icon = NewIcon(*list, i);
    if (!icon) return FALSE;
    int size = SystemIconSize(*list);
    BOOL drawn = DrawIconEx(hdcDst, x, y, icon, size, size, 0, nullptr, how);
    DestroyIcon(icon);
    return drawn;
}
