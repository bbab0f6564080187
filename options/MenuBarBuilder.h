// Fills a page's menu bar from a menu resource: one drop-down button per
// top-level popup of the menu, translated, the menu's texts cleaned for
// the bar.
#pragma once

#include <windows.h>

#include <memory>

#include "appkit/CommandBar.h"
#include "appkit/Menu.h"

// Null only when the menu object cannot be made. position 0xFFFF appends.
std::unique_ptr<Menu> BuildMenuBar(CommandBar &bar, UINT menuId, int position);
