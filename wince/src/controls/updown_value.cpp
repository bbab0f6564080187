// The up-down control's numbers: formatting and reading the buddy's text.
#include "updown.h"

namespace wince::controls {

std::u16string FormatPosition(int position, int base, bool thousands) {
    WCHAR buffer[32];
    if (base == 16) {
        wsprintfW(buffer, u"0x%04X", static_cast<unsigned>(position));
        return buffer;
    }
    wsprintfW(buffer, u"%d", position < 0 ? -position : position);
    std::u16string digits = buffer, out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (thousands && i > 0 && (digits.size() - i) % 3 == 0) out += u',';
        out += digits[i];
    }
    return position < 0 ? u"-" + out : out;
}

bool ParsePosition(const std::u16string &text, int base, int &out) {
    size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    bool negative = false;
    if (base == 10 && i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    if (base == 16 && i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) i += 2;
    long long value = 0;
    int digits = 0;
    for (; i < text.size(); ++i) {
        char16_t c = text[i];
        int d;
        if (c >= u'0' && c <= u'9') d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f') d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F') d = c - u'A' + 10;
        else if (base == 10 && c == u',' && digits > 0) continue;
        else break;
        value = value * base + d;
        if (value > 0xFFFFFFFFll) return false;
        ++digits;
    }
    while (i < text.size() && text[i] == u' ') ++i;
    if (!digits || i != text.size()) return false;
    out = static_cast<int>(negative ? -value : value);
    return true;
}

}  // namespace wince::controls
