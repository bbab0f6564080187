// The locales the device knows: names of days and months and the default
// date and time pictures. The device's own locale comes from device.ini,
// [locale] name ("en-US" when absent).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace wince {

struct LocaleData {
    LCID lcid;
    const char *name;
    const char16_t *shortDate, *longDate, *time;
    const char16_t *days[7];  // Sunday first, as wDayOfWeek counts
    const char16_t *shortDays[7];
    const char16_t *months[12];
    const char16_t *shortMonths[12];
    const char16_t *am, *pm;
    const char16_t *era;
};

// The locale an LCID names, the defaults resolved to the device's locale;
// nullptr for one the device does not have.
const LocaleData *FindLocale(LCID lcid);
const LocaleData &DeviceLocale();

// A picture split into fields (runs of one of the picture's letters) and
// literal text (quoted with single quotes, '' for a quote, or any other
// character).
struct PictureToken {
    char16_t letter;  // 0 for literal text
    int count;
    std::u16string text;
};
std::vector<PictureToken> ParsePicture(std::u16string_view picture, std::u16string_view letters);

// Copies a result the way the NLS functions do: size 0 asks for the length
// (with the terminating NUL), a buffer too small fails.
int ReturnString(const std::u16string &text, LPWSTR out, int capacity);

}  // namespace wince
