#include "options/FrameFonts.h"

#include "options/DpiScale.h"

namespace {

// Owns one font until the program ends.
struct SharedFont {
    HFONT handle;
    ~SharedFont() {
        if (handle) DeleteObject(handle);
    }
};

HFONT MakeFont(LONG weight) {
    LOGFONTW font{};
    font.lfHeight = DpiScaleY(13);
    font.lfWeight = weight;
    lstrcpynW(font.lfFaceName, TEXT("Tahoma"), LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

// Push buttons (plain or default) take the bold face.
bool IsPushButton(HWND window) {
    WCHAR className[21] = {0};
    GetClassNameW(window, className, 21);
    if (lstrcmpiW(className, TEXT("BUTTON")) != 0) return false;
    LONG kind = GetWindowLongW(window, GWL_STYLE) & 0xF;
    return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
}

}  // namespace

HFONT TitleFont() {
    static const SharedFont font{MakeFont(FW_BOLD)};
    return font.handle;
}

HFONT ControlFont() {
    static const SharedFont font{MakeFont(FW_NORMAL)};
    return font.handle;
}

void ApplyDialogFonts(HWND window) {
    HFONT font = IsPushButton(window) ? TitleFont() : ControlFont();
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ApplyDialogFonts(child);
}
