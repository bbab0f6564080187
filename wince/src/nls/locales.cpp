#include "locales.h"

#include <algorithm>
#include <cstdio>
#include <strings.h>

#include "device/device.h"

namespace wince {
namespace {

const LocaleData kLocales[] = {
    {0x0409,
     "en-US",
     u"M/d/yyyy",
     u"dddd, MMMM dd, yyyy",
     u"h:mm:ss tt",
     {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"},
     {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"},
     {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August", u"September", u"October",
      u"November", u"December"},
     {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"},
     u"AM",
     u"PM",
     u"A.D."},
    {0x0809,
     "en-GB",
     u"dd/MM/yyyy",
     u"dd MMMM yyyy",
     u"HH:mm:ss",
     {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"},
     {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"},
     {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August", u"September", u"October",
      u"November", u"December"},
     {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"},
     u"AM",
     u"PM",
     u"A.D."},
    {0x0407,
     "de-DE",
     u"dd.MM.yyyy",
     u"dddd, d. MMMM yyyy",
     u"HH:mm:ss",
     {u"Sonntag", u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag"},
     {u"So", u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa"},
     {u"Januar", u"Februar", u"M\u00e4rz", u"April", u"Mai", u"Juni", u"Juli", u"August", u"September", u"Oktober",
      u"November", u"Dezember"},
     {u"Jan", u"Feb", u"M\u00e4r", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"},
     u"",
     u"",
     u"n. Chr."},
    {0x040C,
     "fr-FR",
     u"dd/MM/yyyy",
     u"dddd d MMMM yyyy",
     u"HH:mm:ss",
     {u"dimanche", u"lundi", u"mardi", u"mercredi", u"jeudi", u"vendredi", u"samedi"},
     {u"dim.", u"lun.", u"mar.", u"mer.", u"jeu.", u"ven.", u"sam."},
     {u"janvier", u"f\u00e9vrier", u"mars", u"avril", u"mai", u"juin", u"juillet", u"ao\u00fbt", u"septembre",
      u"octobre", u"novembre", u"d\u00e9cembre"},
     {u"janv.", u"f\u00e9vr.", u"mars", u"avr.", u"mai", u"juin", u"juil.", u"ao\u00fbt", u"sept.", u"oct.", u"nov.",
      u"d\u00e9c."},
     u"",
     u"",
     u"ap. J.-C."},
};

}  // namespace

const LocaleData &DeviceLocale() {
    static unsigned generation = 0;
    static const LocaleData *current = &kLocales[0];
    if (generation != Device::Generation()) {
        generation = Device::Generation();
        std::string name = Device::Current().Profile().Get("locale.name", "en-US");
        current = nullptr;
        for (const LocaleData &l : kLocales)
            if (strcasecmp(l.name, name.c_str()) == 0) current = &l;
        if (!current) {
            fprintf(stderr, "wince: device.ini names the locale \"%s\", which this device does not have; using en-US\n",
                    name.c_str());
            current = &kLocales[0];
        }
    }
    return *current;
}

const LocaleData *FindLocale(LCID lcid) {
    if (lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_SYSTEM_DEFAULT || lcid == LOCALE_NEUTRAL) return &DeviceLocale();
    if (lcid >> 16) return nullptr;  // only the default sort order
    for (const LocaleData &l : kLocales)
        if (l.lcid == lcid) return &l;
    return nullptr;
}

std::vector<PictureToken> ParsePicture(std::u16string_view picture, std::u16string_view letters) {
    std::vector<PictureToken> tokens;
    auto literal = [&](char16_t c) {
        if (tokens.empty() || tokens.back().letter) tokens.push_back(PictureToken{0, 0, {}});
        tokens.back().text += c;
    };
    for (size_t i = 0; i < picture.size();) {
        char16_t c = picture[i];
        if (c == u'\'') {
            for (++i; i < picture.size(); ++i) {
                if (picture[i] != u'\'') {
                    literal(picture[i]);
                } else if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
                    literal(u'\'');
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            continue;
        }
        if (letters.find(c) == std::u16string_view::npos) {
            literal(c);
            ++i;
            continue;
        }
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        tokens.push_back(PictureToken{c, static_cast<int>(run), {}});
        i += run;
    }
    return tokens;
}

int ReturnString(const std::u16string &text, LPWSTR out, int capacity) {
    int needed = static_cast<int>(text.size()) + 1;
    if (capacity == 0) return needed;
    if (capacity < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(text.begin(), text.end(), out);
    out[text.size()] = 0;
    return needed;
}

}  // namespace wince

using namespace wince;

LCID WINAPI GetUserDefaultLCID(void) {
    return DeviceLocale().lcid;
}
LCID WINAPI GetSystemDefaultLCID(void) {
    return DeviceLocale().lcid;
}
LANGID WINAPI GetUserDefaultLangID(void) {
    return static_cast<LANGID>(DeviceLocale().lcid);
}
LANGID WINAPI GetSystemDefaultLangID(void) {
    return static_cast<LANGID>(DeviceLocale().lcid);
}
