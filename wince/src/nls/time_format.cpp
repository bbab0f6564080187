// GetTimeFormatW: a time as the locale writes it, or by a picture of h, H,
// m, s and t fields. Fields the flags leave out take the separator before
// them along.
#include <windows.h>

#include <string>

#include "locales.h"

namespace wince {
namespace {

constexpr DWORD kTimeFlags =
    TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT | LOCALE_NOUSEROVERRIDE;

std::u16string Number(int value, int digits) {
    std::u16string text;
    if (digits >= 2 && value < 10) text += u'0';
    for (char c : std::to_string(value)) text += static_cast<char16_t>(c);
    return text;
}

bool Dropped(char16_t letter, DWORD flags) {
    switch (letter) {
        case u'm':
            return flags & TIME_NOMINUTESORSECONDS;
        case u's':
            return flags & (TIME_NOMINUTESORSECONDS | TIME_NOSECONDS);
        case u't':
            return flags & (TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT);
    }
    return false;
}

std::u16string FormatTime(const LocaleData &l, const SYSTEMTIME &t, std::u16string_view picture, DWORD flags) {
    std::vector<PictureToken> tokens = ParsePicture(picture, u"hHmst");
    std::vector<bool> keep(tokens.size(), true);
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].letter || !Dropped(tokens[i].letter, flags)) continue;
        keep[i] = false;
        // The separator before it; a leading field takes the one after it.
        if (i > 0 && !tokens[i - 1].letter)
            keep[i - 1] = false;
        else if (i + 1 < tokens.size() && !tokens[i + 1].letter)
            keep[i + 1] = false;
    }
    std::u16string out;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (!keep[i]) continue;
        const PictureToken &k = tokens[i];
        int twelve = t.wHour % 12 == 0 ? 12 : t.wHour % 12;
        bool h24 = k.letter == u'H' || (flags & TIME_FORCE24HOURFORMAT);
        std::u16string marker = t.wHour < 12 ? l.am : l.pm;
        switch (k.letter) {
            case 0:
                out += k.text;
                break;
            case u'h':
            case u'H':
                out += Number(h24 ? t.wHour : twelve, k.count);
                break;
            case u'm':
                out += Number(t.wMinute, k.count);
                break;
            case u's':
                out += Number(t.wSecond, k.count);
                break;
            case u't':
                out += k.count == 1 ? marker.substr(0, 1) : marker;
                break;
        }
    }
    return out;
}

}  // namespace
}  // namespace wince

using namespace wince;

int WINAPI GetTimeFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME *lpTime, LPCWSTR lpFormat, LPWSTR lpTimeStr,
                          int cchTime) {
    if (cchTime < 0 || (cchTime > 0 && !lpTimeStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (dwFlags & ~kTimeFlags) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const LocaleData *locale = FindLocale(Locale);
    if (!locale) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    SYSTEMTIME now;
    if (!lpTime) {
        GetLocalTime(&now);
        lpTime = &now;
    }
    if (lpTime->wHour > 23 || lpTime->wMinute > 59 || lpTime->wSecond > 59 || lpTime->wMilliseconds > 999) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return ReturnString(FormatTime(*locale, *lpTime, lpFormat ? lpFormat : locale->time, dwFlags), lpTimeStr, cchTime);
}
