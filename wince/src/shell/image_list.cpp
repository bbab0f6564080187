// The shell's system image lists, small and large: one icon per file kind.
#include "image_list.h"

#include "controls/imagelist.h"

namespace wince {

HIMAGELIST SystemImageList(bool small) {
    static _IMAGELIST smallList = [] {
        _IMAGELIST list;
        list.source = _IMAGELIST::Source::kSystemSmall;
        return list;
    }();
    static _IMAGELIST largeList = [] {
        _IMAGELIST list;
        list.source = _IMAGELIST::Source::kSystemLarge;
        return list;
    }();
    return small ? &smallList : &largeList;
}

}  // namespace wince
