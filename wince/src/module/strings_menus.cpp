// LoadStringW over RT_STRING blocks, and LoadMenuW over RT_MENU templates.
#include "../menu/menu.h"
#include "modules.h"
#include "resources.h"

using namespace wince;

int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
    return ModuleGuard<int>(0, [&]() -> int {
        if (!lpBuffer || cchBufferMax < 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (cchBufferMax > 0) lpBuffer[0] = 0;
        // Sixteen strings to a block: block id/16 + 1, each a length and its characters.
        ResourceBytes block;
        if (uID > 0xFFFF || !FindResourceBytes(hInstance, MAKEINTRESOURCEW(uID / 16 + 1), RT_STRING, block)) return 0;
        size_t at = 0;
        const char16_t *text = nullptr;
        size_t length = 0;
        for (UINT i = 0; i <= uID % 16; ++i) {
            if (at + 2 > block.size) return 0;
            length = block.data[at] | (block.data[at + 1] << 8);
            at += 2;
            if (at + length * 2 > block.size) return 0;  // a damaged block reads as missing
            text = reinterpret_cast<const char16_t *>(block.data + at);
            at += length * 2;
        }
        if (length == 0) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return 0;
        }
        if (cchBufferMax == 0) {
            // The caller gets the resource's own, read-only and unterminated text.
            *reinterpret_cast<const char16_t **>(lpBuffer) = text;
            return static_cast<int>(length);
        }
        size_t copied = length < static_cast<size_t>(cchBufferMax - 1) ? length : cchBufferMax - 1;
        for (size_t i = 0; i < copied; ++i) lpBuffer[i] = text[i];
        lpBuffer[copied] = 0;
        return static_cast<int>(copied);
    });
}

HMENU WINAPI LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName) {
    return ModuleGuard<HMENU>(nullptr, [&]() -> HMENU {
        ResourceBytes bytes;
        if (!FindMenuTemplate(hInstance, lpMenuName, bytes)) return nullptr;
        return LoadMenuTemplate(bytes.data, bytes.size);
    });
}
