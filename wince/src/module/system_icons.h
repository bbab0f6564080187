// The icons LoadIcon(NULL, IDI_...) returns, drawn at any size.
#pragma once

#include <windows.h>

#include "picture.h"

namespace wince {

// False for an id that is not one of the IDI_ icons.
bool DrawSystemIcon(WORD id, int size, Picture &out);

}  // namespace wince
