// wsprintfW: the user library's small formatter. Like the device's it knows
// only characters, strings and integers, and writes at most 1024 characters.
#include <windows.h>

#include <string>

namespace {

constexpr int kMaxOutput = 1024;

struct Spec {
    bool left = false, zero = false, alternate = false;
    int width = 0, precision = -1;
    enum { kInt, kShort, kLong, kLong64 } size = kInt;
    bool narrow = false, wide = false;
};

void Pad(std::u16string &out, const std::u16string &body, const Spec &spec, char16_t fill) {
    int pad = spec.width - static_cast<int>(body.size());
    if (pad <= 0) {
        out += body;
    } else if (spec.left) {
        out += body;
        out.append(pad, u' ');
    } else if (fill == u'0' && !body.empty() && body[0] == u'-') {
        out += u'-';
        out.append(pad, u'0');
        out.append(body, 1);
    } else {
        out.append(pad, fill);
        out += body;
    }
}

std::u16string Digits(uint64_t value, unsigned base, bool upper) {
    const char *digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(digits[value % base]));
        value /= base;
    } while (value);
    return text;
}

}  // namespace

int WINAPI wvsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, va_list args) {
    if (!lpOut || !lpFmt) return 0;
    std::u16string out;
    for (LPCWSTR p = lpFmt; *p && static_cast<int>(out.size()) < kMaxOutput; ++p) {
        if (*p != u'%') {
            out += *p;
            continue;
        }
        ++p;
        Spec spec;
        for (;; ++p) {
            if (*p == u'-') spec.left = true;
            else if (*p == u'0') spec.zero = true;
            else if (*p == u'#') spec.alternate = true;
            else break;
        }
        while (*p >= u'0' && *p <= u'9') spec.width = spec.width * 10 + (*p++ - u'0');
        if (*p == u'.') {
            spec.precision = 0;
            for (++p; *p >= u'0' && *p <= u'9'; ++p) spec.precision = spec.precision * 10 + (*p - u'0');
        }
        if (*p == u'l') spec.size = Spec::kLong, spec.wide = true, ++p;
        else if (*p == u'h') spec.size = Spec::kShort, spec.narrow = true, ++p;
        else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') spec.size = Spec::kLong64, p += 3;
        if (!*p) break;
        char16_t fill = spec.zero && !spec.left ? u'0' : u' ';
        switch (*p) {
            case u'%':
                out += u'%';
                break;
            case u'c':
            case u'C': {
                int value = va_arg(args, int);
                bool narrow = spec.narrow || (*p == u'C' && !spec.wide);
                Pad(out, std::u16string(1, static_cast<char16_t>(narrow ? (value & 0xFF) : (value & 0xFFFF))), spec,
                    u' ');
                break;
            }
            case u's':
            case u'S': {
                bool narrow = spec.narrow || (*p == u'S' && !spec.wide);
                std::u16string body;
                if (narrow) {
                    const char *s = va_arg(args, const char *);
                    if (!s) s = "(null)";
                    for (; *s && (spec.precision < 0 || static_cast<int>(body.size()) < spec.precision); ++s)
                        body += static_cast<char16_t>(static_cast<unsigned char>(*s));
                } else {
                    LPCWSTR s = va_arg(args, LPCWSTR);
                    if (!s) s = u"(null)";
                    for (; *s && (spec.precision < 0 || static_cast<int>(body.size()) < spec.precision); ++s)
                        body += *s;
                }
                Pad(out, body, spec, u' ');
                break;
            }
            case u'd':
            case u'i':
            case u'u':
            case u'x':
            case u'X': {
                bool isSigned = *p == u'd' || *p == u'i';
                uint64_t magnitude;
                bool negative = false;
                if (spec.size == Spec::kLong64) {
                    int64_t v = va_arg(args, int64_t);
                    negative = isSigned && v < 0;
                    magnitude = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
                } else {
                    // int and long are both 32 bits on the device
                    int32_t v = va_arg(args, int32_t);
                    if (spec.size == Spec::kShort) v = isSigned ? static_cast<int16_t>(v) : static_cast<uint16_t>(v);
                    negative = isSigned && v < 0;
                    magnitude = negative ? 0 - static_cast<uint64_t>(static_cast<int64_t>(v))
                                         : static_cast<uint64_t>(static_cast<uint32_t>(v));
                }
                unsigned base = (*p == u'x' || *p == u'X') ? 16 : 10;
                std::u16string body = Digits(magnitude, base, *p == u'X');
                if (spec.precision >= 0 && static_cast<int>(body.size()) < spec.precision)
                    body.insert(0, spec.precision - body.size(), u'0');
                if (base == 16 && spec.alternate && magnitude) body.insert(0, *p == u'X' ? u"0X" : u"0x");
                if (negative) body.insert(body.begin(), u'-');
                Pad(out, body, spec, fill);
                break;
            }
            default:
                out += *p;  // unknown conversions stand for themselves
                break;
        }
    }
    if (static_cast<int>(out.size()) > kMaxOutput - 1) out.resize(kMaxOutput - 1);
    out.copy(lpOut, out.size());
    lpOut[out.size()] = 0;
    return static_cast<int>(out.size());
}

int WINAPIV wsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, ...) {
    va_list args;
    va_start(args, lpFmt);
    int n = wvsprintfW(lpOut, lpFmt, args);
    va_end(args);
    return n;
}
