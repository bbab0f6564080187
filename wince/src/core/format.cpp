// wsprintfW: the user library's small formatter. Like the device's it knows
// only characters, strings and integers, and writes at most 1024 characters.
#include <windows.h>

#include <string>

namespace {

constexpr int kMaxOutput = 1024;

struct Conversion {
    bool left = false, zero = false, alternate = false;
    int width = 0, precision = -1;
    enum { kInt, kShort, kLong, kLong64 } size = kInt;
    bool narrow = false, wide = false;
};

void Pad(std::u16string &out, const std::u16string &body, const Conversion &conv, char16_t fill) {
    int pad = conv.width - static_cast<int>(body.size());
    if (pad <= 0) {
        out += body;
    } else if (conv.left) {
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
        Conversion conv;
        for (;; ++p) {
            if (*p == u'-') conv.left = true;
            else if (*p == u'0') conv.zero = true;
            else if (*p == u'#') conv.alternate = true;
            else break;
        }
        while (*p >= u'0' && *p <= u'9') conv.width = conv.width * 10 + (*p++ - u'0');
        if (*p == u'.') {
            conv.precision = 0;
            for (++p; *p >= u'0' && *p <= u'9'; ++p) conv.precision = conv.precision * 10 + (*p - u'0');
        }
        if (*p == u'l') conv.size = Conversion::kLong, conv.wide = true, ++p;
        else if (*p == u'h') conv.size = Conversion::kShort, conv.narrow = true, ++p;
        else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') conv.size = Conversion::kLong64, p += 3;
        if (!*p) break;
        char16_t fill = conv.zero && !conv.left ? u'0' : u' ';
        switch (*p) {
            case u'%':
                out += u'%';
                break;
            case u'c':
            case u'C': {
                int value = va_arg(args, int);
                bool narrow = conv.narrow || (*p == u'C' && !conv.wide);
                Pad(out, std::u16string(1, static_cast<char16_t>(narrow ? (value & 0xFF) : (value & 0xFFFF))), conv,
                    u' ');
                break;
            }
            case u's':
            case u'S': {
                bool narrow = conv.narrow || (*p == u'S' && !conv.wide);
                std::u16string body;
                if (narrow) {
                    const char *s = va_arg(args, const char *);
                    if (!s) s = "(null)";
                    for (; *s && (conv.precision < 0 || static_cast<int>(body.size()) < conv.precision); ++s)
                        body += static_cast<char16_t>(static_cast<unsigned char>(*s));
                } else {
                    LPCWSTR s = va_arg(args, LPCWSTR);
                    if (!s) s = u"(null)";
                    for (; *s && (conv.precision < 0 || static_cast<int>(body.size()) < conv.precision); ++s)
                        body += *s;
                }
                Pad(out, body, conv, u' ');
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
                if (conv.size == Conversion::kLong64) {
                    int64_t v = va_arg(args, int64_t);
                    negative = isSigned && v < 0;
                    magnitude = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
                } else {
                    // int and long are both 32 bits on the device
                    int32_t v = va_arg(args, int32_t);
                    if (conv.size == Conversion::kShort) v = isSigned ? static_cast<int16_t>(v) : static_cast<uint16_t>(v);
                    negative = isSigned && v < 0;
                    magnitude = negative ? 0 - static_cast<uint64_t>(static_cast<int64_t>(v))
                                         : static_cast<uint64_t>(static_cast<uint32_t>(v));
                }
                unsigned base = (*p == u'x' || *p == u'X') ? 16 : 10;
                std::u16string body = Digits(magnitude, base, *p == u'X');
                if (conv.precision >= 0 && static_cast<int>(body.size()) < conv.precision)
                    body.insert(0, conv.precision - body.size(), u'0');
                if (base == 16 && conv.alternate && magnitude) body.insert(0, *p == u'X' ? u"0X" : u"0x");
                if (negative) body.insert(body.begin(), u'-');
                Pad(out, body, conv, fill);
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
