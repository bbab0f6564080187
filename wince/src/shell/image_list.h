// The shell's system image lists: one icon per file kind, small and large,
// at the device's icon sizes.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace wince {

HIMAGELIST SystemImageList(bool small);

}  // namespace wince
