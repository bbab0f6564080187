// Resource look-up for the platform's own users (menus, dialogs, images).
#pragma once

#include <cstddef>
#include <cstdint>

#include <windows.h>

namespace wince {

struct ResourceBytes {
    const uint8_t *data = nullptr;
    size_t size = 0;
};

// FindResource + LoadResource in one; sets the same last errors on failure.
bool FindResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, ResourceBytes &out);

// The menu template (MENUITEMTEMPLATEHEADER and items) of a module's menu.
bool FindMenuTemplate(HINSTANCE module, LPCWSTR name, ResourceBytes &out);

}  // namespace wince
