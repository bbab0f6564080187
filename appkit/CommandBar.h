// The command bar: a toolbar window that the shell shows as the menu bar
// of its window. The object keeps the count of the buttons it inserted.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <list>

#include "appkit/Window.h"
#include "config/WideString.h"

// The commands of a menu bar's drop-down buttons: the first one opens the
// owner's first popup, the next one the next.
inline constexpr UINT FirstBarButtonCommand = 0xF000;

class CommandBar : public Window {
   public:
    // A bar for the owner: window style and toolbar style as given, with
    // the identifier id. False when the shell cannot make one.
    bool Create(Window &owner, DWORD toolbarStyle, DWORD windowStyle, UINT id);
    // The empty menu bar that every dialog gets.
    bool CreateEmpty(Window &owner);

    // The window whose menu bar this is.
    Window *Owner() const { return owner_; }
    int ButtonCount() const { return buttonCount_; }
    void SetButtonCount(int count) { buttonCount_ = count; }
    // Inserts at index (0xFFFF or the count: at the end); false on failure.
    bool InsertButton(int index, const TBBUTTON &button);
    // The shell's standard adornments (the close or ok button).
    bool AddAdornments(DWORD flags);

    // Keeps a button's label for as long as the bar lives; the bar may
    // point to it rather than copy it.
    LPCWSTR KeepLabel(const WideString &label) {
        labels_.push_back(label);
        return labels_.back().c_str();
    }

    DWORD BarStyle() const { return barStyle_; }
    void SetBarStyle(DWORD style) { barStyle_ = style; }

   private:
    Window *owner_ = nullptr;
    int buttonCount_ = 0;
    DWORD barStyle_ = 0;
    std::list<WideString> labels_;
};

// Opens the owner's popup for a drop-down button of its menu bar, above the
// button, after the owner has updated it (WM_INITMENUPOPUP); the chosen
// command reaches the owner as WM_COMMAND. False when the owner has no such
// popup.
bool ShowMenuBarPopup(Window &owner, const NMTOOLBARW &button);
