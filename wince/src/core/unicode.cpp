#include "unicode.h"

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <locale.h>
#include <wctype.h>

namespace wince {
namespace {

void AppendUtf8(std::string &out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendUtf16(std::u16string &out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

// Decodes one well-formed UTF-8 sequence at bytes[i]; returns its length, or
// 0 when the bytes there are not valid UTF-8 (overlong forms and encoded
// surrogates included).
size_t DecodeUtf8(std::string_view bytes, size_t i, char32_t &cp) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    unsigned char c = b(i);
    size_t len;
    char32_t min;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        len = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > bytes.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

template <typename Sink>
void WalkUtf16(std::u16string_view text, Sink sink) {
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            sink(0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00), false);
            ++i;
        } else {
            sink(c, c >= 0xD800 && c <= 0xDFFF);
        }
    }
}

locale_t UnicodeLocale() {
    static locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        if (!l) l = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(0));
        return l;
    }();
    return loc;
}

}  // namespace

std::u16string FromHostBytes(std::string_view bytes) {
    std::u16string out;
    AppendFromHostBytes(out, bytes);
    return out;
}

void AppendFromHostBytes(std::u16string &out, std::string_view bytes) {
    // Most names are plain ASCII: those are widened in one pass.
    size_t ascii = 0;
    while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
    const size_t start = out.size();
    out.resize(start + ascii);
    std::copy(bytes.begin(), bytes.begin() + ascii, out.begin() + start);
    for (size_t i = ascii; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            out += static_cast<char16_t>(bytes[i++]);
            continue;
        }
        char32_t cp;
        size_t len = DecodeUtf8(bytes, i, cp);
        if (len == 0) {
            out += static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[i]));
            ++i;
        } else {
            AppendUtf16(out, cp);
            i += len;
        }
    }
}

bool ToHostBytes(std::u16string_view text, std::string &bytes) {
    bytes.clear();
    bool ok = true;
    WalkUtf16(text, [&](char32_t cp, bool lone) {
        if (!lone) {
            AppendUtf8(bytes, cp);
        } else if (cp >= 0xDC80 && cp <= 0xDCFF) {
            bytes += static_cast<char>(cp - 0xDC00);
        } else {
            ok = false;
        }
    });
    return ok;
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    WalkUtf16(text, [&](char32_t cp, bool lone) { AppendUtf8(out, lone ? 0xFFFD : cp); });
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        char32_t cp;
        size_t len = DecodeUtf8(text, i, cp);
        AppendUtf16(out, len ? cp : 0xFFFD);
        i += len ? len : 1;
    }
    return out;
}

char16_t FoldUpper(char16_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
    if (c >= 0xD800 && c <= 0xDFFF) return c;
    locale_t loc = UnicodeLocale();
    if (!loc) return c;
    wint_t u = towupper_l(static_cast<wint_t>(c), loc);
    return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
}

char16_t FoldLower(char16_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
    if (c >= 0xD800 && c <= 0xDFFF) return c;
    locale_t loc = UnicodeLocale();
    if (!loc) return c;
    wint_t u = towlower_l(static_cast<wint_t>(c), loc);
    return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && FoldUpper(a[i]) != FoldUpper(b[i])) return false;
    }
    return true;
}

size_t StringLength(const char16_t *text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

}  // namespace wince
