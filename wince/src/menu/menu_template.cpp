// LoadMenuIndirectW: a menu from its binary template (a header of two
// words, then items; popup items are followed by their own items, and the
// last item of each level carries MF_END).
#include <cstdint>
#include <cstring>

#include "menu.h"

using namespace wince;

namespace {

constexpr int kMaxDepth = 16;

struct Reader {
    const uint8_t *at;
    const uint8_t *end;  // templates carry no size: the reader stops at a sane limit

    bool Word(uint16_t &out) {
        if (end - at < 2) return false;
        memcpy(&out, at, 2);
        at += 2;
        return true;
    }
    bool Text(std::u16string &out) {
        out.clear();
        for (uint16_t c;;) {
            if (!Word(c)) return false;
            if (c == 0) return true;
            out.push_back(static_cast<char16_t>(c));
        }
    }
};

bool ReadLevel(Reader &r, HMENU menu, int depth) {
    if (depth > kMaxDepth) return false;
    for (;;) {
        uint16_t flags = 0, id = 0;
        if (!r.Word(flags)) return false;
        bool popup = (flags & MF_POPUP) != 0;
        if (!popup && !r.Word(id)) return false;
        std::u16string text;
        if (!r.Text(text)) return false;
        UINT itemFlags = flags & ~static_cast<UINT>(MF_END);
        if (popup) {
            HMENU sub = CreatePopupMenu();
            if (!ReadLevel(r, sub, depth + 1)) {
                DestroyMenu(sub);
                return false;
            }
            AppendMenuW(menu, itemFlags, reinterpret_cast<UINT_PTR>(sub), text.c_str());
        } else if (id == 0 && text.empty() && !(flags & ~static_cast<UINT>(MF_END))) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, itemFlags, id, text.c_str());
        }
        if (flags & MF_END) return true;
    }
}

// Reads the header, skips its extra bytes and builds the menu.
HMENU Parse(const uint8_t *data, const uint8_t *end) {
    Reader r{data, end};
    uint16_t version = 0, offset = 0;
    // Extended templates (version 1) are not used on the device.
    if (!r.Word(version) || !r.Word(offset) || version != 0 || offset > end - r.at) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    r.at += offset;
    HMENU menu = CreateMenu();
    if (!ReadLevel(r, menu, 0)) {
        DestroyMenu(menu);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return menu;
}

}  // namespace

namespace wince {

HMENU LoadMenuTemplate(const uint8_t *data, size_t size) { return Parse(data, data + size); }

}  // namespace wince

HMENU WINAPI LoadMenuIndirectW(const void *lpMenuTemplate) {
    if (!lpMenuTemplate) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // The template carries no size; the reader stops at a generous limit.
    const auto *bytes = static_cast<const uint8_t *>(lpMenuTemplate);
    return Parse(bytes, bytes + (1 << 20));
}
