// The image list functions for the system image lists. Their images are
// the file kinds' icons, drawn when asked for at the device's current icon
// size, so a list follows the device's dots per inch.
#include "image_list.h"

#include "file_kinds.h"

struct _IMAGELIST {
    bool small;
};

namespace wince {
namespace {

_IMAGELIST smallList{true}, largeList{false};

_IMAGELIST *Check(HIMAGELIST himl) {
    if (himl == &smallList || himl == &largeList) return himl;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

int IconSize(const _IMAGELIST &list) {
    return GetSystemMetrics(list.small ? SM_CXSMICON : SM_CXICON);
}

bool ValidIndex(int i) {
    return i >= 0 && i < static_cast<int>(FileKind::kCount);
}

}  // namespace

HIMAGELIST SystemImageList(bool small) {
    return small ? &smallList : &largeList;
}

}  // namespace wince

using namespace wince;

int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
    return Check(himl) ? static_cast<int>(FileKind::kCount) : 0;
}

BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int *cx, int *cy) {
    _IMAGELIST *list = Check(himl);
    if (!list || !cx || !cy) return FALSE;
    *cx = *cy = IconSize(*list);
    return TRUE;
}

HICON WINAPI ImageList_GetIcon(HIMAGELIST himl, int i, UINT) {
    _IMAGELIST *list = Check(himl);
    if (!list || !ValidIndex(i)) return nullptr;
    return NewFileIcon(static_cast<FileKind>(i), IconSize(*list));
}

BOOL WINAPI ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
    _IMAGELIST *list = Check(himl);
    if (!list || !ValidIndex(i)) return FALSE;
    int size = IconSize(*list);
    HICON icon = NewFileIcon(static_cast<FileKind>(i), size);
    if (!icon) return FALSE;
    UINT how = (fStyle & ILD_MASK) ? DI_MASK : (fStyle & ILD_IMAGE) ? DI_IMAGE : DI_NORMAL;
    BOOL drawn = DrawIconEx(hdcDst, x, y, icon, size, size, 0, nullptr, how);
    DestroyIcon(icon);
    return drawn;
}
