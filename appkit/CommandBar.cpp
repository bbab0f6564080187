#include "appkit/CommandBar.h"

#include <aygshell.h>

#include "appkit/Application.h"
#include "appkit/Menu.h"

namespace {


// The low word of a bar's style holds the framework's bar styles (its
// alignment and borders); they stay with the object, not the window.
constexpr DWORD kBarStyles = 0x0000FFFF;

}  // namespace

bool CommandBar::Create(Window &owner, DWORD toolbarStyle, DWORD windowStyle, UINT id) {
    if (Handle() || !owner.Handle()) return false;
    HWND bar = CommandBar_Create(ProgramInstance(), owner.Handle(), static_cast<int>(id));
    if (!bar || !Attach(bar)) return false;
    owner_ = &owner;
    barStyle_ = windowStyle & kBarStyles;
    LONG style = GetWindowLongW(bar, GWL_STYLE) | static_cast<LONG>(toolbarStyle & 0xFFFF);
    if (!(windowStyle & WS_VISIBLE)) style &= ~WS_VISIBLE;
    SetWindowLongW(bar, GWL_STYLE, style);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    buttonCount_ = static_cast<int>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    return true;
}

bool CommandBar::CreateEmpty(Window &owner) {
    if (Handle() || !owner.Handle()) return false;
    SHMENUBARINFO info{};
    info.cbSize = sizeof(info);
    info.hwndParent = owner.Handle();
    info.dwFlags = SHCMBF_EMPTYBAR;
    info.hInstRes = ProgramInstance();
    if (!SHCreateMenuBar(&info) || !info.hwndMB || !Attach(info.hwndMB)) return false;
    owner_ = &owner;
    buttonCount_ = static_cast<int>(SendMessageW(info.hwndMB, TB_BUTTONCOUNT, 0, 0));
    return true;
}

bool CommandBar::InsertButton(int index, const TBBUTTON &button) {
    if (!Handle()) return false;
    if (index == 0xFFFF || index >= buttonCount_) index = buttonCount_;
    if (!SendMessageW(Handle(), TB_INSERTBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return false;
    ++buttonCount_;
    return true;
}

bool CommandBar::AddAdornments(DWORD flags) { return Handle() && CommandBar_AddAdornments(Handle(), flags, 0); }

bool ShowMenuBarPopup(Window &owner, const NMTOOLBARW &button) {
    Menu *menu = owner.MenuObject();
    int index = button.iItem - static_cast<int>(FirstBarButtonCommand);
    HMENU popup = menu && index >= 0 ? menu->Popup(index) : nullptr;
    if (!popup) return false;
    SendMessageW(owner.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(index, FALSE));
    RECT r{};
    SendMessageW(button.hdr.hwndFrom, TB_GETRECT, static_cast<WPARAM>(button.iItem), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(button.hdr.hwndFrom, nullptr, reinterpret_cast<POINT *>(&r), 2);
    TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN, r.left, r.top, owner.Handle(), nullptr);
    return true;
}
