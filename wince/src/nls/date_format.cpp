// GetDateFormatW: a date as the locale writes it, or by a picture of
// d, M, y and g fields.
#include <windows.h>

#include <string>
#include <vector>

#include "locales.h"

namespace wince {
namespace {

constexpr DWORD kDateFlags =
    DATE_SHORTDATE | DATE_LONGDATE | DATE_USE_ALT_CALENDAR | DATE_LTRREADING | DATE_RTLREADING | LOCALE_NOUSEROVERRIDE;

// `value` in decimal, padded with zeros to `digits`.
void AppendNumber(std::u16string &out, int value, int digits) {
    char16_t reversed[12];
    int n = 0;
    unsigned v = value < 0 ? 0u : static_cast<unsigned>(value);
    do {
        reversed[n++] = static_cast<char16_t>(u'0' + v % 10);
        v /= 10;
    } while (v && n < 12);
    if (digits > n) out.append(digits - n, u'0');
    while (n > 0) out += reversed[--n];
}

// The date part checked, and its day of the week worked out: callers'
// wDayOfWeek is ignored, as on the device.
bool ValidDate(const SYSTEMTIME &in, SYSTEMTIME &out) {
    SYSTEMTIME day{};
    day.wYear = in.wYear;
    day.wMonth = in.wMonth;
    day.wDay = in.wDay;
    FILETIME ft;
    return SystemTimeToFileTime(&day, &ft) && FileTimeToSystemTime(&ft, &out);
}

// Into `out`, which a folder's many dates reuse without allocating again.
void FormatDate(std::u16string &out, const LocaleData &l, const SYSTEMTIME &d, std::u16string_view picture) {
    // A folder's dates are written one after another with one picture.
    thread_local std::u16string lastPicture;
    thread_local std::vector<PictureToken> lastTokens;
    if (lastTokens.empty() || picture != lastPicture) {
        lastTokens = ParsePicture(picture, u"dMyg");
        lastPicture = picture;
    }
    out.clear();
    for (const PictureToken &t : lastTokens) {
        switch (t.letter) {
            case 0:
                out += t.text;
                break;
            case u'd':
                if (t.count <= 2)
                    AppendNumber(out, d.wDay, t.count);
                else
                    out += t.count == 3 ? l.shortDays[d.wDayOfWeek] : l.days[d.wDayOfWeek];
                break;
            case u'M':
                if (t.count <= 2)
                    AppendNumber(out, d.wMonth, t.count);
                else
                    out += t.count == 3 ? l.shortMonths[d.wMonth - 1] : l.months[d.wMonth - 1];
                break;
            case u'y':
                AppendNumber(out, t.count <= 2 ? d.wYear % 100 : d.wYear, t.count <= 2 ? t.count : 1);
                break;
            case u'g':
                out += l.era;
                break;
        }
    }
}

}  // namespace
}  // namespace wince

using namespace wince;

int WINAPI GetDateFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME *lpDate, LPCWSTR lpFormat, LPWSTR lpDateStr,
                          int cchDate) {
    if (cchDate < 0 || (cchDate > 0 && !lpDateStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD kinds = dwFlags & (DATE_SHORTDATE | DATE_LONGDATE);
    if ((dwFlags & ~kDateFlags) || kinds == (DATE_SHORTDATE | DATE_LONGDATE) || (lpFormat && kinds) ||
        (dwFlags & (DATE_LTRREADING | DATE_RTLREADING)) == (DATE_LTRREADING | DATE_RTLREADING)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const LocaleData *locale = FindLocale(Locale);
    if (!locale) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    SYSTEMTIME now, date;
    if (!lpDate) {
        GetLocalTime(&now);
        lpDate = &now;
    }
    if (!ValidDate(*lpDate, date)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string_view picture = lpFormat                 ? std::u16string_view(lpFormat)
                                  : kinds == DATE_LONGDATE ? locale->longDate
                                                           : locale->shortDate;
    thread_local std::u16string text;
    FormatDate(text, *locale, date, picture);
    return ReturnString(text, lpDateStr, cchDate);
}
