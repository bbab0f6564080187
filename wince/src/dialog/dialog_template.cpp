#include "dialog_template.h"

#include <cstring>

namespace wince {
namespace {

// Little-endian reads within [data, data + size).
class Reader {
   public:
    Reader(const BYTE *data, size_t size) : data_(data), size_(size) {}

    bool Word(WORD &out) {
        if (size_ - pos_ < 2) return false;
        out = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    bool Dword(DWORD &out) {
        WORD lo, hi;
        if (!Word(lo) || !Word(hi)) return false;
        out = lo | (static_cast<DWORD>(hi) << 16);
        return true;
    }
    bool Short(short &out) {
        WORD w;
        if (!Word(w)) return false;
        out = static_cast<short>(w);
        return true;
    }
    bool String(std::u16string &out) {
        out.clear();
        for (;;) {
            WORD c;
            if (!Word(c)) return false;  // no terminator before the end
            if (!c) return true;
            out.push_back(static_cast<char16_t>(c));
        }
    }
    // 0x0000: nothing; 0xFFFF: an ordinal follows; else a string.
    bool Name(TemplateName &out) {
        out = TemplateName{};
        if (size_ - pos_ < 2) return false;
        WORD first = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
        if (first == 0xFFFF) {
            pos_ += 2;
            out.isOrdinal = true;
            return Word(out.ordinal);
        }
        return String(out.text);
    }
    bool AlignDword() {
        size_t aligned = (pos_ + 3) & ~static_cast<size_t>(3);
        if (aligned > size_) return false;
        pos_ = aligned;
        return true;
    }
    bool Skip(size_t n) {
        if (size_ - pos_ < n) return false;
        pos_ += n;
        return true;
    }
    const BYTE *Here() const { return data_ + pos_; }

   private:
    const BYTE *data_;
    size_t size_;
    size_t pos_ = 0;
};

bool ParseItem(Reader &r, DialogItemTemplate &item) {
    if (!r.AlignDword()) return false;
    if (!r.Dword(item.style) || !r.Dword(item.exStyle) || !r.Short(item.x) || !r.Short(item.y) ||
        !r.Short(item.cx) || !r.Short(item.cy) || !r.Word(item.id))
        return false;
    if (!r.Name(item.className) || !r.Name(item.title)) return false;
    const BYTE *extra = r.Here();
    WORD extraSize;
    if (!r.Word(extraSize)) return false;
    if (extraSize) {
        // The size counts the size word itself on the device's format.
        if (!r.Skip(extraSize > 2 ? extraSize - 2 : 0)) return false;
        item.creationData = extra;
    }
    return true;
}

}  // namespace

bool ParseDialogTemplate(const void *data, size_t size, DialogTemplate &out) {
    out = DialogTemplate{};
    if (!data) return false;
    Reader r(static_cast<const BYTE *>(data), size);
    WORD count;
    if (!r.Dword(out.style) || !r.Dword(out.exStyle) || !r.Word(count) || !r.Short(out.x) || !r.Short(out.y) ||
        !r.Short(out.cx) || !r.Short(out.cy))
        return false;
    if (!r.Name(out.menu) || !r.Name(out.className) || !r.String(out.title.text)) return false;
    if (out.style & DS_SETFONT) {
        out.hasFont = true;
        if (!r.Word(out.pointSize) || !r.String(out.faceName)) return false;
    }
    out.items.resize(count);
    for (DialogItemTemplate &item : out.items)
        if (!ParseItem(r, item)) return false;
    return true;
}

LPCWSTR PredefinedClassName(WORD ordinal) {
    switch (ordinal) {
        case 0x0080:
            return u"BUTTON";
        case 0x0081:
            return u"EDIT";
        case 0x0082:
            return u"STATIC";
        case 0x0083:
            return u"LISTBOX";
        case 0x0084:
            return u"SCROLLBAR";
        case 0x0085:
            return u"COMBOBOX";
    }
    return nullptr;
}

}  // namespace wince
