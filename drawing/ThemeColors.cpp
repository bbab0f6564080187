#include "drawing/ThemeColors.h"

#include <todaycmn.h>

#include "config/RegistryKey.h"
#include "drawing/ScreenMetrics.h"

namespace {

constexpr int kSchemeEntries = 45;

}  // namespace

COLORREF GetHighlightColor(HWND host) {
    if (IsNewTodayPlatform()) return static_cast<COLORREF>(SendMessageW(host, TODAYM_GETCOLOR, TODAYCOLOR_HIGHLIGHT, 0));
    return GetSysColor(COLOR_HIGHLIGHT | SYS_COLOR_INDEX_FLAG);
}

COLORREF GetHighlightTextColor(HWND host) {
    if (IsNewTodayPlatform())
        return static_cast<COLORREF>(SendMessageW(host, TODAYM_GETCOLOR, TODAYCOLOR_HIGHLIGHTEDTEXT, 0));
    return GetSysColor(COLOR_HIGHLIGHTTEXT | SYS_COLOR_INDEX_FLAG);
}

// A value of its own under the colour key wins; otherwise the entry of the
// scheme ("SHColor", else "DefSHColor"), except on the oldest platform.
COLORREF GetThemeColor(int index, COLORREF defaultColor) {
    RegistryKey key(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Microsoft\\Color"), true, true);
    WCHAR name[16];
    wsprintfW(name, TEXT("%d"), index);
    DWORD value = 0;
    DWORD size = sizeof value;
    COLORREF result;
    if (key.QueryValue(name, reinterpret_cast<BYTE *>(&value), &size)) {
        result = value;
    } else if (IsLegacyPocketPC() || index < 0 || index >= kSchemeEntries) {
        result = defaultColor;
    } else {
        DWORD scheme[kSchemeEntries] = {};
        scheme[index] = defaultColor;
        size = sizeof scheme;
        if (!key.QueryValue(TEXT("SHColor"), reinterpret_cast<BYTE *>(scheme), &size)) {
            size = sizeof scheme;
            key.QueryValue(TEXT("DefSHColor"), reinterpret_cast<BYTE *>(scheme), &size);
        }
        result = scheme[index];
    }
    key.Close();
    return result;
}
