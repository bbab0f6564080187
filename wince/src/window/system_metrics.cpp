// System metrics, colours, parameters and the OS version, from the device
// profile. Lengths are given at 96 dots per inch and scaled to the device.
#include <windows.h>

#include <cstdio>
#include <string>
#include <unordered_map>

#include <aygshell.h>

#include "device/device.h"
#include "shell/shell_bars.h"

namespace {

const wince::DeviceProfile &Profile() { return wince::Device::Current().Profile(); }

int Scaled(int at96) { return (at96 * Profile().dpiX + 48) / 96; }

struct ColorDefault {
    const char *name;
    COLORREF color;
};

// Pocket PC defaults; device.ini's [colors] section may override any of
// them as "name = #RRGGBB".
const ColorDefault kColors[] = {
    {"scrollbar", RGB(192, 192, 192)},  {"background", RGB(255, 255, 255)},
    {"activecaption", RGB(0, 0, 128)},  {"inactivecaption", RGB(128, 128, 128)},
    {"menu", RGB(255, 255, 255)},       {"window", RGB(255, 255, 255)},
    {"windowframe", RGB(0, 0, 0)},      {"menutext", RGB(0, 0, 0)},
    {"windowtext", RGB(0, 0, 0)},       {"captiontext", RGB(255, 255, 255)},
    {"activeborder", RGB(192, 192, 192)}, {"inactiveborder", RGB(192, 192, 192)},
    {"appworkspace", RGB(128, 128, 128)}, {"highlight", RGB(0, 0, 128)},
    {"highlighttext", RGB(255, 255, 255)}, {"btnface", RGB(192, 192, 192)},
    {"btnshadow", RGB(128, 128, 128)},  {"graytext", RGB(128, 128, 128)},
    {"btntext", RGB(0, 0, 0)},          {"inactivecaptiontext", RGB(192, 192, 192)},
    {"btnhighlight", RGB(255, 255, 255)}, {"3ddkshadow", RGB(0, 0, 0)},
    {"3dlight", RGB(224, 224, 224)},    {"infotext", RGB(0, 0, 0)},
    {"infobk", RGB(255, 255, 225)},     {"static", RGB(255, 255, 255)},
    {"statictext", RGB(0, 0, 0)},       {"gradientactivecaption", RGB(0, 0, 128)},
    {"gradientinactivecaption", RGB(128, 128, 128)},
};
constexpr int kColorCount = sizeof kColors / sizeof kColors[0];

struct ColorState {
    unsigned generation = 0;
    COLORREF colors[kColorCount];
    HBRUSH brushes[kColorCount] = {};
};

ColorState &Colors() {
    static ColorState state;
    unsigned generation = wince::Device::Generation();
    if (state.generation != generation) {
        state.generation = generation;
        for (int i = 0; i < kColorCount; ++i) {
            state.colors[i] = kColors[i].color;
            std::string v = Profile().Get(std::string("colors.") + kColors[i].name);
            unsigned r, g, b;
            if (sscanf(v.c_str(), "#%02x%02x%02x", &r, &g, &b) == 3) state.colors[i] = RGB(r, g, b);
            if (state.brushes[i]) DeleteObject(state.brushes[i]);
            state.brushes[i] = nullptr;
        }
    }
    return state;
}

int IndexOf(int nIndex) { return nIndex & ~SYS_COLOR_INDEX_FLAG; }

}  // namespace

int WINAPI GetSystemMetrics(int nIndex) {
    const wince::DeviceProfile &p = Profile();
    switch (nIndex) {
        case SM_CXSCREEN:
        case SM_CXFULLSCREEN:
            return p.width;
        case SM_CYSCREEN:
            return p.height;
        case SM_CYFULLSCREEN:
            return p.height - Scaled(26);
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
        case SM_CYVTHUMB:
        case SM_CXHTHUMB:
            return p.GetInt("metrics.scrollbar", Scaled(13));
        case SM_CYCAPTION:
        case SM_CYMENU:
            return Scaled(26);
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return 3;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXICONSPACING:
        case SM_CYICONSPACING:
            return Scaled(32);
        case SM_CXSMICON:
        case SM_CYSMICON:
            return Scaled(16);
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return Scaled(4);
        case SM_DEBUG:
            return 0;
    }
    return 0;
}

DWORD WINAPI GetSysColor(int nIndex) {
    int i = IndexOf(nIndex);
    if (i < 0 || i >= kColorCount) return 0;
    return Colors().colors[i];
}

HBRUSH WINAPI GetSysColorBrush(int nIndex) {
    int i = IndexOf(nIndex);
    if (i < 0 || i >= kColorCount) return nullptr;
    ColorState &c = Colors();
    if (!c.brushes[i]) c.brushes[i] = CreateSolidBrush(c.colors[i]);
    return c.brushes[i];
}

BOOL WINAPI SetSysColors(int cElements, const INT *lpaElements, const COLORREF *lpaRgbValues) {
    if (cElements < 0 || (cElements && (!lpaElements || !lpaRgbValues))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ColorState &c = Colors();
    for (int k = 0; k < cElements; ++k) {
        int i = IndexOf(lpaElements[k]);
        if (i < 0 || i >= kColorCount) continue;
        c.colors[i] = lpaRgbValues[k];
        if (c.brushes[i]) DeleteObject(c.brushes[i]);
        c.brushes[i] = nullptr;
    }
    return TRUE;
}

namespace {

BOOL CopyText(const std::string &text, UINT bufferBytes, PVOID buffer) {
    std::u16string wide(text.begin(), text.end());
    if (!buffer || bufferBytes < (wide.size() + 1) * sizeof(WCHAR)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    auto *out = static_cast<WCHAR *>(buffer);
    wide.copy(out, wide.size());
    out[wide.size()] = 0;
    return TRUE;
}

}  // namespace

BOOL WINAPI SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT) {
    const wince::DeviceProfile &p = Profile();
    switch (uiAction) {
        case SPI_GETPLATFORMTYPE:
            return CopyText(p.platform, uiParam, pvParam);
        case SPI_GETOEMINFO:
            return CopyText(p.Get("os.oem", "Pelloran Device Simulator"), uiParam, pvParam);
        case SPI_GETWORKAREA:
            if (!pvParam) break;
            *static_cast<RECT *>(pvParam) = wince::shell::WorkArea();
            return TRUE;
        case SPI_GETSIPINFO:
        case SPI_SETSIPINFO:
            return SHSipInfo(uiAction, uiParam, pvParam, 0);
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW info) {
    if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOW)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const wince::DeviceProfile &p = Profile();
    info->dwMajorVersion = p.osMajor;
    info->dwMinorVersion = p.osMinor;
    info->dwBuildNumber = p.GetInt("os.build", 0);
    info->dwPlatformId = VER_PLATFORM_WIN32_CE;
    info->szCSDVersion[0] = 0;
    return TRUE;
}

// Registered messages are numbered from the name alone, so that every
// process of the device agrees on them.
UINT WINAPI RegisterWindowMessageW(LPCWSTR lpString) {
    static std::unordered_map<UINT, std::u16string> taken;
    if (!lpString || !*lpString) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string name(lpString);
    for (auto &c : name) c = static_cast<char16_t>(reinterpret_cast<uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(uintptr_t{c}))));
    uint32_t hash = 2166136261u;
    for (char16_t c : name) hash = (hash ^ c) * 16777619u;
    UINT id = 0xC000 + hash % 0x3FFF;
    for (;;) {
        auto it = taken.find(id);
        if (it == taken.end()) {
            taken.emplace(id, name);
            return id;
        }
        if (it->second == name) return id;
        id = id == 0xFFFF ? 0xC000 : id + 1;
    }
}

BOOL WINAPI MessageBeep(UINT) { return TRUE; }

HCURSOR WINAPI SetCursor(HCURSOR hCursor) { return hCursor; }

HCURSOR WINAPI LoadCursorW(HINSTANCE, LPCWSTR) { return nullptr; }
